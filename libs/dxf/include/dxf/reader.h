#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "dxf/entity.h"

// A strict reader of DXF drawings, ASCII or binary. It hands the model-space
// entities of
// the ENTITIES section to a sink in file order: VERTEX and SEQEND records are
// folded into their POLYLINE, ATTRIB records into their INSERT; entities in
// paper space (group 67 = 1) and the contents of blocks are left out.
// Anything malformed ends the read with an error naming the file and line
// (the byte offset in binary DXF); a sink that has seen entities of a failed
// read must discard them. What is not needed to find axes is read leniently,
// with a warning: texts with bytes their code page does not define, circles
// of radius 0 or less, empty entity handles, header variables after an early
// ENDSEC, layer names with bytes their code page does not define (kept with
// those bytes escaped, see TextDecoder::decodeEscaped).
namespace cad::dxf {

class EntitySink {
 public:
  virtual ~EntitySink() = default;
  // Called once per model-space entity. `entity` is only valid during the call.
  virtual void entity(const Entity& entity) = 0;
};

// What a read found besides the entities. Facts of the header and warnings
// are filled as far as the read got, also when it failed.
struct ReadResult {
  // Failed when the read failed: "<file>:<line>: <what>" ("<file>: byte
  // <offset>: <what>" in binary DXF, "<file>: <what>" when no place
  // applies). UTF-8.
  base::Status status = base::Status::ok();
  // Things kept but worth telling, e.g. an arc whose plane is not parallel to
  // XY; each names the file and line. At most kMaxWarnings, then one summary.
  std::vector<std::string> warnings;
  std::string version;   // $ACADVER, empty when absent
  std::string codePage;  // $DWGCODEPAGE, empty when absent
  // The code page the entities' texts and names were read in ("UTF-8",
  // "ANSI_936", ...; see TextDecoder::codePage) and whether it is the
  // drawing's own (false: the fallback). Empty when no entities were read.
  std::string codePageUsed;
  bool codePageDeclared = true;
  bool binary = false;  // the drawing is binary DXF
  // $INSUNITS, the declared drawing unit (0 none, 1 inch, 4 millimetre, 5
  // centimetre, 6 metre, …); absent when the header does not say or it is no
  // number.
  std::optional<int> insUnits;
  std::size_t entityCount = 0;

  bool ok() const { return status.isOk(); }
  static constexpr std::size_t kMaxWarnings = 100;
};

// How to read a drawing.
struct ReadOptions {
  // The code page of a drawing before AC1021 that names none, or one this
  // reader does not know ("ANSI_936", ...); empty: ANSI_1252.
  std::string fallbackCodePage;
};

// Reads the DXF drawing `contents` (the whole file, ASCII or binary);
// `fileName` only names it in messages.
ReadResult readDxf(std::string_view contents, std::string_view fileName, EntitySink& sink,
                   const ReadOptions& options = {});

// Maps the file at `path` (a file-system path) into memory and reads it as
// readDxf does. A missing, unreadable or empty file is an error naming the
// path. `fileName` names the file in messages about its contents; empty: the
// path. The file must not be shortened while it is read.
ReadResult readDxfFile(const std::string& path, EntitySink& sink, const ReadOptions& options = {},
                       const std::string& fileName = {});

}  // namespace cad::dxf
