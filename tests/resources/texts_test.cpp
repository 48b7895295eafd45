#include "resources/texts.h"

#include <gtest/gtest.h>

#include "text/code_page.h"

namespace tavrin {

namespace {

// Each stored text against its readable form: the build must have stored it
// in code page 936, byte for byte.
struct TextCase {
  const char* label;
  const char* stored;
  const char* utf8;
};

const TextCase kTexts[] = {
    {"startup hint", resources::kStartupHint, "\nType \"AcadToMN\" to execute\n"},
    {"base point prompt", resources::kBasePointPrompt, "\n选择基准点："},
    {"base point cancelled", resources::kBasePointCancelled, "\n取消选点!"},
    {"selection prompt", resources::kSelectionPrompt, "\n选择需转化的线(LINE)和弧(ARC):\n"},
    {"selection failed", resources::kSelectionFailed, "\n选择实体失败!"},
    {"intrinsic scale trace", resources::kIntrinsicScaleTrace, "IntrinsicScale:%f\n"},
    {"scale trace", resources::kScaleTrace, "iScale:%f\n"},
    {"project filter", resources::kProjectFileFilter, "Morlen工程文件(*.prj)|*.prj||"},
    {"project extension", resources::kProjectFileExtension, "prj"},
    {"data too large", resources::kDataTooLarge, "数据过大，您可能选择了一个错误的比例尺或单位"},
    {"overwrite floor", resources::kOverwriteFloor, "该标准层数据已存在，是否覆盖?"},
    {"file write failed", resources::kFileWriteFailed,
     "无法写入文件：%s\n原因：%s\n原有文件保持不变。"},
    {"project in use", resources::kProjectInUse,
     "工程%s正被另一个程序使用，请稍后再试。\n本次未写入任何文件。"},
    {"read-only", resources::kReasonReadOnly, "文件为只读"},
};

TEST(ModuleTexts, AreStoredInCodePage936) {
  for (const TextCase& c : kTexts) {
    auto expected = text::utf8ToCp936(c.utf8);
    ASSERT_TRUE(expected.has_value()) << c.label;
    EXPECT_EQ(std::string(c.stored), *expected) << c.label;
  }
}

TEST(ModuleTexts, CancelMessageHasKnownBytes) {
  // 取 消 选 点 in code page 936.
  EXPECT_EQ(std::string(resources::kBasePointCancelled), "\n\xC8\xA1\xCF\xFB\xD1\xA1\xB5\xE3!");
}

}  // namespace

}  // namespace tavrin
