#include "dxf/reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <optional>
#include <type_traits>

#include "dxf/binary_group_reader.h"
#include "dxf/group_reader.h"
#include "dxf/object_coordinates.h"
#include "dxf/text_decoder.h"
#include "text/trim.h"

namespace cad::dxf {
namespace {

constexpr std::string_view kBinarySentinelName = "AutoCAD Binary DXF";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class RecordKind {
  kLine,
  kArc,
  kCircle,
  kLwPolyline,
  kPolyline,
  kVertex,
  kSeqEnd,
  kAttrib,
  kText,
  kMText,
  kInsert,
  kPoint,
  kOther,
};

RecordKind kindOf(std::string_view type) {
  struct Entry {
    std::string_view name;
    RecordKind kind;
  };
  static constexpr Entry kKinds[] = {
      {"LINE", RecordKind::kLine},         {"ARC", RecordKind::kArc},
      {"CIRCLE", RecordKind::kCircle},     {"LWPOLYLINE", RecordKind::kLwPolyline},
      {"POLYLINE", RecordKind::kPolyline}, {"VERTEX", RecordKind::kVertex},
      {"SEQEND", RecordKind::kSeqEnd},     {"ATTRIB", RecordKind::kAttrib},
      {"TEXT", RecordKind::kText},         {"MTEXT", RecordKind::kMText},
      {"INSERT", RecordKind::kInsert},     {"POINT", RecordKind::kPoint},
  };
  for (const Entry& e : kKinds)
    if (e.name == type) return e.kind;
  return RecordKind::kOther;
}

// The groups of one entity record as read, before any conversion. Views point
// into the file text.
struct Record {
  RecordKind kind = RecordKind::kOther;
  std::string_view typeName;
  std::size_t line = 0;
  std::uint64_t handle = 0;
  std::string_view layer = "0";
  long long space = 0;
  Point p0;
  Point p1;
  Point extrusion{0, 0, 1};
  double radius = 0.0;
  double startDegrees = 0.0;
  double endDegrees = 0.0;
  double elevation = 0.0;
  long long flags = 0;
  long long attributesFollow = 0;
  std::string_view text;
  std::string chunks;          // MTEXT groups 3, joined before decoding
  std::vector<Point> points;   // LWPOLYLINE vertices, object coordinates
  std::size_t vertexLine = 0;  // line of the last LWPOLYLINE group 10

  void reset(RecordKind k, std::string_view name, std::size_t at) {
    kind = k;
    typeName = name;
    line = at;
    handle = 0;
    layer = "0";
    space = 0;
    p0 = p1 = Point{};
    extrusion = {0, 0, 1};
    radius = startDegrees = endDegrees = elevation = 0.0;
    flags = attributesFollow = 0;
    text = {};
    chunks.clear();
    points.clear();
  }
};

double normaliseDegrees(double degrees) {
  double d = std::fmod(degrees, 360.0);
  if (d < 0) d += 360.0;
  if (d >= 360.0) d = 0.0;
  return d;
}

double toRadians(double degrees) {
  double r = normaliseDegrees(degrees) * (std::numbers::pi / 180.0);
  return r >= 2 * std::numbers::pi ? 0.0 : r;
}

double directionOf(double x, double y) {
  double a = std::atan2(y, x);
  if (a < 0) a += 2 * std::numbers::pi;
  return a >= 2 * std::numbers::pi ? 0.0 : a;
}

std::string hexHandle(std::uint64_t handle) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(handle));
  return buffer;
}

// Reads the groups of `Groups` (GroupReader for ASCII DXF, BinaryGroupReader
// for binary DXF); locations in messages are lines or byte offsets.
template <class Groups>
class Parser {
 public:
  static constexpr bool kBinary = std::is_same_v<Groups, BinaryGroupReader>;

  Parser(std::string_view text, std::string_view fileName, EntitySink& sink, ReadResult& result,
         const ReadOptions& options)
      : text_(text),
        groups_(text, fileName),
        fileName_(fileName),
        sink_(sink),
        result_(result),
        options_(options) {}

  bool run() {
    if (!first()) return false;
    for (;;) {
      if (group_.code != 0)
        return fail(group_.line, "expected group 0 (SECTION or EOF), found group " +
                                     std::to_string(group_.code));
      std::string_view name = text::trimBlanksAndTrailingCr(group_.value);
      if (name == "EOF") return finish();
      if (name != "SECTION")
        return fail(group_.line,
                    "expected SECTION or EOF, found \"" + GroupReader::printable(name) + "\"");
      const std::size_t sectionLine = group_.line;
      if (!next()) return false;
      if (group_.code != 2) return fail(group_.line, "SECTION without its name (group 2)");
      std::string_view section = text::trimBlanksAndTrailingCr(group_.value);
      if (!next()) return false;
      bool ok = section == "HEADER"     ? readHeader(sectionLine)
                : section == "ENTITIES" ? readEntities(sectionLine)
                                        : skipSection(section, sectionLine);
      if (!ok || !afterSection()) return false;
      if (ended_) return finish();
    }
  }

 private:
  bool first() {
    if constexpr (kBinary) result_.binary = true;
    switch (groups_.next(group_, failure_)) {
      case GroupStep::kPair:
        break;
      case GroupStep::kEndOfText:
        return fail(kBinary ? groups_.endLocation() : 0, "not a DXF drawing: it holds no groups");
      case GroupStep::kError:
        return failAsNotDxf();
    }
    if (group_.code != 0 || text::trimBlanksAndTrailingCr(group_.value) != "SECTION")
      return fail(group_.line, "not a DXF drawing: it does not start with 0/SECTION");
    return true;
  }

  // Reads the next pair into group_; the end of the text here is an error.
  bool next() {
    switch (groups_.next(group_, failure_)) {
      case GroupStep::kPair:
        return true;
      case GroupStep::kEndOfText:
        return fail(groups_.endLocation(), "the file ends without 0/EOF (truncated?)");
      case GroupStep::kError:
        result_.status = std::move(failure_);
        return false;
    }
    return false;
  }

  // "<file>:<line>" or, in binary DXF, "<file>: byte <offset>"; the file
  // alone for location 0.
  std::string where(std::size_t location) const { return Groups::where(fileName_, location); }

  bool fail(std::size_t line, const std::string& message) {
    result_.status = base::Status::error(where(line) + ": " + message);
    return false;
  }

  // The groups' failure at the start of the text, which says the text is no
  // drawing: "<place>: not a DXF drawing: <what>". The place is never 0 there
  // ("<file>:<line>" or "<file>: byte <offset>"), so the first ": " after it
  // starts <what>.
  bool failAsNotDxf() {
    const std::string& message = failure_.message();
    const std::size_t what = message.find(": ", fileName_.size() + (kBinary ? 1 : 0));
    result_.status =
        base::Status::error(message.substr(0, what) + ": not a DXF drawing" + message.substr(what));
    return false;
  }

  void warn(std::size_t line, const std::string& message) {
    if (result_.warnings.size() >= ReadResult::kMaxWarnings) {
      ++suppressedWarnings_;
      return;
    }
    result_.warnings.push_back(where(line) + ": " + message);
  }

  bool finish() {
    if (suppressedWarnings_ > 0)
      result_.warnings.push_back(std::string(fileName_) + ": " +
                                 std::to_string(suppressedWarnings_) + " more warnings");
    return true;
  }

  bool isEnd(std::string_view name) const { return name == "ENDSEC"; }

  bool skipSection(std::string_view section, std::size_t sectionLine) {
    while (group_.code != 0 || !isEnd(text::trimBlanksAndTrailingCr(group_.value))) {
      if (group_.code == 0) {
        std::string_view name = text::trimBlanksAndTrailingCr(group_.value);
        if (name == "SECTION" || name == "EOF")
          return fail(group_.line, "section " + GroupReader::printable(section) + " (" +
                                       lineWord() + std::to_string(sectionLine) +
                                       ") has no ENDSEC");
      }
      if (!next()) return false;
    }
    return true;
  }

  bool readHeader(std::size_t sectionLine) {
    std::string_view variable;
    while (group_.code != 0) {
      if (group_.code == 9) {
        variable = text::trimBlanksAndTrailingCr(group_.value);
      } else if (variable == "$ACADVER" && group_.code == 1) {
        result_.version = std::string(text::trimBlanksAndTrailingCr(group_.value));
      } else if (variable == "$DWGCODEPAGE" && group_.code == 3) {
        result_.codePage = std::string(text::trimBlanksAndTrailingCr(group_.value));
      } else if (variable == "$INSUNITS" && group_.code == 70) {
        // Binary DXF hands the number decoded; ASCII DXF as text.
        if (group_.kind == Group::Kind::kInteger) {
          result_.insUnits = static_cast<int>(group_.integer);
        } else {
          const std::string_view text = text::trimBlanksAndTrailingCr(group_.value);
          int units = 0;
          const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), units);
          if (error == std::errc() && end == text.data() + text.size()) result_.insUnits = units;
        }
      }
      if (!next()) return false;
    }
    if (!isEnd(text::trimBlanksAndTrailingCr(group_.value)))
      return fail(group_.line, "section HEADER (" + lineWord() + std::to_string(sectionLine) +
                                   ") has no ENDSEC");
    return true;
  }

  // Reads the group after a section's ENDSEC. Some writers end a section
  // early and go on with header variables: those are read as the header's,
  // with a warning, up to the ENDSEC that follows them.
  // A file that ends after a section without 0/EOF is cut off; it still
  // opens, with a warning, when every ENTITIES section was whole, as nothing
  // the host uses is lost then.
  bool afterSection() {
    for (;;) {
      const std::size_t endLine = group_.line;
      switch (groups_.next(group_, failure_)) {
        case GroupStep::kPair:
          break;
        case GroupStep::kError:
          result_.status = std::move(failure_);
          return false;
        case GroupStep::kEndOfText:
          if (!entitiesRead_)
            return fail(groups_.endLocation(), "the file ends without 0/EOF (truncated?)");
          warn(endLine, "the file ends after this ENDSEC without 0/EOF; its entities are whole");
          ended_ = true;
          return true;
      }
      if (group_.code != 9) return true;
      warn(group_.line, "header variables after the ENDSEC of " + lineWord() +
                            std::to_string(endLine) +
                            " (a writer's fault); read as part of the header");
      if (!readHeader(group_.line)) return false;
    }
  }

  static std::string lineWord() { return kBinary ? "byte " : "line "; }

  bool readEntities(std::size_t sectionLine) {
    // A HEADER between two ENTITIES sections may have changed the code page.
    decoder_.emplace(result_.version, result_.codePage, options_.fallbackCodePage);
    result_.codePageUsed = decoder_->codePage();
    result_.codePageDeclared = decoder_->declared();
    layerCached_ = false;
    for (;;) {
      if (group_.code != 0)
        return fail(group_.line, "expected group 0 starting an entity, found group " +
                                     std::to_string(group_.code));
      std::string_view type = text::trimBlanksAndTrailingCr(group_.value);
      if (isEnd(type)) {
        if (ownerOpen_) return fail(owner_.line, unendedOwner());
        entitiesRead_ = true;
        return true;
      }
      if (type == "SECTION" || type == "EOF")
        return fail(group_.line, "section ENTITIES (" + lineWord() + std::to_string(sectionLine) +
                                     ") has no ENDSEC");
      record_.reset(kindOf(type), type, group_.line);
      if (!next()) return false;
      while (group_.code != 0) {
        if (!applyGroup(record_)) return false;
        if (!next()) return false;
      }
      if (!finishRecord()) return false;
    }
  }

  std::string unendedOwner() const {
    return GroupReader::printable(owner_.typeName) + " is not ended by SEQEND";
  }

  bool real(double& target) {
    switch (group_.kind) {
      case Group::Kind::kReal:
        if (!std::isfinite(group_.real)) return badNumber();
        target = group_.real;
        return true;
      case Group::Kind::kInteger:
        target = static_cast<double>(group_.integer);
        return true;
      case Group::Kind::kText:
        break;
    }
    std::optional<double> value = parseReal(group_.value);
    if (!value) return badNumber();
    target = *value;
    return true;
  }

  bool integer(long long& target) {
    switch (group_.kind) {
      case Group::Kind::kInteger:
        target = group_.integer;
        return true;
      case Group::Kind::kReal:
        return badNumber();
      case Group::Kind::kText:
        break;
    }
    std::optional<long long> value = parseInteger(group_.value);
    if (!value) return badNumber();
    target = *value;
    return true;
  }

  bool badNumber() {
    const std::string code = std::to_string(group_.code);
    if (group_.kind == Group::Kind::kReal) {
      char shown[32];
      std::snprintf(shown, sizeof shown, "%g", group_.real);
      return fail(group_.valueLine,
                  "value " + std::string(shown) + " of group " + code + " is not a finite number");
    }
    return fail(group_.valueLine, "value \"" + GroupReader::printable(group_.value) +
                                      "\" of group " + code + " is not a number");
  }

  // A handle above every handle of the drawing (and its $HANDSEED), for an
  // entity that came with an empty one. The drawing is scanned once, on the
  // first such entity.
  std::uint64_t freshHandle() {
    if (nextHandle_ == 0) {
      std::uint64_t highest = 0;
      Groups all(text_);
      Group g;
      base::Status ignored = base::Status::ok();
      while (all.next(g, ignored) == GroupStep::kPair)
        if ((g.code == 5 || g.code == 105) && g.kind == Group::Kind::kText)
          if (std::optional<std::uint64_t> h = parseHandle(g.value))
            highest = std::max(highest, *h);
      nextHandle_ = highest + 1;
    }
    return nextHandle_++;
  }

  bool extrusionGroup(Record& r) {
    switch (group_.code) {
      case 210:
        return real(r.extrusion.x);
      case 220:
        return real(r.extrusion.y);
      case 230:
        return real(r.extrusion.z);
    }
    return true;
  }

  bool pointGroup(Point& p, int base) {
    if (group_.code == base) return real(p.x);
    if (group_.code == base + 10) return real(p.y);
    if (group_.code == base + 20) return real(p.z);
    return true;
  }

  bool applyGroup(Record& r) {
    const int code = group_.code;
    if (code == 5) return applyHandle(r);
    if (code == 8) {
      r.layer = group_.value;
      return true;
    }
    if (code == 67) return integer(r.space);
    return applyKindGroup(r);
  }

  // Group 5. An empty handle is given a fresh one, with a warning.
  bool applyHandle(Record& r) {
    if (group_.kind == Group::Kind::kText && text::trimBlanksAndTrailingCr(group_.value).empty()) {
      r.handle = freshHandle();
      warn(group_.line, GroupReader::printable(r.typeName) + " has an empty handle; given " +
                            hexHandle(r.handle) + ", above the drawing's highest");
      return true;
    }
    std::optional<std::uint64_t> handle;
    if (group_.kind == Group::Kind::kText) handle = parseHandle(group_.value);
    if (!handle)
      return fail(group_.valueLine, "handle \"" + GroupReader::printable(group_.value) +
                                        "\" is not 1 to 16 hexadecimal digits");
    r.handle = *handle;
    return true;
  }

  // The groups that only some kinds of entity have.
  bool applyKindGroup(Record& r) {
    const int code = group_.code;
    switch (r.kind) {
      case RecordKind::kLine:
        return pointGroup(r.p0, 10) && pointGroup(r.p1, 11);
      case RecordKind::kArc:
        if (code == 50) return real(r.startDegrees);
        if (code == 51) return real(r.endDegrees);
        [[fallthrough]];
      case RecordKind::kCircle:
        if (code == 40) return real(r.radius);
        return pointGroup(r.p0, 10) && extrusionGroup(r);
      case RecordKind::kLwPolyline:
        if (code == 10) {
          r.points.push_back(Point{0, 0, 0});
          r.vertexLine = group_.line;
          return real(r.points.back().x);
        }
        if (code == 20) {
          if (r.points.empty()) return fail(group_.line, "LWPOLYLINE group 20 before any 10");
          return real(r.points.back().y);
        }
        if (code == 38) return real(r.elevation);
        if (code == 70) return integer(r.flags);
        return extrusionGroup(r);
      case RecordKind::kPolyline:
        if (code == 70) return integer(r.flags);
        if (code == 66) return integer(r.attributesFollow);
        return pointGroup(r.p0, 10) && extrusionGroup(r);
      case RecordKind::kVertex:
        if (code == 70) return integer(r.flags);
        return pointGroup(r.p0, 10);
      case RecordKind::kText:
        if (code == 1) r.text = group_.value;
        return pointGroup(r.p0, 10) && extrusionGroup(r);
      case RecordKind::kMText:
        if (code == 1) r.text = group_.value;
        if (code == 3) r.chunks.append(group_.value);
        return pointGroup(r.p0, 10);
      case RecordKind::kInsert:
        if (code == 2) r.text = group_.value;
        if (code == 66) return integer(r.attributesFollow);
        return pointGroup(r.p0, 10) && extrusionGroup(r);
      case RecordKind::kPoint:
        return pointGroup(r.p0, 10);
      case RecordKind::kSeqEnd:
      case RecordKind::kAttrib:
      case RecordKind::kOther:
        break;
    }
    return true;
  }

  bool finishRecord() {
    Record& r = record_;
    switch (r.kind) {
      case RecordKind::kVertex:
        if (!ownerOpen_ || owner_.kind != RecordKind::kPolyline)
          return fail(r.line, "VERTEX outside a POLYLINE");
        // Face records of a polyface mesh (128 without 64) carry no vertex.
        if ((r.flags & 128) != 0 && (r.flags & 64) == 0) return true;
        ownerVertices_.push_back(r.p0);
        return true;
      case RecordKind::kAttrib:
        if (!ownerOpen_ || owner_.kind != RecordKind::kInsert)
          return fail(r.line, "ATTRIB outside an INSERT with attributes");
        return true;
      case RecordKind::kSeqEnd:
        if (!ownerOpen_) return fail(r.line, "SEQEND without a POLYLINE or INSERT");
        ownerOpen_ = false;
        return emit(owner_, &ownerVertices_);
      default:
        break;
    }
    if (ownerOpen_)
      return fail(owner_.line, unendedOwner() + " (found " + GroupReader::printable(r.typeName) +
                                   " at " + lineWord() + std::to_string(r.line) + ")");
    if (r.kind == RecordKind::kPolyline ||
        (r.kind == RecordKind::kInsert && r.attributesFollow == 1)) {
      std::swap(owner_, record_);
      ownerOpen_ = true;
      ownerVertices_.clear();
      return true;
    }
    return emit(r, nullptr);
  }

  // Texts are not needed to find axes: bytes the drawing's encoding does not
  // define become U+FFFD, told once per drawing.
  void decodeText(std::string_view raw, std::string& out, std::size_t line) {
    if (!decoder_->decodeLenient(raw, out) || textReplaced_) return;
    textReplaced_ = true;
    const std::string encoding = decoder_->encoding().empty()
                                     ? "the unknown code page " + result_.codePage
                                     : decoder_->encoding();
    warn(line, "text with bytes that are not valid in " + GroupReader::printable(encoding) +
                   "; they are shown as U+FFFD (the first such text; others are not told)");
  }

  // A layer name with bytes its code page does not define keeps them
  // escaped, told once per drawing: the drawing may be in another code page.
  void decodeLayer(const Record& r) {
    if (layerCached_ && r.layer == lastRawLayer_) {
      entity_.layer = lastLayer_;
      return;
    }
    if (decoder_->decodeEscaped(r.layer, entity_.layer) && !layerEscaped_) {
      layerEscaped_ = true;
      warn(r.line, "the layer name \"" + entity_.layer + "\" is not valid in code page " +
                       decoder_->codePage() +
                       "; each byte that is not is shown as \\xNN, and the name is selected "
                       "so (the first such name; others are not told). If the drawing was made "
                       "in another code page, open it with --codepage NAME");
    }
    lastRawLayer_.assign(r.layer);
    lastLayer_ = entity_.layer;
    layerCached_ = true;
  }

  // An arc needs its plane; for the other entities, which are no axes, a
  // zero direction is taken as the world's Z with a warning.
  bool coordinates(const Record& r, ObjectCoordinates& ocs) {
    if (ObjectCoordinates::make(r.extrusion, ocs)) return true;
    const std::string name = GroupReader::printable(r.typeName);
    if (r.kind == RecordKind::kArc) return fail(r.line, name + " has a zero extrusion direction");
    warn(r.line, name + " (handle " + hexHandle(r.handle) +
                     ") has a zero extrusion direction; taken as 0, 0, 1");
    ocs = ObjectCoordinates();
    return true;
  }

  void warnTilted(const Record& r, const ObjectCoordinates& ocs) {
    char direction[96];
    std::snprintf(direction, sizeof direction, "%g, %g, %g", ocs.normal().x, ocs.normal().y,
                  ocs.normal().z);
    warn(r.line, GroupReader::printable(r.typeName) + " (handle " + hexHandle(r.handle) +
                     ") lies in a plane not parallel to XY (extrusion " + direction +
                     "); kept as its projection onto XY");
  }

  bool arcGeometry(const Record& r) {
    ObjectCoordinates ocs;
    if (!coordinates(r, ocs)) return false;
    entity_.position = ocs.toWorld(r.p0);
    if (ocs.isWorld()) {
      entity_.startAngle = toRadians(r.startDegrees);
      entity_.endAngle = toRadians(r.endDegrees);
    } else if (ocs.isMirrored()) {
      // Seen from above, the clockwise arc from 180 - start to 180 - end is
      // the counter-clockwise arc from 180 - end to 180 - start.
      entity_.startAngle = toRadians(180.0 - normaliseDegrees(r.endDegrees));
      entity_.endAngle = toRadians(180.0 - normaliseDegrees(r.startDegrees));
    } else {
      auto worldDirection = [&](double degrees) {
        double a = degrees * (std::numbers::pi / 180.0);
        const Point& ax = ocs.xAxis();
        const Point& ay = ocs.yAxis();
        return directionOf(std::cos(a) * ax.x + std::sin(a) * ay.x,
                           std::cos(a) * ax.y + std::sin(a) * ay.y);
      };
      bool facesUp = ocs.normal().z >= 0;
      entity_.startAngle = worldDirection(facesUp ? r.startDegrees : r.endDegrees);
      entity_.endAngle = worldDirection(facesUp ? r.endDegrees : r.startDegrees);
    }
    if (!ocs.isParallelToXY()) warnTilted(r, ocs);
    return true;
  }

  bool emit(const Record& r, const std::vector<Point>* ownedVertices) {
    if (r.space == 1) return true;  // paper space
    Entity& e = entity_;
    e.typeName.assign(r.typeName);
    e.handle = r.handle;
    e.line = r.line;
    decodeLayer(r);
    e.start = e.end = e.position = Point{};
    e.radius = e.startAngle = e.endAngle = 0.0;
    e.vertices.clear();
    e.closed = false;
    e.text.clear();
    // Circles are not axes: one of radius 0 or less is kept as it is.
    if (r.radius < 0 && r.kind == RecordKind::kArc)
      return fail(r.line, "ARC has a negative radius");
    if (!fillEntity(r, ownedVertices)) return false;
    sink_.entity(e);
    ++result_.entityCount;
    return true;
  }

  // A POLYLINE with the vertices that followed it.
  bool fillPolyline(const Record& r, const std::vector<Point>* ownedVertices) {
    Entity& e = entity_;
    e.type = EntityType::kPolyline;
    e.closed = (r.flags & 1) != 0;
    ObjectCoordinates ocs;
    if (!coordinates(r, ocs)) return false;
    // 3D polylines and meshes (8, 16, 64) have world vertices.
    const bool world = (r.flags & (8 | 16 | 64)) != 0;
    if (ownedVertices != nullptr)
      for (const Point& p : *ownedVertices)
        e.vertices.push_back(world ? p : ocs.toWorld({p.x, p.y, r.p0.z}));
    return true;
  }

  // The type and world geometry of entity_ from `r`, by kind.
  bool fillEntity(const Record& r, const std::vector<Point>* ownedVertices) {
    Entity& e = entity_;
    ObjectCoordinates ocs;
    switch (r.kind) {
      case RecordKind::kLine:
        e.type = EntityType::kLine;
        e.start = r.p0;
        e.end = r.p1;
        break;
      case RecordKind::kArc:
        e.type = EntityType::kArc;
        e.radius = r.radius;
        if (!arcGeometry(r)) return false;
        break;
      case RecordKind::kCircle:
        e.type = EntityType::kCircle;
        e.radius = r.radius;
        if (!coordinates(r, ocs)) return false;
        e.position = ocs.toWorld(r.p0);
        if (!ocs.isParallelToXY()) warnTilted(r, ocs);
        break;
      case RecordKind::kLwPolyline:
        e.type = EntityType::kLwPolyline;
        e.closed = (r.flags & 1) != 0;
        if (!coordinates(r, ocs)) return false;
        for (const Point& p : r.points) e.vertices.push_back(ocs.toWorld({p.x, p.y, r.elevation}));
        break;
      case RecordKind::kPolyline:
        if (!fillPolyline(r, ownedVertices)) return false;
        break;
      case RecordKind::kText:
      case RecordKind::kInsert:
        e.type = r.kind == RecordKind::kText ? EntityType::kText : EntityType::kInsert;
        if (!coordinates(r, ocs)) return false;
        e.position = ocs.toWorld(r.p0);
        decodeText(r.text, e.text, r.line);
        break;
      case RecordKind::kMText: {
        e.type = EntityType::kMText;
        e.position = r.p0;
        std::string joined = r.chunks;
        joined.append(r.text);
        decodeText(joined, e.text, r.line);
        break;
      }
      case RecordKind::kPoint:
        e.type = EntityType::kPoint;
        e.position = r.p0;
        break;
      default:
        e.type = EntityType::kOther;
        break;
    }
    return true;
  }

  std::string_view text_;
  Groups groups_;
  Group group_;
  base::Status failure_ = base::Status::ok();  // the groups' last failure
  std::string_view fileName_;
  EntitySink& sink_;
  ReadResult& result_;
  const ReadOptions& options_;
  std::optional<TextDecoder> decoder_;
  Record record_;
  Record owner_;
  bool ownerOpen_ = false;
  std::vector<Point> ownerVertices_;
  Entity entity_;
  std::string lastRawLayer_;
  std::string lastLayer_;
  bool layerCached_ = false;
  bool textReplaced_ = false;
  bool layerEscaped_ = false;
  bool entitiesRead_ = false;
  bool ended_ = false;
  std::uint64_t nextHandle_ = 0;
  std::size_t suppressedWarnings_ = 0;
};

std::string systemError(int error) {
  char buffer[256];
  return strerror_r(error, buffer, sizeof buffer);
}

// Closes the descriptor on every path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The file mapped into memory, read-only; unmapped on every path.
class MappedFile {
 public:
  MappedFile(void* data, std::size_t size) : data_(data), size_(size) {}
  ~MappedFile() {
    if (data_ != MAP_FAILED) ::munmap(data_, size_);
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  bool ok() const { return data_ != MAP_FAILED; }
  std::string_view contents() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_;
  std::size_t size_;
};

}  // namespace

ReadResult readDxf(std::string_view contents, std::string_view fileName, EntitySink& sink,
                   const ReadOptions& options) {
  ReadResult result;
  if (contents.starts_with(kBinarySentinelName)) {
    if (!contents.starts_with(kBinaryDxfSentinel)) {
      result.status = base::Status::error(
          std::string(fileName) +
          ": binary DXF whose first line is damaged (it must end in CR LF SUB NUL)");
      return result;
    }
    Parser<BinaryGroupReader> parser(contents, fileName, sink, result, options);
    parser.run();
    return result;
  }
  if (contents.starts_with(kByteOrderMark)) contents.remove_prefix(kByteOrderMark.size());
  if (contents.empty()) {
    result.status = base::Status::error(std::string(fileName) + ": the file is empty");
    return result;
  }
  Parser<GroupReader> parser(contents, fileName, sink, result, options);
  parser.run();
  return result;
}

ReadResult readDxfFile(const std::string& path, EntitySink& sink, const ReadOptions& options,
                       const std::string& fileName) {
  ReadResult result;
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    result.status = base::Status::error(path + ": cannot open: " + systemError(errno));
    return result;
  }
  struct stat status;
  if (::fstat(file.get(), &status) != 0) {
    result.status = base::Status::error(path + ": cannot read: " + systemError(errno));
    return result;
  }
  if (!S_ISREG(status.st_mode)) {
    result.status = base::Status::error(path + ": not a regular file");
    return result;
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  const std::string& shown = fileName.empty() ? path : fileName;
  if (size == 0) return readDxf({}, shown, sink, options);
  MappedFile mapped(::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, file.get(), 0),
                    size);
  if (!mapped.ok()) {
    result.status = base::Status::error(path + ": cannot read: " + systemError(errno));
    return result;
  }
  return readDxf(mapped.contents(), shown, sink, options);
}

}  // namespace cad::dxf
