#include "cad/selection_builder.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "answer_text.h"
#include "arc_extremes.h"
#include "cad/typed_forms.h"
#include "dxf/group_reader.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "text/code_page.h"
#include "text/cp936.h"

namespace cad {
namespace {

struct Box {
  double minX, minY, maxX, maxY;
  bool contains(double x, double y) const {
    return x >= minX && x <= maxX && y >= minY && y <= maxY;
  }
  bool contains(const AcGePoint3d& p) const { return contains(p.x, p.y); }
};

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The keyword a typed word stands for, in lower case: the one-letter options
// stand for their long names; full-width letters count as ASCII.
std::string keywordOf(std::string_view word) {
  std::string keyword = withAsciiForms(word);
  for (char& c : keyword) c = lower(c);
  constexpr std::pair<std::string_view, std::string_view> kLetters[] = {
      {"w", "window"}, {"c", "crossing"}, {"l", "last"}, {"p", "previous"},
      {"r", "remove"}, {"a", "add"},      {"u", "undo"},
  };
  for (const auto& [letter, name] : kLetters)
    if (keyword == letter) return std::string(name);
  return keyword;
}

// Layer names: separated by blanks or commas; "double quoted" names may hold
// both. Null when a quote is not closed.
std::optional<std::vector<std::string>> splitNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isBlank(text[i]) || text[i] == ',') {
      ++i;
      continue;
    }
    if (text[i] == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      names.emplace_back(text.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !isBlank(text[end]) && text[end] != ',') ++end;
    names.emplace_back(text.substr(i, end - i));
    i = end;
  }
  return names;
}

// Splits on blanks; "double quoted" words may hold blanks. Null when a quote
// is not closed.
std::optional<std::vector<std::string>> splitWords(std::string_view text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (isBlank(text[i])) {
      ++i;
      continue;
    }
    if (text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      words.emplace_back(text.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !isBlank(text[end])) ++end;
    words.emplace_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

// The drawing reader's strict number syntax, as for every answer.
std::optional<double> parseNumber(std::string_view text) {
  if (text.empty()) return std::nullopt;
  return dxf::parseReal(text);
}

// "x,y" (a z is allowed and ignored).
std::optional<AcGePoint2d> parseCorner(std::string_view typed) {
  const std::string ascii = withAsciiForms(typed);
  const std::string_view text = ascii;
  std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  std::string_view rest = text.substr(comma + 1);
  std::size_t second = rest.find(',');
  std::optional<double> x = parseNumber(text.substr(0, comma));
  std::optional<double> y = parseNumber(rest.substr(0, second));
  if (!x || !y) return std::nullopt;
  if (second != std::string_view::npos && !parseNumber(rest.substr(second + 1)))
    return std::nullopt;
  return AcGePoint2d(*x, *y);
}

std::optional<unsigned long long> parseHandleWord(std::string_view typed) {
  const std::string ascii = withAsciiForms(typed);
  const std::string_view text = ascii;
  if (text.empty() || text.size() > 16) return std::nullopt;
  unsigned long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Liang-Barsky: does the segment from a to b touch the box?
bool segmentTouchesBox(const AcGePoint3d& a, const AcGePoint3d& b, const Box& box) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - box.minX, box.maxX - a.x, a.y - box.minY, box.maxY - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  return true;
}

bool polylineTouchesBox(const std::vector<AcGePoint3d>& vertices, bool closed, const Box& box) {
  if (vertices.empty()) return false;
  if (vertices.size() == 1) return box.contains(vertices[0]);
  for (std::size_t i = 0; i + 1 < vertices.size(); ++i)
    if (segmentTouchesBox(vertices[i], vertices[i + 1], box)) return true;
  return closed && segmentTouchesBox(vertices.back(), vertices.front(), box);
}

bool allInside(const std::vector<AcGePoint3d>& vertices, const Box& box) {
  return !vertices.empty() && std::all_of(vertices.begin(), vertices.end(),
                                          [&](const AcGePoint3d& p) { return box.contains(p); });
}

bool curveTouchesBox(const AcDbArc& arc, const Box& box) {
  if (box.contains(pointAt(arc.center(), arc.radius(), arc.startAngle()))) return true;
  const AcGePoint3d corners[4] = {{box.minX, box.minY, 0},
                                  {box.maxX, box.minY, 0},
                                  {box.maxX, box.maxY, 0},
                                  {box.minX, box.maxY, 0}};
  AcGePoint3dArray points;
  for (int i = 0; i < 4; ++i) {
    AcDbLine edge(corners[i], corners[(i + 1) % 4]);
    if (arc.intersectWith(&edge, AcDb::kOnBothOperands, points) == Acad::eOk && !points.isEmpty())
      return true;
  }
  return false;
}

// The entity as a T when its run-time class derives from T's, else null.
template <class T>
const T* as(const AcDbEntity& entity) {
  return entity.isKindOf(T::desc()) ? static_cast<const T*>(&entity) : nullptr;
}

bool insideWindow(const AcDbEntity& entity, const Box& box) {
  if (auto line = as<AcDbLine>(entity))
    return box.contains(line->startPoint()) && box.contains(line->endPoint());
  if (auto arc = as<AcDbArc>(entity)) return allInside(arcExtremes(*arc), box);
  if (auto circle = as<AcDbCircle>(entity)) {
    const AcGePoint3d& c = circle->centre;
    return box.contains(c.x - circle->radius, c.y - circle->radius) &&
           box.contains(c.x + circle->radius, c.y + circle->radius);
  }
  if (auto polyline = as<AcDbPolyline>(entity)) return allInside(polyline->vertices, box);
  if (auto polyline = as<AcDb2dPolyline>(entity)) return allInside(polyline->vertices, box);
  if (auto text = as<AcDbText>(entity)) return box.contains(text->position);
  if (auto text = as<AcDbMText>(entity)) return box.contains(text->location);
  if (auto insert = as<AcDbBlockReference>(entity)) return box.contains(insert->position);
  if (auto point = as<AcDbPoint>(entity)) return box.contains(point->position);
  return false;
}

bool touchesBox(const AcDbEntity& entity, const Box& box) {
  if (auto line = as<AcDbLine>(entity))
    return segmentTouchesBox(line->startPoint(), line->endPoint(), box);
  if (auto arc = as<AcDbArc>(entity)) return curveTouchesBox(*arc, box);
  if (auto circle = as<AcDbCircle>(entity))
    return curveTouchesBox(AcDbArc(circle->centre, circle->radius, 0.0, 0.0), box);
  if (auto polyline = as<AcDbPolyline>(entity))
    return polylineTouchesBox(polyline->vertices, polyline->closed, box);
  if (auto polyline = as<AcDb2dPolyline>(entity))
    return polylineTouchesBox(polyline->vertices, polyline->closed, box);
  return insideWindow(entity, box);  // texts, inserts and points: their one point
}

}  // namespace

bool utf8LayerNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Bytes of characters past ASCII are all 0x80 or more: lower() leaves them.
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

base::Status SelectionBuilder::apply(std::string_view typed) {
  // Commas and blanks separate whatever width they are typed in; names keep
  // their other characters as typed.
  std::string normalized = detail::withAsciiCommas(typed);
  for (std::size_t at; (at = normalized.find("\xE3\x80\x80")) != std::string::npos;)
    normalized.replace(at, 3, " ");
  const std::string_view clause = normalized;
  std::string_view rest = clause.substr(std::min(clause.size(), clause.find_first_not_of(" \t")));
  const std::string_view keywordWord = rest.substr(0, rest.find_first_of(" \t"));
  const std::string keyword = keywordOf(keywordWord);
  const std::string_view inner = rest.substr(keywordWord.size());
  const bool alone = inner.find_first_not_of(" \t\r") == std::string_view::npos;
  if (keyword == "undo") {
    if (!alone)
      return base::Status::error("selection clause \"" + std::string(clause) +
                                 "\": undo takes no arguments");
    if (history_.empty())
      return base::Status::error("nothing to undo: no clause has changed the selection yet");
    ids_ = std::move(history_.back());
    history_.pop_back();
    selected_.clear();
    for (AcDbObjectId id : ids_) selected_.insert(id.value());
    lastMatched_.clear();
    lastChange_ = Change::kUndone;
    lastNote_.clear();
    return base::Status::ok();
  }
  if (keyword == "remove" || keyword == "add") {
    if (alone) return setMode(keyword == "remove");
    base::Result<Ids> matched = match(inner);
    if (!matched.isOk()) return matched.status();
    keyword == "remove" ? remove(*matched) : add(*matched);
    return base::Status::ok();
  }
  base::Result<Ids> matched = match(clause);
  if (!matched.isOk()) return matched.status();
  removing_ ? remove(*matched) : add(*matched);
  return base::Status::ok();
}

base::Status SelectionBuilder::setMode(bool removing) {
  removing_ = removing;
  lastMatched_.clear();
  lastChange_ = Change::kModeChanged;
  lastNote_ = removing ? "Removing: each clause now takes entities out (A adds again)"
                       : "Adding: each clause now adds entities (R removes)";
  return base::Status::ok();
}

std::string SelectionBuilder::layerList() const {
  // Code page 936 name, name as shown.
  std::vector<std::pair<std::string, std::string>> layers;
  for (const auto& entity : database_.entities())
    if (std::none_of(layers.begin(), layers.end(), [&](const auto& known) {
          return text::cp936::equalIgnoringAsciiCase(known.first, entity->layer());
        }))
      layers.emplace_back(entity->layer(), database_.shownLayerName(*entity));
  std::sort(layers.begin(), layers.end());
  std::string list;
  for (const auto& layer : layers) list += (list.empty() ? "" : ", ") + layer.second;
  return list.empty() ? "none" : list;
}

base::Result<SelectionBuilder::Ids> SelectionBuilder::match(std::string_view clause) {
  lastNote_.clear();
  std::optional<Words> parsed = splitWords(clause);
  const std::string shown(clause);
  if (!parsed)
    return base::Status::error("selection clause \"" + shown + "\" has an unclosed quote");
  const Words& words = *parsed;
  if (words.empty()) return base::Status::error("the selection clause is empty");
  const std::string keyword = keywordOf(words[0]);
  if (keyword == "all" || keyword == "last" || keyword == "previous") {
    if (words.size() != 1)
      return base::Status::error("selection clause \"" + shown + "\": " + keyword +
                                 " takes no arguments");
    if (keyword == "all") return matchAll();
    Ids matched;
    if (keyword == "last" && !database_.entities().empty())
      matched.push_back(database_.entities().back()->objectId());
    if (keyword == "previous" && previous_ != nullptr) matched = *previous_;
    if (matched.empty())
      lastNote_ = keyword == "last" ? "the drawing is empty" : "there is no previous selection";
    return matched;
  }
  if (keyword == "layer") {
    const std::size_t start = clause.find_first_not_of(" \t");
    const std::string_view names = clause.substr(start + words[0].size());
    std::optional<Words> split = splitNames(names);
    if (!split)
      return base::Status::error("selection clause \"" + shown + "\" has an unclosed quote");
    split->insert(split->begin(), words[0]);
    return matchLayers(*split, shown);
  }
  if (keyword == "window" || keyword == "crossing") return matchBox(words, shown);
  if (keyword == "handle") return matchHandles(words, shown);
  return base::Status::error("unknown selection clause \"" + shown +
                             "\" (use W, C, L, P, R, A, U, ALL, layer or handle; ? says more)");
}

SelectionBuilder::Ids SelectionBuilder::matchAll() const {
  Ids matched;
  for (const auto& entity : database_.entities()) matched.push_back(entity->objectId());
  return matched;
}

base::Result<SelectionBuilder::Ids> SelectionBuilder::matchLayers(const Words& words,
                                                                  const std::string& shown) {
  if (words.size() < 2)
    return base::Status::error("selection clause \"" + shown + "\": layer needs a layer name");
  // A layer whose name code page 936 cannot hold is compared in UTF-8, as
  // the drawing has it: its code page 936 form is lossy.
  std::vector<std::optional<std::string>> names;
  for (std::size_t i = 1; i < words.size(); ++i) names.push_back(text::utf8ToCp936(words[i]));
  std::vector<bool> layerFound(names.size(), false);
  Ids matched;
  for (const auto& entity : database_.entities()) {
    const std::string* exact = database_.exactLayerName(entity->objectId());
    for (std::size_t k = 0; k < names.size(); ++k) {
      const bool equal = exact != nullptr ? utf8LayerNamesEqual(*exact, words[k + 1])
                                          : names[k] && text::cp936::equalIgnoringAsciiCase(
                                                            entity->layer(), *names[k]);
      if (equal) {
        matched.push_back(entity->objectId());
        layerFound[k] = true;
        break;
      }
    }
  }
  for (std::size_t k = 0; k < names.size(); ++k)
    if (!names[k] && !layerFound[k])
      return base::Status::error("selection clause \"" + shown + "\": layer name \"" +
                                 words[k + 1] +
                                 "\" cannot be written in code page 936 and no layer has it");
  const Words typedNames(words.begin() + 1, words.end());
  lastNote_ = missingLayersNote(typedNames, layerFound);
  return matched;
}

std::string SelectionBuilder::missingLayersNote(const Words& names,
                                                const std::vector<bool>& found) const {
  std::string missing;
  for (std::size_t k = 0; k < names.size(); ++k)
    if (!found[k]) missing += (missing.empty() ? "\"" : ", \"") + names[k] + "\"";
  if (missing.empty()) return {};
  std::string note = "no entity is on layer " + missing + "; the drawing's layers: " + layerList();
  // Neighbouring names that are no layer but, joined by a blank, are one.
  std::vector<std::string> spaced;
  const std::string* lastLayer = nullptr;
  for (const auto& entity : database_.entities()) {
    if (lastLayer != nullptr && entity->layer() == *lastLayer) continue;
    lastLayer = &entity->layer();
    std::string shown = database_.shownLayerName(*entity);
    if (shown.find(' ') != std::string::npos &&
        std::find(spaced.begin(), spaced.end(), shown) == spaced.end())
      spaced.push_back(std::move(shown));
  }
  for (std::size_t first = 0; first < names.size(); ++first) {
    std::string joined = names[first];
    for (std::size_t last = first + 1; last < names.size() && !found[first]; ++last) {
      joined += " " + names[last];
      for (const std::string& layer : spaced)
        if (utf8LayerNamesEqual(layer, joined))
          return note + "; a name with blanks goes in double quotes: layer \"" + layer + "\"";
    }
  }
  return note;
}

base::Result<SelectionBuilder::Ids> SelectionBuilder::matchBox(const Words& words,
                                                               const std::string& shown) const {
  const bool window = keywordOf(words[0]) == "window";
  std::optional<AcGePoint2d> a = words.size() == 3 ? parseCorner(words[1]) : std::nullopt;
  std::optional<AcGePoint2d> b = words.size() == 3 ? parseCorner(words[2]) : std::nullopt;
  if (!a || !b)
    return base::Status::error(
        "selection clause \"" + shown + "\": " + (window ? "window" : "crossing") +
        " needs two corners, as in " + (window ? "window" : "crossing") + " 0,0 100,50");
  Box box{std::min(a->x, b->x), std::min(a->y, b->y), std::max(a->x, b->x), std::max(a->y, b->y)};
  Ids matched;
  for (const auto& entity : database_.entities())
    if (window ? insideWindow(*entity, box) : touchesBox(*entity, box))
      matched.push_back(entity->objectId());
  return matched;
}

base::Result<SelectionBuilder::Ids> SelectionBuilder::matchHandles(const Words& words,
                                                                   const std::string& shown) const {
  if (words.size() < 2)
    return base::Status::error("selection clause \"" + shown + "\": handle needs a handle");
  Ids matched;
  for (std::size_t i = 1; i < words.size(); ++i) {
    std::optional<unsigned long long> handle = parseHandleWord(words[i]);
    if (!handle)
      return base::Status::error("selection clause \"" + shown + "\": \"" + words[i] +
                                 "\" is not a hexadecimal handle");
    AcDbEntity* entity = *handle == 0 ? nullptr : database_.findByHandle(*handle);
    if (entity == nullptr)
      return base::Status::error("selection clause \"" + shown + "\": no entity has handle " +
                                 words[i]);
    matched.push_back(entity->objectId());
  }
  return matched;
}

void SelectionBuilder::add(const std::vector<AcDbObjectId>& matched) {
  lastMatched_ = matched;
  lastChange_ = Change::kAdded;
  history_.push_back(ids_);
  for (AcDbObjectId id : matched)
    if (selected_.insert(id.value()).second) ids_.push_back(id);
}

void SelectionBuilder::remove(const std::vector<AcDbObjectId>& matched) {
  lastMatched_ = matched;
  lastChange_ = Change::kRemoved;
  history_.push_back(ids_);
  for (AcDbObjectId id : matched) selected_.erase(id.value());
  std::erase_if(ids_, [&](AcDbObjectId id) { return !selected_.contains(id.value()); });
}

}  // namespace cad
