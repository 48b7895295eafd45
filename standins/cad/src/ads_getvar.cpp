#include <strings.h>

#include "cad/database.h"
#include "host/ads.h"

int ads_getvar(const char* name, struct resbuf* result) {
  if (name == nullptr || result == nullptr) return RTERROR;
  if (strcasecmp(name, "INSUNITS") != 0) return RTERROR;
  result->rbnext = nullptr;
  result->restype = RTSHORT;
  // Codes are small; one beyond a short is no unit this host knows.
  const int units = cad::currentDatabase().declaredUnits().value_or(0);
  result->resval.rint = static_cast<short>(units >= 0 && units <= 32767 ? units : 0);
  return RTNORM;
}
