#include "resources/export_dialog_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/dialog_texts.h"
#include "resources/module_resources.h"
#include "text/code_page.h"
#include "ui/styles.h"

namespace tavrin {

namespace {

namespace style = ui::style;

std::string utf8(const char* cp936) {
  return text::cp936ToUtf8(cp936).value_or("<not 936>");
}

// The template as a person reads it: id, class, text, rectangle and the
// styles that matter for behaviour.
struct ExpectedControl {
  int id;
  const char* className;
  const char* text;
  ui::DialogRect rect;
  bool tabStop;
  bool readOnly;
};

const ExpectedControl kExpected[] = {
    {-1, "Button", "", {7, 2, 244, 139}, false, false},
    {-1, "Static", "选择标准层:", {10, 10, 95, 10}, false, false},
    {1004, "Edit", "", {15, 23, 69, 15}, true, false},
    {1013, "msctls_updown32", "Spin1", {85, 23, 10, 15}, false, false},
    {-1, "Static", "坐标原点:", {125, 10, 40, 10}, false, false},
    {-1, "Static", "X=", {125, 26, 15, 10}, false, false},
    {1002, "Edit", "", {140, 23, 38, 15}, false, true},
    {-1, "Static", "Y=", {190, 26, 14, 10}, false, false},
    {1007, "Edit", "", {204, 23, 38, 15}, false, true},
    {-1, "Static", "单位:", {10, 41, 25, 10}, false, false},
    {1010, "ComboBox", "", {15, 55, 80, 30}, true, false},
    {-1, "Static", "基准点:", {123, 41, 40, 10}, false, false},
    {-1, "Static", "X=", {123, 58, 15, 10}, false, false},
    {1003, "Edit", "", {138, 55, 38, 15}, false, true},
    {-1, "Static", "Y=", {188, 58, 14, 10}, false, false},
    {1008, "Edit", "", {202, 55, 38, 15}, false, true},
    {-1, "Static", "比例尺:(XXX:1)", {10, 72, 60, 10}, false, false},
    {1009, "Edit", "", {15, 86, 80, 15}, true, false},
    {-1, "Static", "Morlen工程名:", {10, 105, 117, 10}, false, false},
    {1000, "Edit", "", {15, 120, 226, 15}, false, true},
    {1005, "Button", "保存(&S)", {59, 148, 47, 18}, true, false},
    {1006, "Button", "退出(&X)", {139, 148, 47, 18}, true, false},
    {-1, "Static", "Morlen尺寸(米)=Acad数值*比例/单位", {115, 86, 123, 20}, false, false},
};

TEST(ExportDialogTemplate, ControlsMatchTheReadableTableInTemplateOrder) {
  const ui::DialogTemplate& dialog = resources::exportDialogTemplate();
  ASSERT_EQ(dialog.controls.size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const ExpectedControl& want = kExpected[i];
    const ui::ControlTemplate& got = dialog.controls[i];
    SCOPED_TRACE("control " + std::to_string(i + 1) + " (" + want.text + ", id " +
                 std::to_string(want.id) + ")");
    EXPECT_EQ(got.id, want.id);
    EXPECT_STREQ(got.className, want.className);
    EXPECT_EQ(utf8(got.text), want.text);
    EXPECT_EQ(got.rect.x, want.rect.x);
    EXPECT_EQ(got.rect.y, want.rect.y);
    EXPECT_EQ(got.rect.width, want.rect.width);
    EXPECT_EQ(got.rect.height, want.rect.height);
    EXPECT_EQ((got.style & style::kTabStop) != 0, want.tabStop);
    EXPECT_EQ((got.style & style::kEditReadOnly) != 0 && want.className == std::string("Edit"),
              want.readOnly);
    EXPECT_TRUE((got.style & (style::kChild | style::kVisible)) ==
                (style::kChild | style::kVisible));
    if (std::string(got.className) == "Button" && got.id != -1) {
      EXPECT_EQ(got.style & style::kButtonTypeMask, style::kPushButton) << "no default button";
    }
  }
}

TEST(ExportDialogTemplate, TabOrderIsFloorUnitScaleSaveExit) {
  std::vector<int> tabOrder;
  for (const ui::ControlTemplate& control : resources::exportDialogTemplate().controls)
    if (control.style & style::kTabStop) tabOrder.push_back(control.id);
  EXPECT_EQ(tabOrder, (std::vector<int>{1004, 1010, 1009, 1005, 1006}));
}

TEST(ExportDialogTemplate, FrameFontCaptionAndUnitListData) {
  const ui::DialogTemplate& dialog = resources::exportDialogTemplate();
  EXPECT_EQ(dialog.id, 102);
  EXPECT_EQ(utf8(dialog.caption), "存为Morlen轴网格式");
  EXPECT_EQ(utf8(dialog.fontName), "宋体");
  EXPECT_EQ(dialog.fontPointSize, 9);
  EXPECT_EQ(dialog.rect.width, 258);
  EXPECT_EQ(dialog.rect.height, 173);
  const std::uint32_t frame =
      style::kPopup | style::kCaption | style::kSystemMenu | style::kModalFrame;
  EXPECT_EQ(dialog.style & frame, frame);
  ASSERT_EQ(dialog.comboBoxInitData.size(), 1u);
  EXPECT_EQ(dialog.comboBoxInitData[0].controlId, 1010);
  std::vector<std::string> units;
  for (const char* entry : dialog.comboBoxInitData[0].entries) units.push_back(utf8(entry));
  EXPECT_EQ(units, (std::vector<std::string>{"米", "分米", "厘米", "毫米"}));
  for (const ui::ControlTemplate& control : dialog.controls)
    if (control.id == 1010) {
      EXPECT_EQ(control.style & style::kComboSort, 0u) << "not sorted";
    }
}

TEST(ModuleResources, HoldTheExportDialogAndTheModuleName) {
  const ui::ResourceTable& table = resources::moduleResources();
  EXPECT_EQ(table.findDialog(102), &table.dialogs[0]);
  EXPECT_EQ(table.findDialog(102)->controls.data(),
            resources::exportDialogTemplate().controls.data());
  EXPECT_STREQ(table.moduleName, "tavrin");
}

TEST(DialogTexts, AreDistinctChineseWarningsStoredInCodePage936) {
  const char* texts[] = {resources::kInvalidInteger, resources::kInvalidNumber,
                         resources::kFloorOutOfRange, resources::kNoUnitSelected};
  for (const char* text : texts) {
    std::optional<std::string> readable = text::cp936ToUtf8(text);
    ASSERT_TRUE(readable.has_value()) << "not valid code page 936";
    EXPECT_GT(static_cast<unsigned char>(text[0]), 0x80) << *readable << ": starts in Chinese";
  }
  EXPECT_EQ(utf8(resources::kFloorOutOfRange), "标准层号必须在1到1000之间。") << "names the range";
  for (std::size_t i = 0; i < std::size(texts); ++i)
    for (std::size_t j = i + 1; j < std::size(texts); ++j) EXPECT_STRNE(texts[i], texts[j]);
}

}  // namespace

}  // namespace tavrin
