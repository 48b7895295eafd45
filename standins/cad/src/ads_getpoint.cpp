#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/point_answer.h"
#include "cad/typed_forms.h"
#include "host/ads.h"
#include "text/code_page.h"
#include "text/trim.h"

namespace {

// The last point given at a point prompt, which "@dx,dy" is relative to;
// the origin before the first.
AcGePoint3d lastPoint(0.0, 0.0, 0.0);

const char kPointHelp[] =
    "A point: x,y or x,y,z (full-width digits and commas work too), or @dx,dy\n"
    "relative to the last point given. Enter or Esc gives no point, which\n"
    "cancels (acadtomn says 取消选点!).\n";

}  // namespace

// The reference point only draws a rubber band, on a front end that has a screen.
int ads_getpoint(const ads_point reference, const char* prompt, ads_point result) {
  if (result == nullptr) return RTERROR;
  cad::InputSource& source = cad::input();
  for (;;) {
    if (prompt != nullptr) cad::commandLine().print(prompt);
    // A person is told what the prompt takes; a transcript stays as it was.
    if (source.interactive()) cad::commandLine().printUtf8("[x,y; ?: help; Enter or Esc: cancel] ");
    cad::Asking asking{cad::AskKind::kPoint,
                       prompt != nullptr ? text::cp936ToUtf8Lossy(prompt) : "", std::nullopt};
    if (reference != nullptr) asking.lastPoint = cad::PlanePoint2{reference[X], reference[Y]};
    cad::publishAsking(asking);
    source.setSpaceEndsAnswer(true);
    const cad::Answer answer = source.next();
    if (!answer.isLine()) return RTCAN;
    if (text::trimBlanks(answer.text).empty()) return RTNONE;
    if (cad::isHelpAnswer(answer.text)) {
      cad::commandLine().printUtf8(kPointHelp);
      continue;
    }
    const std::string typed(text::trimBlanks(cad::withAsciiForms(answer.text)));
    const bool relative = typed.starts_with('@');
    const base::Result<AcGePoint3d> point =
        cad::parsePointAnswer(relative ? std::string_view(typed).substr(1) : typed);
    if (point.isOk()) {
      const AcGePoint3d base = relative ? lastPoint : AcGePoint3d(0.0, 0.0, 0.0);
      lastPoint = AcGePoint3d(base.x + point->x, base.y + point->y, base.z + point->z);
      result[X] = lastPoint.x;
      result[Y] = lastPoint.y;
      result[Z] = lastPoint.z;
      return RTNORM;
    }
    source.reject(answer, point.message());
  }
}
