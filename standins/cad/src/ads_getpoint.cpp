#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/point_answer.h"
#include "host/ads.h"
#include "text/code_page.h"
#include "text/trim.h"

// The reference point only draws a rubber band, on a front end that has a screen.
int ads_getpoint(const ads_point reference, const char* prompt, ads_point result) {
  if (result == nullptr) return RTERROR;
  cad::InputSource& source = cad::input();
  for (;;) {
    if (prompt != nullptr) cad::commandLine().print(prompt);
    // A person is told what the prompt takes; a transcript stays as it was.
    if (source.interactive()) cad::commandLine().printUtf8("[x,y; Enter: none; Esc: cancel] ");
    cad::Asking asking{cad::AskKind::kPoint,
                       prompt != nullptr ? text::cp936ToUtf8Lossy(prompt) : "", std::nullopt};
    if (reference != nullptr) asking.lastPoint = cad::PlanePoint2{reference[X], reference[Y]};
    cad::publishAsking(asking);
    const cad::Answer answer = source.next();
    if (!answer.isLine()) return RTCAN;
    if (text::trimBlanks(answer.text).empty()) return RTNONE;
    const base::Result<AcGePoint3d> point = cad::parsePointAnswer(answer.text);
    if (point.isOk()) {
      result[X] = point->x;
      result[Y] = point->y;
      result[Z] = point->z;
      return RTNORM;
    }
    source.reject(answer, point.message());
  }
}
