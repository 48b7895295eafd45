#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/entity.h"

// A strict reader of ASCII DXF drawings. It hands the model-space entities of
// the ENTITIES section to a sink in file order: VERTEX and SEQEND records are
// folded into their POLYLINE, ATTRIB records into their INSERT; entities in
// paper space (group 67 = 1) and the contents of blocks are left out.
// Anything malformed ends the read with an error naming the file and line;
// a sink that has seen entities of a failed read must discard them.
namespace cad::dxf {

class EntitySink {
 public:
  virtual ~EntitySink() = default;
  // Called once per model-space entity. `entity` is only valid during the call.
  virtual void entity(const Entity& entity) = 0;
};

struct ReadResult {
  // Set when the read failed: "<file>:<line>: <what>" (or "<file>: <what>"
  // when no line applies). UTF-8.
  std::optional<std::string> error;
  // Things kept but worth telling, e.g. an arc whose plane is not parallel to
  // XY; each names the file and line. At most kMaxWarnings, then one summary.
  std::vector<std::string> warnings;
  std::string version;   // $ACADVER, empty when absent
  std::string codePage;  // $DWGCODEPAGE, empty when absent
  std::size_t entityCount = 0;

  bool ok() const { return !error.has_value(); }
  static constexpr std::size_t kMaxWarnings = 100;
};

// Reads the DXF text `contents` (the whole file); `fileName` only names it in
// messages. Binary DXF is refused with an error.
ReadResult readDxf(std::string_view contents, std::string_view fileName, EntitySink& sink);

// Reads the file at `path` (a file-system path) whole and then as readDxf
// does. A missing, unreadable or empty file is an error naming the path.
ReadResult readDxfFile(const std::string& path, EntitySink& sink);

}  // namespace cad::dxf
