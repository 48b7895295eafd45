#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "cad/database.h"
#include "host/ac_db_object_id.h"

// Builds a selection of a drawing's entities from clauses, one per answer:
//   all                      every entity
//   layer NAME...            entities on any of these layers (case-insensitive;
//                            a name with blanks goes in double quotes; one
//                            that code page 936 cannot hold is compared as
//                            the drawing has it)
//   window x1,y1 x2,y2       entities entirely inside the box
//   crossing x1,y1 x2,y2     entities inside the box or crossing its edges
//   handle H...              the entities with these hexadecimal DXF handles
// Keywords are case-insensitive. Each clause adds the entities it matches
// that are not selected yet: clause by clause, in drawing order within one.
// Entities of unknown geometry (generic entities) are only found by all,
// layer and handle. Polyline bulges are ignored: their segments count as
// straight.
namespace cad {

class SelectionBuilder {
 public:
  // `database` is not owned and must outlive the builder.
  explicit SelectionBuilder(const Database& database) : database_(database) {}

  // Applies one clause (UTF-8). Null on success; otherwise why the clause is
  // malformed or names an unknown handle (UTF-8, naming the clause), and
  // nothing was added.
  std::optional<std::string> apply(std::string_view clause);

  // The selection so far, in selection order.
  const std::vector<AcDbObjectId>& ids() const { return ids_; }
  // Entities the last successful clause matched (including those already
  // selected before it).
  std::size_t lastMatched() const { return lastMatched_; }

 private:
  void add(const std::vector<AcDbObjectId>& matched);

  const Database& database_;
  std::vector<AcDbObjectId> ids_;
  std::unordered_set<std::uint64_t> selected_;
  std::size_t lastMatched_ = 0;
};

// True when the UTF-8 layer names `a` and `b` are equal ignoring the case of
// ASCII letters.
bool utf8LayerNamesEqual(std::string_view a, std::string_view b);

}  // namespace cad
