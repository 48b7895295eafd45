// The build stores every narrow literal below in code page 936
// (cmake/cp936_literals.py).
#include "resources/texts.h"

namespace tavrin::resources {

const char kStartupHint[] = "\nType \"AcadToMN\" to execute\n";
const char kBasePointPrompt[] = "\n选择基准点：";
const char kBasePointCancelled[] = "\n取消选点!";
const char kBasePointBesideReference[] = "本图基准点 %s,%s → 基准点 %s,%s";
const char kSelectionPrompt[] = "\n选择需转化的线(LINE)和弧(ARC):\n";
const char kSelectionFailed[] = "\n选择实体失败!";
const char kIntrinsicScaleTrace[] = "IntrinsicScale:%f\n";
const char kScaleTrace[] = "iScale:%f\n";
const char kCrossingsProgress[] = "正在求交点";
const char kCollectionStopped[] = "\n已中止，未写入任何文件。\n";
const char kSelectionSummary[] =
    "%ld 条直线(LINE)和 %ld 条弧(ARC)成为轴线，其余 %ld 个实体已忽略。\n";
const char kNothingToExport[] = "没有轴线，未导出任何文件。\n";

const char kUnitMetre[] = "米";
const char kUnitDecimetre[] = "分米";
const char kUnitCentimetre[] = "厘米";
const char kUnitMillimetre[] = "毫米";
const char kUnitNotPlausible[] = "图纸声明单位为%s，但所选轴线跨度为 %s 个单位：建议选择%s。";
const char kMillimetresNotPlausible[] =
    "图纸声明单位为毫米，但所选轴线跨度仅 %s 个单位，不像建筑尺寸：请核对单位和比例尺。";
const char kDeclaredInches[] = "图纸声明单位为英寸：若确以英寸绘制，请选择毫米并将比例尺设为25.4。";
const char kDeclaredFeet[] = "图纸声明单位为英尺：若确以英尺绘制，请选择毫米并将比例尺设为304.8。";
const char kDeclaredOtherUnit[] =
    "图纸声明的单位($INSUNITS %s)不在单位列表中：建议选择毫米，请核对单位和比例尺。";
const char kUnitDiffersFromProject[] =
    "本图声明单位为%s，与工程单位%s不同：保存前请核对单位和比例尺。";

const char kProjectFileFilter[] = "Morlen工程文件(*.prj)|*.prj||";
const char kProjectFileExtension[] = "prj";
const char kDataTooLarge[] = "数据过大，您可能选择了一个错误的比例尺或单位";
const char kOverwriteFloor[] = "该标准层数据已存在，是否覆盖?";
const char kFileWriteFailed[] = "无法写入文件：%s\n原因：%s\n原有文件保持不变。";
const char kFolderNotWritable[] = "无法在文件夹%s中创建文件，请另选位置。";
const char kProjectInUse[] = "工程%s正被另一个程序使用，请稍后再试。\n本次未写入任何文件。";

const char kReasonReadOnly[] = "文件为只读";
const char kReasonNoPermission[] = "没有写入权限";
const char kReasonDiskFull[] = "磁盘空间不足";
const char kReasonReadOnlyDisk[] = "磁盘为只读";
const char kReasonNoFolder[] = "文件夹不存在";
const char kReasonFolderInTheWay[] = "已有同名的文件夹";
const char kReasonNameTooLong[] = "文件名太长";
const char kReasonUnknown[] = "未知错误";
const char kAxisFileWritten[] = "已写入 %s：%d 条轴线，%d 段\n";
const char kCoordinatesReset[] =
    "第1标准层重新导出，工程坐标系已按本图重新设定：原点 %g,%g，基准点 %g,%g\n";

}  // namespace tavrin::resources
