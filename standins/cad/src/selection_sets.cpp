#include "cad/selection_sets.h"

#include <optional>
#include <string>
#include <utility>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "cad/selection_builder.h"
#include "cad/typed_forms.h"
#include "host.h"
#include "host/ads.h"
#include "text/trim.h"

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

// How many of `ids` are lines, arcs and other entities.
struct KindCounts {
  std::size_t lines = 0, arcs = 0, others = 0;
};
KindCounts countByKind(const std::vector<AcDbObjectId>& ids) {
  KindCounts counts;
  for (AcDbObjectId id : ids) {
    const AcDbEntity* entity = cad::currentDatabase().find(id);
    const std::string_view name = entity != nullptr ? entity->isA()->name() : "";
    counts.lines += name == "AcDbLine" ? 1 : 0;
    counts.arcs += name == "AcDbArc" ? 1 : 0;
  }
  counts.others = ids.size() - counts.lines - counts.arcs;
  return counts;
}

// "17 LINE, 2 ARC, 39 other": the entities of `ids` by kind.
std::string byKind(const std::vector<AcDbObjectId>& ids) {
  const KindCounts counts = countByKind(ids);
  return std::to_string(counts.lines) + " LINE, " + std::to_string(counts.arcs) + " ARC, " +
         std::to_string(counts.others) + " other";
}

// "2 lines, 1 arc, 3 others": the selection so far, for a front end.
std::string selectionSummary(const std::vector<AcDbObjectId>& ids) {
  const KindCounts counts = countByKind(ids);
  const auto count = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  return count(counts.lines, "line", "lines") + ", " + count(counts.arcs, "arc", "arcs") + ", " +
         count(counts.others, "other", "others");
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
    case cad::SelectionBuilder::Change::kModeChanged:
      cad::commandLine().printUtf8(builder.lastNote() + "\n");
      return;
  }
  if (builder.lastMatched() > 0) report += "  " + byKind(builder.lastMatchedIds()) + "\n";
  if (!builder.lastNote().empty()) report += "  " + builder.lastNote() + "\n";
  cad::commandLine().printUtf8(report);
}

const char kSelectionHelp[] =
    "Select objects takes one option a line (Space or Enter ends it):\n"
    "  W / window x1,y1 x2,y2     entities entirely inside the box\n"
    "  C / crossing x1,y1 x2,y2   entities inside or crossing the box\n"
    "                             (W or C alone asks for the two corners)\n"
    "  ALL                        every entity\n"
    "  L / last                   the drawing's last entity\n"
    "  P / previous               the previous selection\n"
    "  layer A,B,\"Site Layout\"    entities on these layers (names with blanks in quotes)\n"
    "  handle H...                entities with these hexadecimal handles\n"
    "  R / remove                 from now on take entities out; remove CLAUSE once\n"
    "  A / add                    from now on add again\n"
    "  U / undo                   take back the last option\n"
    "  Enter alone                ends the selection; Esc cancels it\n";

// A clause a person typed as its keyword alone, made whole by asking for what
// it needs; the clause as it was when it needs nothing more, or null when a
// follow-up prompt was cancelled.
std::optional<std::string> completeClause(const std::string& typed) {
  const std::string trimmed(text::trimBlanks(cad::withAsciiForms(typed)));
  std::string keyword = trimmed;
  for (char& c : keyword)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  cad::InputSource& input = cad::input();
  if (keyword == "w" || keyword == "window" || keyword == "c" || keyword == "crossing") {
    std::string clause = keyword.size() == 1 ? (keyword == "w" ? "window" : "crossing") : keyword;
    for (const char* prompt : {"First corner: ", "Opposite corner: "}) {
      for (;;) {
        cad::commandLine().printUtf8(prompt);
        input.setSpaceEndsAnswer(true);
        const cad::Answer answer = input.next();
        if (!answer.isLine() || cad::isBlankLine(answer.text)) return std::nullopt;
        if (cad::isHelpAnswer(answer.text)) {
          cad::commandLine().printUtf8("A corner of the box: x,y (Enter or Esc: no box).\n");
          continue;
        }
        clause += " " + std::string(text::trimBlanks(answer.text));
        break;
      }
    }
    return clause;
  }
  if (keyword == "layer" || keyword == "handle") {
    cad::commandLine().printUtf8(keyword == "layer"
                                     ? "Layer names (commas between; \"quotes\" around blanks): "
                                     : "Hexadecimal handles: ");
    const cad::Answer answer = input.next();
    if (!answer.isLine() || cad::isBlankLine(answer.text)) return std::nullopt;
    return keyword + " " + answer.text;
  }
  return typed;
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
  const std::vector<AcDbObjectId> previous = cad::selectionSets().lastSelection();
  builder.setPrevious(&previous);
  const bool person = cad::input().interactive();
  if (person)
    cad::commandLine().printUtf8(
        "  W window, C crossing, ALL, L last, P previous, layer A,B, R remove, A add,\n"
        "  U undo; ? says more. Enter alone ends.\n");
  for (;;) {
    const char* prompt = builder.removing() ? "Remove objects: " : "Select objects: ";
    cad::commandLine().printUtf8(prompt);
    cad::publishAsking(cad::Asking{cad::AskKind::kObjects, prompt, std::nullopt});
    cad::input().setSpaceEndsAnswer(true);
    cad::Answer answer = cad::input().next();
    if (!answer.isLine()) return RTCAN;
    if (cad::isBlankLine(answer.text)) break;
    if (cad::isHelpAnswer(answer.text)) {
      cad::commandLine().printUtf8(cad::kSelectionHelp);
      continue;
    }
    // A person may type an option alone and be asked for the rest.
    if (person) {
      const std::optional<std::string> clause = cad::completeClause(answer.text);
      if (!clause) continue;
      answer.text = *clause;
    }
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
