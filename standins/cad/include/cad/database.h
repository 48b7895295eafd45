#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/result.h"
#include "host/ac_db_entity.h"
#include "host/ac_db_object_id.h"

// The drawing database: the model-space entities of one drawing, in file
// order, each with its object id. Owns its entities.
namespace cad {

// Ends an entity the database holds: destroys it, and frees it when it came
// from the heap; entities built in the database's own block are freed with
// the block.
struct EntityRelease {
  bool heap = true;
  void operator()(AcDbEntity* entity) const {
    if (heap)
      delete entity;
    else if (entity != nullptr)
      entity->~AcDbEntity();
  }
};
using EntityPtr = std::unique_ptr<AcDbEntity, EntityRelease>;

// The code page a drawing's texts and names were read in.
struct DrawingCodePage {
  std::string name = "ANSI_1252";  // "UTF-8", "ANSI_936", ...
  std::string declared;            // $DWGCODEPAGE as the drawing gives it; empty when absent
  bool fromDrawing = true;         // false: the drawing names none, a fallback was taken
  std::string reason;              // why this one, for the drawing summary (UTF-8)
};

class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Loads a DXF drawing from `path` (UTF-8). On failure the status names the
  // file and, where there is one, the line. No partial drawing is ever
  // returned. Things kept but worth telling (e.g. an arc not parallel to XY)
  // are in warnings() of the drawing.
  // Drawings before AC1021 that name no code page (or an unknown one) are
  // read in `fallbackCodePage` ("ANSI_936", ...; empty: ANSI_1252).
  // `fileName` names the drawing in messages; empty: `path`.
  static base::Result<std::unique_ptr<Database>> loadDxf(const std::string& path,
                                                         const std::string& fallbackCodePage = {},
                                                         const std::string& fileName = {});

  // Takes ownership of `entity`, gives it the next object id and returns it.
  // Ids are unique across every database of the process, so an id of one
  // drawing never finds an object of another.
  AcDbObjectId append(std::unique_ptr<AcDbEntity> entity);
  // Builds a T from `args` in the database's own storage (large blocks, no
  // allocation per entity), appends it as append() does and returns it; the
  // database owns it. Out of memory throws std::bad_alloc and appends nothing.
  template <class T, class... Args>
  T& emplace(Args&&... args) {
    T* entity = new (storage_.allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
    appendEntity(EntityPtr(entity, EntityRelease{false}));
    return *entity;
  }

  // Entities in file (append) order.
  const std::vector<EntityPtr>& entities() const { return entities_; }
  // The entity with `id`, or null (also for an id of another database).
  AcDbEntity* find(AcDbObjectId id) const;
  // The first entity whose DXF handle is `handle`, or null. Linear.
  AcDbEntity* findByHandle(unsigned long long handle) const;
  // Objects open right now (with at least one reader).
  int openObjectCount() const;

  // The layer name of the entity `id` as the drawing has it (UTF-8) when code
  // page 936 cannot hold it, so that layer() holds '?' in its place; null
  // for every other entity.
  const std::string* exactLayerName(AcDbObjectId id) const;
  // The layer name of `entity` as shown to the user (UTF-8): the exact name
  // when there is one, else its code page 936 name converted.
  std::string shownLayerName(const AcDbEntity& entity) const;
  // Records `utf8` as the exact layer name of the entity `id`.
  void setExactLayerName(AcDbObjectId id, const std::string& utf8);
  // The drawing unit its header declares ($INSUNITS code), if it does.
  const std::optional<int>& declaredUnits() const { return declaredUnits_; }
  void setDeclaredUnits(std::optional<int> units) { declaredUnits_ = units; }

  const DrawingCodePage& codePage() const { return codePage_; }
  void setCodePage(DrawingCodePage codePage) { codePage_ = std::move(codePage); }
  // Where the drawing came from when it was no DXF file, e.g. "DWG 2000
  // (AC1015), read through the DWG importer"; empty for DXF.
  const std::string& source() const { return source_; }
  void setSource(std::string source) { source_ = std::move(source); }

  // Messages about the drawing that did not stop it from loading, UTF-8,
  // each naming the file and line.
  const std::vector<std::string>& warnings() const { return warnings_; }
  void addWarning(std::string warning) { warnings_.push_back(std::move(warning)); }

 private:
  AcDbObjectId appendEntity(EntityPtr entity);

  std::uint64_t serial_;
  // Declared before the entities, so that they are destroyed first.
  std::pmr::monotonic_buffer_resource storage_;
  std::vector<EntityPtr> entities_;
  std::vector<std::string> warnings_;
  // Few entities have such names: object id -> index into exactLayerNames_.
  std::unordered_map<std::uint64_t, std::size_t> exactLayerOf_;
  std::vector<std::string> exactLayerNames_;
  std::optional<int> declaredUnits_;
  DrawingCodePage codePage_;
  std::string source_;
};

// The host's current drawing: an empty one until a drawing is set.
Database& currentDatabase();
// Makes `database` current (null makes an empty drawing current) and returns
// the previous one. Selection sets of the previous drawing are freed.
std::unique_ptr<Database> setCurrentDatabase(std::unique_ptr<Database> database);

}  // namespace cad
