// The build stores every narrow literal below in code page 936
// (cmake/cp936_literals.py).
#include "resources/dialog_texts.h"

namespace tavrin::resources {

const char kInvalidInteger[] = "请输入一个整数。";
const char kInvalidNumber[] = "请输入一个有效的数值（比例尺须大于0）。";
const char kFloorOutOfRange[] = "标准层号必须在1到1000之间。";
const char kNoUnitSelected[] = "请选择单位。";

}  // namespace tavrin::resources
