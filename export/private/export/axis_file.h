#pragma once

#include <string>

#include "axis/axis.h"
#include "axis/axis_set.h"
#include "formats/axis_file_records.h"
#include "formats/write_result.h"
#include "host/file_system.h"

namespace tavrin {

// The axis file of one standard floor (formats/axis_file_records.h) from the
// axes: one segment record between neighbouring points of each axis, in
// Morlen coordinates (metres).
//
// A drawing point (x, y) converts, with P = powerOfTen(unitExponent) and
// Q = powerOfTen(intrinsicUnitExponent), as
//   X = (x * iScale / P - originX * IntrinsicScale / Q) - offX,
//   offX = baseX * iScale / P - referenceX * IntrinsicScale / Q,
// and Y likewise, evaluated in exactly this grouping.

// The proposed coordinate origin, in drawing units: a quarter of the extent of
// all axis points (x and y) below and left of their lower-left corner. With no
// axis in the set the out-parameters are not written.
void defaultOrigin(const AxisSet& set, double& outX, double& outY);

// Converts `axis` and appends its segment records to `text`; prints the two
// trace lines ("IntrinsicScale:", "iScale:") on the host's command line first.
// Counts each record in set.lineCount or set.arcCount. Returns false when a
// converted value is above kCoordinateLimit or not finite; records of earlier
// segments of the axis then stay appended. An axis of a kind other than
// Straight or Arc appends nothing and is accepted.
bool appendAxisRecords(AxisSet& set, std::string& text, const Axis& axis);

// Composes the whole axis file of `set` in memory and writes it to `path`
// (code page 936) through writeTextFile(). Resets the counters first.
// kTooLarge when an axis was refused: nothing on disk is created or changed.
// kWriteFailed when the file could not be written: the file that was there
// stays unchanged. kWritten otherwise.
WriteResult writeAxisFile(AxisSet& set, const std::string& path, FileSystem& files);

}  // namespace tavrin
