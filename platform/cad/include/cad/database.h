#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/ac_db_entity.h"
#include "host/ac_db_object_id.h"

// The drawing database: the model-space entities of one drawing, in file
// order, each with its object id. Owns its entities.
namespace cad {

class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Loads a DXF drawing from `path` (UTF-8). On failure returns null and sets
  // `*error` to a message that names the file and, where there is one, the
  // line. No partial drawing is ever returned.
  static std::unique_ptr<Database> loadDxf(const std::string& path, std::string* error);

  // Takes ownership of `entity`, gives it the next object id and returns it.
  AcDbObjectId append(std::unique_ptr<AcDbEntity> entity);

  // Entities in file (append) order.
  const std::vector<std::unique_ptr<AcDbEntity>>& entities() const { return entities_; }
  // The entity with `id`, or null.
  AcDbEntity* find(AcDbObjectId id) const;
  // Objects open right now.
  int openObjectCount() const;

 private:
  std::vector<std::unique_ptr<AcDbEntity>> entities_;
};

// The host's current drawing: an empty one until a drawing is set.
Database& currentDatabase();
// Makes `database` current and returns the previous one. Selection sets of
// the previous drawing are freed.
std::unique_ptr<Database> setCurrentDatabase(std::unique_ptr<Database> database);

}  // namespace cad
