#include "cad/drawing_summary.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <vector>

#include "cad/code_page.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"

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

// The arc's end points and the quadrant points its sweep passes.
void addArc(const AcDbArc& arc, Extents& extents) {
  constexpr double kTurn = 2 * std::numbers::pi;
  const AcGePoint3d c = arc.center();
  const double r = arc.radius();
  const auto at = [&](double angle) {
    extents.add(c.x + r * std::cos(angle), c.y + r * std::sin(angle));
  };
  at(arc.startAngle());
  at(arc.endAngle());
  double start = std::fmod(arc.startAngle(), kTurn);
  if (start < 0) start += kTurn;
  double sweep = std::fmod(arc.endAngle(), kTurn);
  if (sweep < 0) sweep += kTurn;
  sweep -= start;
  if (sweep <= 0) sweep += kTurn;
  for (int quarter = 0; quarter < 4; ++quarter) {
    const double angle = quarter * (std::numbers::pi / 2);
    if (std::fmod(angle - start + 2 * kTurn, kTurn) <= sweep) at(angle);
  }
}

void addEntity(const AcDbEntity& entity, Extents& extents) {
  if (auto line = as<AcDbLine>(entity)) {
    extents.add(line->startPoint());
    extents.add(line->endPoint());
  } else if (auto arc = as<AcDbArc>(entity)) {
    addArc(*arc, extents);
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
  std::string text = "Drawing " + std::string(name) + ": " + std::to_string(entities.size()) +
                     " entities; declared unit ";
  const std::optional<int>& units = database.declaredUnits();
  text += units ? insUnitsName(*units) + " ($INSUNITS " + std::to_string(*units) + ")"
                : std::string("not given ($INSUNITS absent)");
  text += "\n";

  Extents extents;
  // Layer (code page 936) -> lines, arcs; in first-seen order.
  std::vector<std::string> layers;
  std::map<std::string, std::pair<int, int>> counts;
  for (const auto& entity : entities) {
    addEntity(*entity, extents);
    const bool line = std::string_view(entity->isA()->name()) == "AcDbLine";
    const bool arc = std::string_view(entity->isA()->name()) == "AcDbArc";
    if (!line && !arc) continue;
    auto [it, added] = counts.try_emplace(entity->layer(), 0, 0);
    if (added) layers.push_back(entity->layer());
    (line ? it->second.first : it->second.second) += 1;
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
    text += "    " + cp936ToUtf8Lossy(layers[i]) + ": " + kinds + "\n";
  }
  if (layers.size() > kShown)
    text += "    and " + std::to_string(layers.size() - kShown) + " more (\"drawing\" lists all)\n";
  return text;
}

}  // namespace cad
