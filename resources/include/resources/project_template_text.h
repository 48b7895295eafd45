#pragma once

namespace tavrin::resources {

// The lines of a new project file, in order, without line ends; every space
// is part of the text. Line 66 is 斜柱 (inclined column) and line 69 is 钢管
// (steel tube), in code page 936; all other lines are ASCII. The last line is
// empty.
inline constexpr int kProjectTemplateLineCount = 74;
extern const char* const kProjectTemplateLines[kProjectTemplateLineCount];

}  // namespace tavrin::resources
