#pragma once

#include "host/host_export.h"
#include "host/result_codes.h"

// The host's command-line interface: point input, selection sets, printing and
// the two small geometry helpers. Strings are 8-bit, code page 936.

typedef double ads_real;
typedef ads_real ads_point[3];
// Names an entity or a selection set; [0] holds the host's key, [1] is unused.
typedef long ads_name[2];

enum { X = 0, Y = 1, Z = 2 };

// One value the host hands over: its type code (RTSHORT, ...) and the
// value. Lists of values chain through rbnext; a system variable's value is
// one resbuf with rbnext null. As a selection filter this host takes none.
union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  char* rstring;
  long rlong;
};
struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};

extern "C" {

// Asks for a point with `prompt`. `reference` (may be null) is the rubber-band
// start. Writes `result` and returns RTNORM on an answer; RTNONE on an empty
// answer, RTCAN on cancel, RTERROR on failure (result untouched).
HOST_API int ads_getpoint(const ads_point reference, const char* prompt, ads_point result);

// Interactive selection. Mode, points and filter must be null (else RTREJ):
// this host only supports the interactive form. RTNORM with a new, non-empty
// set in `set`; RTERROR when nothing was selected; RTCAN on cancel. Any result
// but RTNORM leaves `set` untouched and allocates nothing.
HOST_API int ads_ssget(const char* mode, const void* point1, const void* point2,
                       const struct resbuf* filter, ads_name set);
// Number of entities in `set`. RTNORM, or RTERROR for an unknown set.
HOST_API int ads_sslength(const ads_name set, long* length);
// Entity name at `index`. RTNORM, or RTERROR when the set or index is invalid.
HOST_API int ads_ssname(const ads_name set, long index, ads_name entity);
// Releases `set`. RTNORM, or RTERROR for an unknown set.
HOST_API int ads_ssfree(const ads_name set);

// The value of the system variable `name` (ASCII, any case) into `*result`,
// which the caller owns: RTNORM, or RTERROR for a variable the host does not
// know (result untouched). Known: "INSUNITS", the drawing's declared unit as
// RTSHORT (0 none, 1 inch, 2 foot, 4 millimetre, 5 centimetre, 6 metre,
// 14 decimetre, ...); 0 when the drawing declares none.
HOST_API int ads_getvar(const char* name, struct resbuf* result);

// printf-style output to the command line. Returns RTNORM.
HOST_API int ads_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// result = point + distance * (cos angle, sin angle) in XY; z is copied.
// Returns RTNORM.
HOST_API int ads_polar(const ads_point point, ads_real angle, ads_real distance, ads_point result);
// Direction from `from` to `to` in the XY plane, radians from +X in [0, 2*pi).
HOST_API ads_real ads_angle(const ads_point from, const ads_point to);

}  // extern "C"
