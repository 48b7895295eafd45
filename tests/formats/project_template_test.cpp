#include "formats/project_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace tavrin {

namespace {

std::vector<std::string> splitLines(const std::string& text, const std::string& end) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size())
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST(ProjectTemplate, HoldsNoTextUntilComposed) {
  ProjectTemplate projectTemplate;
  EXPECT_TRUE(projectTemplate.templateText().empty());
  EXPECT_TRUE(projectTemplate.composeText());
  EXPECT_EQ(projectTemplate.templateText().size(), 1339u);
  // Composing again gives the same text, not twice the text.
  EXPECT_TRUE(projectTemplate.composeText());
  EXPECT_EQ(projectTemplate.templateText().size(), 1339u);
}

TEST(ProjectTemplate, FileHas74LinesAnd1413Bytes) {
  TempFolder folder;
  FaultInjectingFileSystem files;
  ProjectTemplate projectTemplate;
  projectTemplate.composeText();
  const std::string path = folder.file("house.prj");
  ASSERT_TRUE(projectTemplate.writeToFile(path, files).written());

  const std::string bytes = fileBytes(path);
  EXPECT_EQ(bytes.size(), 1413u);
  EXPECT_EQ(bytes.substr(bytes.size() - 5), "0\r\n\r\n");
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
  const std::vector<std::string> lines = splitLines(bytes, "\r\n");
  // 74 lines each ended by CR LF; nothing after the last line end.
  ASSERT_EQ(lines.size(), 75u);
  EXPECT_EQ(lines[74], "");
  for (const std::string& line : lines) EXPECT_EQ(line.find('\n'), std::string::npos) << line;

  struct Line {
    int number;
    std::string text;
  } samples[] = {
      {1, "Version97.5"},
      {3, " 46.586, 30.000"},
      {6, "2,  0.800,0,7,2,3"},
      {24,
       "0,0,  1.00,  0.85,  1.20,  0.55,  0.40,0,  1.00,  1.25, 1.375,  1.10,  1.21,  1.05,  "
       "1.10"},
      {25,
       " 25.00,310.00,210.00,310.00,210.00,310.00,210.00,100,100,200,  0.30,  0.00,78.000,3,  "
       "0.95"},
      {39, "  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000,  3.000"},
      {66, "\xd0\xb1\xd6\xf9"},  // 斜柱 in code page 936
      {68, "10,        25,         0"},
      {69, "\xb8\xd6\xb9\xdc"},  // 钢管 in code page 936
      {71, "10,        25,         0,    215000"},
      {72, "Other Information"},
      {73, "0"},
      {74, ""},
  };
  for (const Line& s : samples)
    EXPECT_EQ(lines[static_cast<std::size_t>(s.number - 1)], s.text) << "line " << s.number;
  int asciiLines = 0;
  for (const std::string& line : lines) {
    bool ascii = true;
    for (const char c : line) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    asciiLines += ascii;
  }
  EXPECT_EQ(asciiLines, 73);  // all but lines 66 and 69, plus the empty tail
}

TEST(ProjectTemplate, ReplacesAnExistingFileAndNeedsAComposedText) {
  TempFolder folder;
  FaultInjectingFileSystem files;
  const std::string path = folder.file("house.prj");
  putFileBytes(path, std::string(4000, 'x'));

  ProjectTemplate uncomposed;
  const WriteResult refused = uncomposed.writeToFile(path, files);
  EXPECT_EQ(refused.outcome, WriteOutcome::kWriteFailed);
  EXPECT_TRUE(files.created.empty());
  EXPECT_EQ(fileBytes(path).size(), 4000u);

  ProjectTemplate composed;
  composed.composeText();
  ASSERT_TRUE(composed.writeToFile(path, files).written());
  EXPECT_EQ(fileBytes(path).size(), 1413u);
}

TEST(ProjectTemplate, FailingCloseKeepsTheOldProjectFile) {
  TempFolder folder;
  FaultInjectingFileSystem files;
  files.failClose = true;
  const std::string path = folder.file("house.prj");
  putFileBytes(path, "mine");
  ProjectTemplate projectTemplate;
  projectTemplate.composeText();
  EXPECT_EQ(projectTemplate.writeToFile(path, files).outcome, WriteOutcome::kWriteFailed);
  EXPECT_EQ(fileBytes(path), "mine");
  EXPECT_EQ(folder.entries(), std::vector<std::string>{"house.prj"});
}

}  // namespace

}  // namespace tavrin
