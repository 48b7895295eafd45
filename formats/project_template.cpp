#include "formats/project_template.h"

#include "formats/text_file.h"

namespace tavrin {

namespace {

// The lines of a new project file, in order, without line ends; every space
// is part of the text. Two lines are Chinese words in code page 936; all
// others are ASCII. The last line is empty.
constexpr const char* kTemplateLines[] = {
    "Version97.5",
    "10",
    " 46.586, 30.000",
    "KV",
    "1,1,1,1,2,1",
    "2,  0.800,0,7,2,3",
    "2,  0.500,  0.800,  0.500,  1.300,2",
    "2,1,  0.600,  1.000,  1.000,  0.800,2,0,0,1,0,1,1",
    "KVW",
    "1,1,0,0, 1.00",
    "2,  0.800,0,7,2,9",
    "2,  0.500,  0.800,  0.500,  0.000,  1.300,2,0",
    "2,1,  0.600,  1.000,  1.000,  0.800,2,0,0,1,0,1,1",
    "2,  0.00, 90.00,  0.00,  0.00,  0.00,  0.00",
    "DRMA",
    "1,1,1,0,0,0",
    "0,1,1,  0.850,  0.800,  1.000",
    "  1.000,  0.400,7,2,1,  0.800",
    "  1.000,2,2,3,  1.000,0",
    "  0.500,  1.300,2,2,1",
    "ZPLW",
    "0,3,2,3,  0.00,0,0,0,0,0,0",
    "0,3,7,3,1,  1.00,  1.00,  1.00,2,2,0,  0.05",
    "0,0,  1.00,  0.85,  1.20,  0.55,  0.40,0,  1.00,  1.25, 1.375,  1.10,  1.21,  1.05,  1.10",
    " 25.00,310.00,210.00,310.00,210.00,310.00,210.00,100,100,200,  0.30,  0.00,78.000,3,  0.95",
    "  1.30,  1.40,  1.25,  0.00,  0.00,  0.85,  0.50,35,35,350,600,0",
    "  0.40,2,1,1,10,  1.30,0,  0.00,0,  0.00",
    "MASONRY",
    "0,7,1, 22.00,1,0,0, 0.10, 0.40,0, 1.00, 1.00,0",
    "Layer Mortar",
    "1",
    "10, 5.00",
    "Layer Brick",
    "1",
    "10, 7.50",
    "SPIRE",
    "0",
    "0,1,2,3,4,5,6,7,8,9",
    "  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000",
    "1",
    "10",
    "GeoStdLayer Inform",
    "1",
    "10",
    "Layer High",
    "1",
    "10,  3.000",
    "ColumnWall Concrete Level",
    "1",
    "10,20",
    "Beam Concrete Level",
    "1",
    "10,20",
    "Slab Concrete Level",
    "1",
    "10,20",
    "ColumnWall Steel Level",
    "1",
    "10,2",
    "Beam Steel Level",
    "1",
    "10,2",
    "Slab Steel Level",
    "1",
    "10,1",
    "\xD0\xB1\xD6\xF9",  // 斜柱 (inclined column)
    "1",
    "10,        25,         0",
    "\xB8\xD6\xB9\xDC",  // 钢管 (steel tube)
    "1",
    "10,        25,         0,    215000",
    "Other Information",
    "0",
    "",
};

}  // namespace

bool ProjectTemplate::composeText() {
  templateText_.clear();
  for (const char* line : kTemplateLines) {
    templateText_ += line;
    templateText_ += '\n';
  }
  return true;
}

WriteResult ProjectTemplate::writeToFile(const std::string& path, FileSystem& files) const {
  if (templateText_.empty())
    return WriteResult{WriteOutcome::kWriteFailed, path,
                       FileStatus::error("the project text was not composed")};
  return writeTextFile(path, templateText_, files);
}

}  // namespace tavrin
