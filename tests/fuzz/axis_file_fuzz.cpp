// The axis-file reader on any bytes, arriving in pieces of any size, and
// what morlenview makes of a file it takes: the floor's summary, the check
// of the floor against itself and the layout of its picture (nothing drawn).
// Nothing may crash, hang or overflow; the pieces must read as the whole; a
// floor must line up with itself.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formats/axis_file_reader.h"
#include "formats/axis_file_records.h"
#include "fuzz_check.h"
#include "morlenview/floor_alignment.h"
#include "morlenview/floor_scene.h"
#include "morlenview/floor_summary.h"
#include "morlenview/morlen_project.h"
#include "plot/picture_layout.h"

using tavrin::AxisFileSegment;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The length chooses the size of the pieces, so any axis file is a seed.
  const std::size_t piece = 1 + size * 7 % 61;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::vector<AxisFileSegment> whole;
  tavrin::AxisFileError wholeError;
  const bool wholeOk = tavrin::parseAxisFile(text, &whole, &wholeError);

  morlenview::FloorSummaryBuilder builder;
  morlenview::ProjectFloor floor;
  std::size_t taken = 0;
  tavrin::AxisFileParser parser([&](const AxisFileSegment& s) {
    builder.add(s);
    FUZZ_CHECK(taken < whole.size() || !wholeOk);
    if (wholeOk) FUZZ_CHECK(whole[taken] == s);
    ++taken;
    if (s.kind == AxisFileSegment::Kind::kStraight)
      floor.lines.push_back(plot::Line{{s.x1, s.y1}, {s.x2, s.y2}});
    else
      floor.arcs.push_back(plot::Arc{{s.centreX, s.centreY},
                                     s.radius,
                                     s.startDegrees / tavrin::kDegreesPerRadian,
                                     s.endDegrees / tavrin::kDegreesPerRadian});
  });
  bool ok = true;
  for (std::size_t at = 0; at < text.size() && ok; at += piece)
    ok = parser.add(text.substr(at, std::min(piece, text.size() - at)));
  ok = ok && parser.finish();
  FUZZ_CHECK(ok == wholeOk);
  if (!ok) {
    FUZZ_CHECK(parser.error().line == wholeError.line);
    FUZZ_CHECK(parser.error().reason == wholeError.reason);
    return 0;
  }
  FUZZ_CHECK(taken == whole.size());

  floor.summary = builder.take();
  const morlenview::FloorSummary& summary = floor.summary;
  FUZZ_CHECK(summary.straightSegments + summary.arcSegments == whole.size());
  for (const morlenview::PlanePoint& p : summary.points)
    FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.y));
  // Within the writer's limits every value is finite and none above 1000.
  if (!summary.extent.empty) FUZZ_CHECK(summary.extent.maxX <= 1000.0 + 1000.0);

  const std::vector<const morlenview::AlignmentFloor*> twice = {&summary, &summary};
  const morlenview::AlignmentResult self = morlenview::checkAlignment(twice);
  FUZZ_CHECK(self.nearMisses.empty());
  FUZZ_CHECK(summary.points.empty() || self.linesUp());

  morlenview::MorlenProject project;
  project.name = "fuzz";
  const plot::Scene scene = morlenview::floorScene(project, floor);
  const plot::PictureLayout layout = plot::layoutScene(scene);
  FUZZ_CHECK(std::isfinite(layout.pixelsPerUnit) && layout.pixelsPerUnit > 0);
  FUZZ_CHECK(layout.width > 0 && layout.width < 40000);
  FUZZ_CHECK(layout.height > 0 && layout.height < 40000);
  return 0;
}
