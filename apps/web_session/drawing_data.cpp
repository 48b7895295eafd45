#include "web_session/drawing_data.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <numbers>
#include <optional>
#include <string_view>

#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

namespace web {
namespace {
constexpr double kTurn = 2 * std::numbers::pi;
}  // namespace

bool angleInSpan(double angle, double start, double end) {
  const double span = std::fmod(std::fmod(end - start, kTurn) + kTurn, kTurn);
  const double along = std::fmod(std::fmod(angle - start, kTurn) + kTurn, kTurn);
  return along <= span;
}

namespace {

constexpr int kCircleSteps = 48;

class Extents {
 public:
  void add(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    box_.minX = std::min(box_.minX, x);
    box_.minY = std::min(box_.minY, y);
    box_.maxX = std::max(box_.maxX, x);
    box_.maxY = std::max(box_.maxY, y);
    any_ = true;
  }
  Box box() const { return any_ ? box_ : Box{}; }

 private:
  Box box_{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
           std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
  bool any_ = false;
};

void addArcExtents(const ArcGeometry& arc, Extents* extents) {
  const Segment ends = arcEnds(arc);
  extents->add(ends.x1, ends.y1);
  extents->add(ends.x2, ends.y2);
  for (int quarter = 0; quarter < 4; ++quarter) {
    const double angle = quarter * std::numbers::pi / 2;
    if (angleInSpan(angle, arc.start, arc.end))
      extents->add(arc.cx + arc.r * std::cos(angle), arc.cy + arc.r * std::sin(angle));
  }
}

// The faint segments an entity that is neither line nor arc is drawn with.
std::vector<Segment> faintSegments(const AcDbEntity& entity) {
  std::vector<Segment> segments;
  const auto polyline = [&](const std::vector<AcGePoint3d>& vertices, bool closed) {
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i)
      segments.push_back({vertices[i].x, vertices[i].y, vertices[i + 1].x, vertices[i + 1].y});
    if (closed && vertices.size() > 2)
      segments.push_back(
          {vertices.back().x, vertices.back().y, vertices.front().x, vertices.front().y});
  };
  if (const auto* circle = dynamic_cast<const AcDbCircle*>(&entity)) {
    for (int i = 0; i < kCircleSteps; ++i) {
      const double a = kTurn * i / kCircleSteps, b = kTurn * (i + 1) / kCircleSteps;
      segments.push_back({circle->centre.x + circle->radius * std::cos(a),
                          circle->centre.y + circle->radius * std::sin(a),
                          circle->centre.x + circle->radius * std::cos(b),
                          circle->centre.y + circle->radius * std::sin(b)});
    }
  } else if (const auto* light = dynamic_cast<const AcDbPolyline*>(&entity)) {
    polyline(light->vertices, light->closed);
  } else if (const auto* heavy = dynamic_cast<const AcDb2dPolyline*>(&entity)) {
    polyline(heavy->vertices, heavy->closed);
  }
  return segments;
}

// Entities the database keeps only as a position: a mark there.
std::optional<AcGePoint3d> positionOf(const AcDbEntity& entity) {
  if (const auto* text = dynamic_cast<const AcDbText*>(&entity)) return text->position;
  if (const auto* mtext = dynamic_cast<const AcDbMText*>(&entity)) return mtext->location;
  if (const auto* insert = dynamic_cast<const AcDbBlockReference*>(&entity))
    return insert->position;
  if (const auto* point = dynamic_cast<const AcDbPoint*>(&entity)) return point->position;
  return std::nullopt;
}

template <class T>
void put(std::string* out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  static_assert(std::endian::native == std::endian::little, "the wire format is little-endian");
  out->append(bytes, sizeof(T));
}

}  // namespace

DrawingData DrawingData::read(const cad::Database& database) {
  DrawingData data;
  std::map<std::string, std::uint32_t> layerIndex;
  const auto layerOf = [&](const AcDbEntity& entity) {
    const std::string name = database.shownLayerName(entity);
    const auto [it, added] =
        layerIndex.emplace(name, static_cast<std::uint32_t>(data.layers.size()));
    if (added) {
      // The database keeps no layer table: layer 0 is white, the others
      // take the first six colours in turn.
      const int aci = name == "0" ? 7 : 1 + static_cast<int>((data.layers.size()) % 6);
      data.layers.push_back(LayerInfo{name, aci, 0, 0, 0});
    }
    return it->second;
  };
  Extents extents;
  std::vector<const AcDbEntity*> arcEntities;
  std::vector<unsigned long long> arcHandles;
  std::vector<std::uint64_t> arcIds;
  std::vector<std::pair<const AcDbEntity*, std::uint32_t>> marks;
  for (const cad::EntityPtr& pointer : database.entities()) {
    const AcDbEntity& entity = *pointer;
    const std::uint32_t layer = layerOf(entity);
    if (const auto* line = dynamic_cast<const AcDbLine*>(&entity)) {
      const AcGePoint3d a = line->startPoint(), b = line->endPoint();
      data.indexOfId.emplace(entity.objectId().value(),
                             static_cast<std::uint32_t>(data.lines.size()));
      data.lines.push_back({a.x, a.y, b.x, b.y});
      data.lineLayer.push_back(layer);
      data.entities.push_back(&entity);
      data.handles.push_back(entity.handle());
      extents.add(a.x, a.y);
      extents.add(b.x, b.y);
      ++data.layers[layer].lines;
    } else if (const auto* arc = dynamic_cast<const AcDbArc*>(&entity)) {
      const ArcGeometry geometry{arc->center().x, arc->center().y, arc->radius(), arc->startAngle(),
                                 arc->endAngle()};
      data.arcs.push_back(geometry);
      data.arcLayer.push_back(layer);
      arcEntities.push_back(&entity);
      arcHandles.push_back(entity.handle());
      arcIds.push_back(entity.objectId().value());
      addArcExtents(geometry, &extents);
      ++data.layers[layer].arcs;
    } else {
      ++data.layers[layer].others;
      std::vector<Segment> segments = faintSegments(entity);
      if (segments.empty() && positionOf(entity)) marks.emplace_back(&entity, layer);
      for (const Segment& s : segments) {
        data.others.push_back(s);
        data.otherLayer.push_back(layer);
        extents.add(s.x1, s.y1);
        extents.add(s.x2, s.y2);
      }
    }
  }
  const auto lineCount = static_cast<std::uint32_t>(data.lines.size());
  for (std::size_t i = 0; i < arcEntities.size(); ++i) {
    data.indexOfId.emplace(arcIds[i], lineCount + static_cast<std::uint32_t>(i));
    data.entities.push_back(arcEntities[i]);
    data.handles.push_back(arcHandles[i]);
  }
  for (const auto& [entity, layer] : marks) {
    const AcGePoint3d p = *positionOf(*entity);
    extents.add(p.x, p.y);
  }
  data.extents = extents.box();
  // A mark is a small cross, a five-hundredth of the drawing's size.
  const double size =
      std::max(data.extents.maxX - data.extents.minX, data.extents.maxY - data.extents.minY) / 500;
  for (const auto& [entity, layer] : marks) {
    const AcGePoint3d p = *positionOf(*entity);
    data.others.push_back({p.x - size, p.y, p.x + size, p.y});
    data.others.push_back({p.x, p.y - size, p.x, p.y + size});
    data.otherLayer.insert(data.otherLayer.end(), 2, layer);
  }
  return data;
}

std::string DrawingData::encode() const {
  std::string out;
  out.reserve(32 + lines.size() * 40 + arcs.size() * 48 + others.size() * 20);
  out.append("TVDR", 4);
  put<std::uint32_t>(&out, 1);
  put(&out, static_cast<std::uint32_t>(lines.size()));
  put(&out, static_cast<std::uint32_t>(arcs.size()));
  put(&out, static_cast<std::uint32_t>(others.size()));
  for (int i = 0; i < 3; ++i) put<std::uint32_t>(&out, 0);
  for (const Segment& s : lines)
    for (double v : {s.x1, s.y1, s.x2, s.y2}) put(&out, v);
  for (const ArcGeometry& a : arcs)
    for (double v : {a.cx, a.cy, a.r, a.start, a.end}) put(&out, v);
  for (const Segment& s : others)
    for (double v :
         {s.x1 - extents.minX, s.y1 - extents.minY, s.x2 - extents.minX, s.y2 - extents.minY})
      put(&out, static_cast<float>(v));
  for (const auto* perKind : {&lineLayer, &arcLayer, &otherLayer})
    for (std::uint32_t layer : *perKind) put(&out, layer);
  for (std::uint32_t i = 0; i < lines.size() + arcs.size(); ++i) put(&out, i);
  return out;
}

Segment arcEnds(const ArcGeometry& arc) {
  return {arc.cx + arc.r * std::cos(arc.start), arc.cy + arc.r * std::sin(arc.start),
          arc.cx + arc.r * std::cos(arc.end), arc.cy + arc.r * std::sin(arc.end)};
}

std::array<std::uint8_t, 3> aciColour(int index) {
  static constexpr std::array<std::array<std::uint8_t, 3>, 10> kFirst{{{255, 255, 255},
                                                                       {255, 0, 0},
                                                                       {255, 255, 0},
                                                                       {0, 255, 0},
                                                                       {0, 255, 255},
                                                                       {0, 0, 255},
                                                                       {255, 0, 255},
                                                                       {255, 255, 255},
                                                                       {128, 128, 128},
                                                                       {192, 192, 192}}};
  if (index >= 1 && index <= 9) return kFirst[static_cast<std::size_t>(index)];
  if (index >= 250 && index <= 255) {
    const auto grey = static_cast<std::uint8_t>(51 + (index - 250) * 40.8);
    return {grey, grey, grey};
  }
  if (index < 10 || index > 249) return kFirst[7];
  // 10..249: 24 hues 15 degrees apart; in each group of ten, five
  // brightnesses, full colour on even indexes and half-saturated on odd ones.
  const double hue = (index - 10) / 10 * 15.0;
  const int step = index % 10;
  static constexpr double kValue[] = {1.0, 0.8, 0.6, 0.5, 0.3};
  const double value = kValue[step / 2];
  const double saturation = step % 2 == 0 ? 1.0 : 0.5;
  const auto channel = [&](double n) {
    const double k = std::fmod(n + hue / 60.0, 6.0);
    const double c = value - value * saturation * std::max(0.0, std::min({k, 4.0 - k, 1.0}));
    return static_cast<std::uint8_t>(std::lround(c * 255));
  };
  return {channel(5), channel(3), channel(1)};
}

std::string unitAbbreviation(int insUnits) {
  switch (insUnits) {
    case 1:
      return "in";
    case 2:
      return "ft";
    case 4:
      return "mm";
    case 5:
      return "cm";
    case 6:
      return "m";
    case 7:
      return "km";
    default:
      return "";
  }
}

}  // namespace web
