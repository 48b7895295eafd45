#pragma once

#include "ui/resource_table.h"

// Dialog template 102, the export dialog: where the user confirms the floor,
// unit and scale of one export. Texts are code page 936.
namespace tavrin::resources {

inline constexpr int kExportDialogId = 102;

// Control ids.
inline constexpr int kProjectNameEdit = 1000;
inline constexpr int kOriginXEdit = 1002;
inline constexpr int kReferenceXEdit = 1003;
inline constexpr int kFloorEdit = 1004;
inline constexpr int kSaveButton = 1005;
inline constexpr int kExitButton = 1006;
inline constexpr int kOriginYEdit = 1007;
inline constexpr int kReferenceYEdit = 1008;
inline constexpr int kScaleEdit = 1009;
inline constexpr int kUnitList = 1010;
inline constexpr int kFloorSpin = 1013;

// The template with its controls in template order and the unit list's
// initialisation data ("米", "分米", "厘米", "毫米": index = power of ten of
// the metre). Constant for the life of the program.
const ui::DialogTemplate& exportDialogTemplate();

}  // namespace tavrin::resources
