#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/result.h"
#include "base/status.h"
#include "cad/database.h"
#include "host/ac_db_object_id.h"

// Builds a selection of a drawing's entities from clauses, one per answer:
//   all                      every entity
//   layer NAME...            entities on any of these layers (case-insensitive;
//                            names separated by blanks or commas; a name with
//                            blanks goes in double quotes; one that code page
//                            936 cannot hold is compared as the drawing has it)
//   window x1,y1 x2,y2       entities entirely inside the box (W)
//   crossing x1,y1 x2,y2     entities inside the box or crossing its edges (C)
//   handle H...              the entities with these hexadecimal DXF handles
//   last                     the drawing's last entity (L)
//   previous                 the entities of the previous selection (P)
//   remove CLAUSE            takes the entities CLAUSE matches out again
//   remove                   from now on every clause takes out (R)
//   add                      from now on every clause adds again (A)
//   undo                     takes back the last clause that changed anything (U)
// Keywords are case-insensitive, full-width letters and digits are taken as
// ASCII (layer names are compared as typed). Each clause adds the entities it
// matches that are not selected yet (or, removing, takes them out): clause by
// clause, in drawing order within one.
// Entities of unknown geometry (generic entities) are only found by all,
// layer and handle. Polyline bulges are ignored: their segments count as
// straight.
namespace cad {

class SelectionBuilder {
 public:
  // `database` is not owned and must outlive the builder.
  explicit SelectionBuilder(const Database& database) : database_(database) {}
  // The entities "previous" selects (not owned; must outlive the builder).
  void setPrevious(const std::vector<AcDbObjectId>* previous) { previous_ = previous; }
  // True after "remove" alone, until "add".
  bool removing() const { return removing_; }

  // Applies one clause (UTF-8). Failed when the clause is malformed or names
  // an unknown handle, saying why (UTF-8, naming the clause); nothing was
  // changed then.
  base::Status apply(std::string_view clause);

  // The selection so far, in selection order.
  const std::vector<AcDbObjectId>& ids() const { return ids_; }
  // Entities the last successful clause matched (including those already
  // selected before it); for undo, none.
  std::size_t lastMatched() const { return lastMatched_.size(); }
  const std::vector<AcDbObjectId>& lastMatchedIds() const { return lastMatched_; }
  // What the last successful clause did: added, removed or undid.
  enum class Change { kAdded, kRemoved, kUndone, kModeChanged };
  Change lastChange() const { return lastChange_; }
  // Something worth telling about the last successful clause (UTF-8, one
  // line, no line end), e.g. that a layer it names is not in the drawing;
  // empty when there is nothing.
  const std::string& lastNote() const { return lastNote_; }

 private:
  using Ids = std::vector<AcDbObjectId>;
  using Words = std::vector<std::string>;

  // The entities `clause` matches, in drawing order, or why it is malformed.
  // Sets lastNote_.
  base::Result<Ids> match(std::string_view clause);
  // The steps of match() for each keyword; `words` is the whole clause split
  // into words (the keyword first), `shown` the clause as typed.
  Ids matchAll() const;
  base::Result<Ids> matchLayers(const Words& words, const std::string& shown);
  base::Result<Ids> matchBox(const Words& words, const std::string& shown) const;
  base::Result<Ids> matchHandles(const Words& words, const std::string& shown) const;
  void add(const std::vector<AcDbObjectId>& matched);
  void remove(const std::vector<AcDbObjectId>& matched);
  std::string layerList() const;
  // A note for layer names not found: the drawing's layers, and the quoted
  // form when neighbouring words make a layer name with blanks.
  std::string missingLayersNote(const Words& names, const std::vector<bool>& found) const;
  base::Status setMode(bool removing);

  const Database& database_;
  std::vector<AcDbObjectId> ids_;
  std::unordered_set<std::uint64_t> selected_;
  std::vector<AcDbObjectId> lastMatched_;
  Change lastChange_ = Change::kAdded;
  bool removing_ = false;
  const std::vector<AcDbObjectId>* previous_ = nullptr;
  std::string lastNote_;
  // The selection before each clause that changed it, for undo.
  std::vector<std::vector<AcDbObjectId>> history_;
};

// True when the UTF-8 layer names `a` and `b` are equal ignoring the case of
// ASCII letters.
bool utf8LayerNamesEqual(std::string_view a, std::string_view b);

}  // namespace cad
