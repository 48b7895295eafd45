#include "cad/database.h"

#include <atomic>
#include <cctype>
#include <new>
#include <utility>

#include "cad/selection_sets.h"
#include "dxf/reader.h"
#include "dxf/text_decoder.h"
#include "host.h"
#include "host/ac_db_arc.h"
#include "host/ac_db_line.h"
#include "host/ac_db_other_entities.h"
#include "text/code_page.h"

namespace cad {
namespace {

// An object id is the database's serial in the upper 32 bits and the entity's
// position plus one in the lower 32, so find() is a bounds check.
constexpr int kIndexBits = 32;
constexpr std::uint64_t kIndexMask = (std::uint64_t{1} << kIndexBits) - 1;

std::uint64_t nextSerial() {
  static std::atomic<std::uint64_t> serial{0};
  return ++serial;
}

AcGePoint3d toPoint(const dxf::Point& p) {
  return AcGePoint3d(p.x, p.y, p.z);
}

std::vector<AcGePoint3d> toPoints(const std::vector<dxf::Point>& points) {
  std::vector<AcGePoint3d> result;
  result.reserve(points.size());
  for (const dxf::Point& p : points) result.push_back(toPoint(p));
  return result;
}

// Whether `name` holds a "\\xNN" escape, as the reader writes bytes of a
// layer name that its code page does not define.
bool hasByteEscape(const std::string& name) {
  for (std::size_t at = name.find("\\x"); at != std::string::npos; at = name.find("\\x", at + 1))
    if (at + 3 < name.size() && std::isxdigit(static_cast<unsigned char>(name[at + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[at + 3])))
      return true;
  return false;
}

// Builds the host's entities from what the reader hands over, converting
// names and texts from UTF-8 to code page 936.
class EntityBuilder final : public dxf::EntitySink {
 public:
  EntityBuilder(Database& database, const std::string& path) : database_(database), path_(path) {}

  void entity(const dxf::Entity& e) override {
    AcDbEntity& entity = make(e);
    if (e.layer != lastLayer_ || !layerCached_) {
      lastLayer_ = e.layer;
      bool lossy = false;
      lastLayerCp936_ = toCp936(e.layer, e, "layer name", &lossy);
      lastLayerLossy_ = lossy;
      layerCached_ = true;
    }
    entity.setLayer(lastLayerCp936_);
    entity.setHandle(e.handle);
    if (lastLayerLossy_) database_.setExactLayerName(entity.objectId(), lastLayer_);
  }

 private:
  AcDbEntity& make(const dxf::Entity& e) {
    switch (e.type) {
      case dxf::EntityType::kLine:
        return database_.emplace<AcDbLine>(toPoint(e.start), toPoint(e.end));
      case dxf::EntityType::kArc:
        return database_.emplace<AcDbArc>(toPoint(e.position), e.radius, e.startAngle, e.endAngle);
      case dxf::EntityType::kCircle: {
        auto& circle = database_.emplace<AcDbCircle>();
        circle.centre = toPoint(e.position);
        circle.radius = e.radius;
        return circle;
      }
      case dxf::EntityType::kLwPolyline: {
        auto& polyline = database_.emplace<AcDbPolyline>();
        polyline.vertices = toPoints(e.vertices);
        polyline.closed = e.closed;
        return polyline;
      }
      case dxf::EntityType::kPolyline: {
        auto& polyline = database_.emplace<AcDb2dPolyline>();
        polyline.vertices = toPoints(e.vertices);
        polyline.closed = e.closed;
        return polyline;
      }
      case dxf::EntityType::kText: {
        auto& text = database_.emplace<AcDbText>();
        text.position = toPoint(e.position);
        text.text = toCp936(e.text, e, "text");
        return text;
      }
      case dxf::EntityType::kMText: {
        auto& text = database_.emplace<AcDbMText>();
        text.location = toPoint(e.position);
        text.contents = toCp936(e.text, e, "text");
        return text;
      }
      case dxf::EntityType::kInsert: {
        auto& insert = database_.emplace<AcDbBlockReference>();
        insert.position = toPoint(e.position);
        insert.blockName = toCp936(e.text, e, "block name");
        return insert;
      }
      case dxf::EntityType::kPoint: {
        auto& point = database_.emplace<AcDbPoint>();
        point.position = toPoint(e.position);
        return point;
      }
      case dxf::EntityType::kOther:
        break;
    }
    auto& other = database_.emplace<AcDbGenericEntity>();
    other.dxfName = e.typeName;
    return other;
  }

  // Code page 936 cannot hold every character; those that do not fit become
  // '?' and the drawing says so, rather than being refused: for each layer
  // name, and for texts and block names once (they are not used to select).
  std::string toCp936(const std::string& utf8, const dxf::Entity& e, const char* what,
                      bool* lossy = nullptr) {
    bool ascii = true;
    for (char c : utf8)
      if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) return utf8;
    if (std::optional<std::string> cp936 = text::utf8ToCp936(utf8)) return *std::move(cp936);
    if (lossy != nullptr) {
      *lossy = true;
      // The reader has told of a name it escaped; of the others, the first.
      if (layerWarned_ || hasByteEscape(utf8)) return text::utf8ToCp936Lossy(utf8);
      layerWarned_ = true;
      database_.addWarning(path_ + ":" + std::to_string(e.line) + ": the " + what + " \"" + utf8 +
                           "\" has characters that code page 936 cannot hold; they became '?'" +
                           " (the first such layer name; others are not told)");
    } else if (!textWarned_) {
      textWarned_ = true;
      database_.addWarning(path_ + ":" + std::to_string(e.line) + ": the " + what + " \"" + utf8 +
                           "\" has characters that code page 936 cannot hold; they became '?'" +
                           " (the first such text; others are not told)");
    }
    return text::utf8ToCp936Lossy(utf8);
  }

  Database& database_;
  const std::string& path_;
  std::string lastLayer_;
  std::string lastLayerCp936_;
  bool lastLayerLossy_ = false;
  bool textWarned_ = false;
  bool layerWarned_ = false;
  bool layerCached_ = false;
};

}  // namespace

Database::Database() : serial_(nextSerial()) {}

Database::~Database() = default;

base::Result<std::unique_ptr<Database>> Database::loadDxf(const std::string& path,
                                                          const std::string& fallbackCodePage,
                                                          const std::string& fileName) {
  auto database = std::make_unique<Database>();
  const std::string& shown = fileName.empty() ? path : fileName;
  try {
    EntityBuilder builder(*database, shown);
    dxf::ReadOptions options;
    options.fallbackCodePage = fallbackCodePage;
    dxf::ReadResult result = dxf::readDxfFile(path, builder, options, shown);
    if (!result.ok()) return std::move(result.status);
    for (std::string& warning : result.warnings) database->addWarning(std::move(warning));
    database->setDeclaredUnits(result.insUnits);
    DrawingCodePage codePage;
    codePage.declared = result.codePage;
    codePage.name = result.codePageUsed;
    codePage.fromDrawing = result.codePageDeclared;
    if (codePage.name.empty()) {
      // No entities were read: the code page they would have been read in.
      const dxf::TextDecoder decoder(result.version, result.codePage, fallbackCodePage);
      codePage.name = decoder.codePage();
      codePage.fromDrawing = decoder.declared();
    }
    database->setCodePage(std::move(codePage));
  } catch (const std::bad_alloc&) {
    return base::Status::error(path + ": not enough memory to load the drawing");
  }
  return database;
}

AcDbObjectId Database::append(std::unique_ptr<AcDbEntity> entity) {
  return appendEntity(EntityPtr(entity.release(), EntityRelease{true}));
}

AcDbObjectId Database::appendEntity(EntityPtr entity) {
  AcDbObjectId id((serial_ << kIndexBits) | (entities_.size() + 1));
  entity->setObjectId(id);
  entities_.push_back(std::move(entity));
  return id;
}

AcDbEntity* Database::find(AcDbObjectId id) const {
  if ((id.value() >> kIndexBits) != serial_) return nullptr;
  std::uint64_t index = id.value() & kIndexMask;
  if (index == 0 || index > entities_.size()) return nullptr;
  return entities_[index - 1].get();
}

AcDbEntity* Database::findByHandle(unsigned long long handle) const {
  for (const auto& entity : entities_)
    if (entity->handle() == handle) return entity.get();
  return nullptr;
}

const std::string* Database::exactLayerName(AcDbObjectId id) const {
  auto found = exactLayerOf_.find(id.value());
  return found == exactLayerOf_.end() ? nullptr : &exactLayerNames_[found->second];
}

std::string Database::shownLayerName(const AcDbEntity& entity) const {
  const std::string* exact = exactLayerName(entity.objectId());
  return exact != nullptr ? *exact : text::cp936ToUtf8Lossy(entity.layer());
}

void Database::setExactLayerName(AcDbObjectId id, const std::string& utf8) {
  if (exactLayerNames_.empty() || exactLayerNames_.back() != utf8) exactLayerNames_.push_back(utf8);
  exactLayerOf_[id.value()] = exactLayerNames_.size() - 1;
}

int Database::openObjectCount() const {
  int count = 0;
  for (const auto& entity : entities_)
    if (entity->openCount() > 0) ++count;
  return count;
}

Database& currentDatabase() {
  return *detail::host().currentDatabase();
}

std::unique_ptr<Database> setCurrentDatabase(std::unique_ptr<Database> database) {
  if (!database) database = std::make_unique<Database>();
  selectionSets().clear();
  return std::exchange(detail::host().currentDatabase(), std::move(database));
}

}  // namespace cad
