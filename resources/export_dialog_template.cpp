// The build stores every narrow literal below in code page 936
// (cmake/cp936_literals.py).
#include "resources/export_dialog_template.h"

#include "ui/styles.h"

namespace tavrin::resources {
namespace {

namespace style = ui::style;
constexpr int kNone = ui::kNoControlId;

constexpr std::uint32_t kLabel =
    style::kChild | style::kVisible | style::kStaticLeft | style::kStaticCentreVertically;
constexpr std::uint32_t kInputEdit = style::kChild | style::kVisible | style::kBorder |
                                     style::kTabStop | style::kEditAutoHorizontalScroll;
constexpr std::uint32_t kShownEdit = style::kChild | style::kVisible | style::kBorder |
                                     style::kEditReadOnly | style::kEditAutoHorizontalScroll;
constexpr std::uint32_t kPush =
    style::kChild | style::kVisible | style::kPushButton | style::kTabStop;

constexpr ui::ControlTemplate kControls[] = {
    {kNone, "Button", "", {7, 2, 244, 139}, style::kChild | style::kVisible | style::kGroupBox},
    {kNone, "Static", "选择标准层:", {10, 10, 95, 10}, kLabel},
    {kFloorEdit, "Edit", "", {15, 23, 69, 15}, kInputEdit},
    {kFloorSpin,
     "msctls_updown32",
     "Spin1",
     {85, 23, 10, 15},
     style::kChild | style::kVisible | style::kUpDownArrowKeys},
    {kNone, "Static", "坐标原点:", {125, 10, 40, 10}, kLabel},
    {kNone, "Static", "X=", {125, 26, 15, 10}, kLabel},
    {kOriginXEdit, "Edit", "", {140, 23, 38, 15}, kShownEdit},
    {kNone, "Static", "Y=", {190, 26, 14, 10}, kLabel},
    {kOriginYEdit, "Edit", "", {204, 23, 38, 15}, kShownEdit},
    {kNone, "Static", "单位:", {10, 41, 25, 10}, kLabel},
    {kUnitList,
     "ComboBox",
     "",
     {15, 55, 80, 30},
     style::kChild | style::kVisible | style::kDropDownList | style::kVerticalScroll |
         style::kTabStop},
    {kNone, "Static", "基准点:", {123, 41, 40, 10}, kLabel},
    {kNone, "Static", "X=", {123, 58, 15, 10}, kLabel},
    {kReferenceXEdit, "Edit", "", {138, 55, 38, 15}, kShownEdit},
    {kNone, "Static", "Y=", {188, 58, 14, 10}, kLabel},
    {kReferenceYEdit, "Edit", "", {202, 55, 38, 15}, kShownEdit},
    {kNone, "Static", "比例尺:(XXX:1)", {10, 72, 60, 10}, kLabel},
    {kScaleEdit, "Edit", "", {15, 86, 80, 15}, kInputEdit},
    {kNone, "Static", "Morlen工程名:", {10, 105, 117, 10}, kLabel},
    {kProjectNameEdit, "Edit", "", {15, 120, 226, 15}, kShownEdit},
    {kSaveButton, "Button", "保存(&S)", {59, 148, 47, 18}, kPush},
    {kExitButton, "Button", "退出(&X)", {139, 148, 47, 18}, kPush},
    // Left-aligned over two lines, not centred vertically.
    {kNone,
     "Static",
     "Morlen尺寸(米)=Acad数值*比例/单位",
     {115, 86, 123, 20},
     style::kChild | style::kVisible | style::kStaticLeft},
};

constexpr const char* kUnits[] = {"米", "分米", "厘米", "毫米"};
// Typing one of these (or the start of a unit) picks the unit.
constexpr const char* kUnitKeys[] = {"m", "dm", "cm", "mm"};
constexpr ui::ComboBoxInitData kInitData[] = {{kUnitList, kUnits, kUnitKeys}};

constexpr ui::DialogTemplate kExportDialog{
    kExportDialogId,
    "存为Morlen轴网格式",
    style::kPopup | style::kCaption | style::kSystemMenu | style::kModalFrame | style::kSetFont,
    "宋体",
    9,
    {0, 0, 258, 173},
    kControls,
    kInitData,
};

}  // namespace

const ui::DialogTemplate& exportDialogTemplate() {
  return kExportDialog;
}

}  // namespace tavrin::resources
