#include "cad/selection_sets.h"

#include <string>
#include <utility>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/selection_builder.h"
#include "host.h"
#include "host/ads.h"

namespace cad {

long SelectionSets::add(std::vector<AcDbObjectId> ids) {
  const long key = ++lastKey_;
  last_ = ids;
  sets_.emplace(key, std::move(ids));
  return key;
}

const std::vector<AcDbObjectId>* SelectionSets::find(long key) const {
  auto it = sets_.find(key);
  return it == sets_.end() ? nullptr : &it->second;
}

bool SelectionSets::free(long key) {
  return sets_.erase(key) > 0;
}

SelectionSets& selectionSets() {
  return detail::host().selectionSets();
}

namespace {

bool isBlankLine(const std::string& text) {
  return text.find_first_not_of(" \t\r") == std::string::npos;
}

// "17 LINE, 2 ARC, 39 other": the entities of `ids` by kind.
std::string byKind(const std::vector<AcDbObjectId>& ids) {
  std::size_t lines = 0, arcs = 0;
  for (AcDbObjectId id : ids) {
    const AcDbEntity* entity = cad::currentDatabase().find(id);
    const std::string_view name = entity != nullptr ? entity->isA()->name() : "";
    lines += name == "AcDbLine" ? 1 : 0;
    arcs += name == "AcDbArc" ? 1 : 0;
  }
  return std::to_string(lines) + " LINE, " + std::to_string(arcs) + " ARC, " +
         std::to_string(ids.size() - lines - arcs) + " other";
}

// "2 lines, 1 arc, 3 others": the selection so far, for a front end.
std::string selectionSummary(const std::vector<AcDbObjectId>& ids) {
  std::size_t lines = 0, arcs = 0;
  for (AcDbObjectId id : ids) {
    const AcDbEntity* entity = cad::currentDatabase().find(id);
    const std::string_view name = entity != nullptr ? entity->isA()->name() : "";
    lines += name == "AcDbLine" ? 1 : 0;
    arcs += name == "AcDbArc" ? 1 : 0;
  }
  const std::size_t others = ids.size() - lines - arcs;
  const auto count = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  return count(lines, "line", "lines") + ", " + count(arcs, "arc", "arcs") + ", " +
         count(others, "other", "others");
}

void reportClause(const cad::SelectionBuilder& builder) {
  const std::string total = std::to_string(builder.ids().size()) + " total";
  const std::string matched = std::to_string(builder.lastMatched());
  std::string report;
  switch (builder.lastChange()) {
    case cad::SelectionBuilder::Change::kAdded:
      report = matched + " found, " + total + "\n";
      break;
    case cad::SelectionBuilder::Change::kRemoved:
      report = matched + " removed, " + total + "\n";
      break;
    case cad::SelectionBuilder::Change::kUndone:
      report = "Last clause undone, " + total + "\n";
      break;
  }
  if (builder.lastMatched() > 0) report += "  " + byKind(builder.lastMatchedIds()) + "\n";
  if (!builder.lastNote().empty()) report += "  " + builder.lastNote() + "\n";
  cad::commandLine().printUtf8(report);
}

}  // namespace
}  // namespace cad

// Reads selection clauses (see cad::SelectionBuilder) until an empty answer.
// A malformed clause is rejected: a terminal asks again, a script ends and the
// selection is cancelled. An empty selection is not a set: RTERROR.
int ads_ssget(const char* mode, const void* point1, const void* point2, const struct resbuf* filter,
              ads_name set) {
  if (mode != nullptr || point1 != nullptr || point2 != nullptr || filter != nullptr ||
      set == nullptr)
    return RTREJ;
  cad::SelectionBuilder builder(cad::currentDatabase());
  if (cad::askingObserved())
    cad::publishSelection(builder.ids(), cad::selectionSummary(builder.ids()));
  if (cad::input().interactive())
    cad::commandLine().printUtf8(
        "  One clause a line: all | layer NAME... | window x1,y1 x2,y2 |\n"
        "  crossing x1,y1 x2,y2 | handle H... | remove CLAUSE | undo. Enter alone ends.\n");
  for (;;) {
    cad::commandLine().printUtf8("Select objects: ");
    cad::publishAsking(cad::Asking{cad::AskKind::kObjects, "Select objects: ", std::nullopt});
    cad::Answer answer = cad::input().next();
    if (!answer.isLine()) return RTCAN;
    if (cad::isBlankLine(answer.text)) break;
    if (const base::Status applied = builder.apply(answer.text); !applied.isOk()) {
      cad::input().reject(answer, applied.message());
      continue;
    }
    cad::reportClause(builder);
    if (cad::askingObserved())
      cad::publishSelection(builder.ids(), cad::selectionSummary(builder.ids()));
  }
  if (builder.ids().empty()) {
    cad::commandLine().printUtf8("Nothing selected.\n");
    return RTERROR;
  }
  set[0] = cad::selectionSets().add(builder.ids());
  set[1] = 0;
  return RTNORM;
}

int ads_sslength(const ads_name set, long* length) {
  if (set == nullptr || length == nullptr) return RTERROR;
  const std::vector<AcDbObjectId>* ids = cad::selectionSets().find(set[0]);
  if (ids == nullptr) return RTERROR;
  *length = static_cast<long>(ids->size());
  return RTNORM;
}

int ads_ssname(const ads_name set, long index, ads_name entity) {
  if (set == nullptr || entity == nullptr) return RTERROR;
  const std::vector<AcDbObjectId>* ids = cad::selectionSets().find(set[0]);
  if (ids == nullptr || index < 0 || static_cast<std::size_t>(index) >= ids->size()) return RTERROR;
  entity[0] = static_cast<long>((*ids)[static_cast<std::size_t>(index)].value());
  entity[1] = 0;
  return RTNORM;
}

int ads_ssfree(const ads_name set) {
  if (set == nullptr || !cad::selectionSets().free(set[0])) return RTERROR;
  return RTNORM;
}
