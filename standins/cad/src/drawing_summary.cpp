#include "cad/drawing_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <vector>

#include "arc_extremes.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "text/code_page.h"

namespace cad {
namespace {

struct Extents {
  double minX = std::numeric_limits<double>::infinity();
  double minY = std::numeric_limits<double>::infinity();
  double maxX = -std::numeric_limits<double>::infinity();
  double maxY = -std::numeric_limits<double>::infinity();

  void add(double x, double y) {
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
  void add(const AcGePoint3d& p) { add(p.x, p.y); }
  bool empty() const { return minX > maxX; }
};

template <class T>
const T* as(const AcDbEntity& entity) {
  return entity.isKindOf(T::desc()) ? static_cast<const T*>(&entity) : nullptr;
}

void addEntity(const AcDbEntity& entity, Extents& extents) {
  if (auto line = as<AcDbLine>(entity)) {
    extents.add(line->startPoint());
    extents.add(line->endPoint());
  } else if (auto arc = as<AcDbArc>(entity)) {
    for (const AcGePoint3d& p : arcExtremes(*arc)) extents.add(p);
  } else if (auto circle = as<AcDbCircle>(entity)) {
    extents.add(circle->centre.x - circle->radius, circle->centre.y - circle->radius);
    extents.add(circle->centre.x + circle->radius, circle->centre.y + circle->radius);
  } else if (auto polyline = as<AcDbPolyline>(entity)) {
    for (const AcGePoint3d& p : polyline->vertices) extents.add(p);
  } else if (auto polyline2d = as<AcDb2dPolyline>(entity)) {
    for (const AcGePoint3d& p : polyline2d->vertices) extents.add(p);
  } else if (auto text = as<AcDbText>(entity)) {
    extents.add(text->position);
  } else if (auto mtext = as<AcDbMText>(entity)) {
    extents.add(mtext->location);
  } else if (auto insert = as<AcDbBlockReference>(entity)) {
    extents.add(insert->position);
  } else if (auto point = as<AcDbPoint>(entity)) {
    extents.add(point->position);
  }
}

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

}  // namespace

std::string insUnitsName(int code) {
  static const std::map<int, const char*> kNames = {
      {0, "unitless"},    {1, "inches"},      {2, "feet"},       {3, "miles"},
      {4, "millimetres"}, {5, "centimetres"}, {6, "metres"},     {7, "kilometres"},
      {8, "microinches"}, {9, "mils"},        {10, "yards"},     {11, "angstroms"},
      {12, "nanometres"}, {13, "microns"},    {14, "decimetres"}};
  const auto found = kNames.find(code);
  return found != kNames.end() ? found->second : "code " + std::to_string(code);
}

std::string drawingSummary(const Database& database, std::string_view name) {
  const auto& entities = database.entities();
  std::string text = "Drawing " + std::string(name) + ": ";
  if (!database.source().empty()) text += database.source() + "; ";
  text += std::to_string(entities.size()) + " entities; declared unit ";
  const std::optional<int>& units = database.declaredUnits();
  text += units ? insUnitsName(*units) + " ($INSUNITS " + std::to_string(*units) + ")"
                : std::string("not given ($INSUNITS absent)");
  text += "\n";
  // Only a drawing read from a file has a code page that was chosen.
  if (const DrawingCodePage& codePage = database.codePage(); !codePage.reason.empty())
    text += "  code page " + codePage.name + ": " + codePage.reason + "\n";

  Extents extents;
  // Layer (code page 936) -> lines, arcs; in first-seen order, with the name
  // shown for each.
  std::vector<std::string> layers;
  std::vector<std::string> shownLayers;
  std::map<std::string, std::pair<int, int>> counts;
  const AcRxClass* const lineClass = AcDbLine::desc();
  const AcRxClass* const arcClass = AcDbArc::desc();
  // Neighbouring entities mostly share a layer: its counts are kept at hand.
  const std::string* lastLayer = nullptr;
  std::pair<int, int>* lastCounts = nullptr;
  for (const auto& entity : entities) {
    addEntity(*entity, extents);
    const bool line = entity->isA() == lineClass;
    const bool arc = entity->isA() == arcClass;
    if (!line && !arc) continue;
    if (lastLayer == nullptr || entity->layer() != *lastLayer) {
      auto [it, added] = counts.try_emplace(entity->layer(), 0, 0);
      if (added) {
        layers.push_back(entity->layer());
        shownLayers.push_back(database.shownLayerName(*entity));
      }
      lastLayer = &it->first;
      lastCounts = &it->second;
    }
    (line ? lastCounts->first : lastCounts->second) += 1;
  }
  if (!extents.empty())
    text += "  extents: " + number(extents.minX) + "," + number(extents.minY) + " to " +
            number(extents.maxX) + "," + number(extents.maxY) + " (width " +
            number(extents.maxX - extents.minX) + ", height " +
            number(extents.maxY - extents.minY) + ")\n";
  if (layers.empty()) {
    text += "  no LINE or ARC on any layer\n";
    return text;
  }
  text += "  layers with LINE or ARC:\n";
  constexpr std::size_t kShown = 12;
  for (std::size_t i = 0; i < layers.size() && i < kShown; ++i) {
    const auto& [lines, arcs] = counts[layers[i]];
    std::string kinds;
    if (lines > 0) kinds = std::to_string(lines) + " LINE";
    if (arcs > 0) kinds += (kinds.empty() ? "" : ", ") + std::to_string(arcs) + " ARC";
    text += "    " + shownLayers[i] + ": " + kinds + "\n";
  }
  if (layers.size() > kShown)
    text += "    and " + std::to_string(layers.size() - kShown) + " more (\"drawing\" lists all)\n";
  return text;
}

}  // namespace cad
