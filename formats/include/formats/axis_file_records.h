#pragma once

#include <cstdint>
#include <string>

namespace tavrin {

// The axis file of one standard floor ("Graph Link" text), as the export
// writes it and the tools read it: a header of three lines ("0", "Graph
// Link", the number of segment records), then two lines per segment, in
// Morlen coordinates (metres). Numbers have six decimals ("%f"); lines end
// with LF here and CR LF on disk (writeTextFile()).

// Coordinates and radii above this, in metres, are never written.
inline constexpr double kCoordinateLimit = 1000.0;
// Radians become the file's degrees by this factor: 180 / 3.1415926, as
// existing projects have it.
inline constexpr double kDegreesPerRadian = 57.295780490442965;

// Appends the header announcing `records` segment records.
void appendAxisFileHeader(std::string& text, std::int64_t records);
// Appends a straight segment from (x1, y1) to (x2, y2): "9,0" and
// " X2,Y2,X1,Y1,0,0" (the later point first).
void appendStraightRecord(std::string& text, double x2, double y2, double x1, double y1);
// Appends an arc segment about (centreX, centreY) of `radius`, running
// counter-clockwise from `startDegrees` to `endDegrees`: "14,0" and
// " CX,CY,R,A1,A2,0,0".
void appendArcRecord(std::string& text, double centreX, double centreY, double radius,
                     double startDegrees, double endDegrees);

}  // namespace tavrin
