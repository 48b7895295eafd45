#pragma once

#include <cstddef>
#include <map>
#include <vector>

#include "host/ac_db_object_id.h"

// The host's table of selection sets, behind ads_ssget, ads_sslength,
// ads_ssname and ads_ssfree. A set's name holds its key in [0]. Keys are never
// reused, so a freed set's name stays unknown.
namespace cad {

class SelectionSets {
 public:
  // Stores `ids` as a new set and returns its key (> 0).
  long add(std::vector<AcDbObjectId> ids);
  // The set with `key`, or null.
  const std::vector<AcDbObjectId>* find(long key) const;
  // Removes the set with `key`; false when there is none.
  bool free(long key);
  // Removes every set (a new drawing was made current).
  void clear() {
    sets_.clear();
    last_.clear();
  }
  // The entities of the set added last, kept after it is freed; empty after
  // clear(). What the user selected most recently.
  const std::vector<AcDbObjectId>& lastSelection() const { return last_; }
  // Sets not yet freed.
  std::size_t size() const { return sets_.size(); }

 private:
  std::map<long, std::vector<AcDbObjectId>> sets_;
  long lastKey_ = 0;
  std::vector<AcDbObjectId> last_;
};

// The host's selection sets.
SelectionSets& selectionSets();

}  // namespace cad
