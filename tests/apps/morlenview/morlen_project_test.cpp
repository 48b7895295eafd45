#include "morlenview/morlen_project.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fault_injecting_file_system.h"
#include "support/temp_folder.h"

namespace {

const std::string kOneSegment = "0\r\nGraph Link\r\n1\r\n9,0\r\n 1.0,2.0,3.0,4.0,0,0\r\n";

class MorlenProjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    putFileBytes(folder_.file("tower.prj"), "project");
    putFileBytes(folder_.file("tower.inf"),
                 "-2500.000000,-4500.000000,1000.000000,500.000000,3,"
                 "100.000000,");
  }
  TempFolder folder_;
  FaultInjectingFileSystem files_;
};

TEST_F(MorlenProjectTest, FindsTheFloorsBesideTheProjectInFloorOrder) {
  for (const char* name : {"tower.N10", "tower.N2", "tower.N1", "tower.N01", "tower.N2x",
                           "other.N3", "tower.N", "tower.inf.N4"})
    putFileBytes(folder_.file(name), kOneSegment);
  putFileBytes(folder_.file("tower.N2"), "0\r\nGraph Link\r\n2\r\n");
  const auto project = morlenview::loadMorlenProject(folder_.file("tower.prj"), {}, files_);
  ASSERT_TRUE(project.isOk()) << project.message();
  EXPECT_EQ(project->name, "tower");
  std::vector<int> numbers;
  for (const auto& floor : project->floors) numbers.push_back(floor.number);
  EXPECT_EQ(numbers, (std::vector<int>{1, 2, 10}));
  EXPECT_TRUE(project->floors[0].read());
  EXPECT_EQ(project->floors[0].lines.size(), 1u);
  EXPECT_EQ(project->floors[0].summary.straightSegments, 1u);
  EXPECT_EQ(project->floors[0].summary.points.size(), 2u);
  EXPECT_FALSE(project->floors[1].read());
  EXPECT_NE(project->floors[1].status.message().find(
                "tower.N2 line 4: the file ends after 0 of 2 segments"),
            std::string::npos)
      << project->floors[1].status.message();
  ASSERT_TRUE(project->parameters.isOk());
  // (1000 - -2500) mm at 1:100 is 350 m; (500 - -4500) is 500 m.
  const auto reference = morlenview::referencePointInMetres(*project->parameters);
  EXPECT_NEAR(reference.x, 350.0, 1e-9);
  EXPECT_NEAR(reference.y, 500.0, 1e-9);
}

TEST_F(MorlenProjectTest, OnlyTheFloorsAskedFor) {
  for (const char* name : {"tower.N1", "tower.N2", "tower.N3"})
    putFileBytes(folder_.file(name), kOneSegment);
  const auto project = morlenview::loadMorlenProject(folder_.file("tower.prj"), {3, 1}, files_);
  ASSERT_TRUE(project.isOk()) << project.message();
  ASSERT_EQ(project->floors.size(), 2u);
  EXPECT_EQ(project->floors[0].number, 1);
  EXPECT_EQ(project->floors[1].number, 3);
  const auto missing = morlenview::loadMorlenProject(folder_.file("tower.prj"), {4}, files_);
  EXPECT_FALSE(missing.isOk());
  const std::string& error = missing.message();
  EXPECT_NE(error.find("floor 4: no axis file tower.N4"), std::string::npos) << error;
}

TEST_F(MorlenProjectTest, WithoutAParameterFileTheFloorsAreStillRead) {
  std::remove(folder_.file("tower.inf").c_str());
  putFileBytes(folder_.file("tower.N1"), kOneSegment);
  const auto project = morlenview::loadMorlenProject(folder_.file("tower.prj"), {}, files_);
  ASSERT_TRUE(project.isOk()) << project.message();
  EXPECT_FALSE(project->parameters.isOk());
  EXPECT_NE(project->parameters.message().find("tower.inf"), std::string::npos)
      << project->parameters.message();
  EXPECT_EQ(project->floors.size(), 1u);
}

TEST_F(MorlenProjectTest, AParameterFileTheExportNeverWritesIsNamedWithTheValueAndWhy) {
  putFileBytes(folder_.file("tower.N1"), kOneSegment);
  struct Case {
    const char* label;
    std::string text;
    const char* message;
  };
  const Case cases[] = {
      {"binary garbage",
       std::string("\x7f"
                   "ELF\x02\x01\x01\0\0\0",
                   10),
       "tower.inf is not what the export writes: byte 1 is not printable ASCII"},
      {"unit 99", "0.000000,0.000000,0.000000,0.000000,99,1.000000,",
       "tower.inf is not what the export writes: value 5 (unit index) \"99\" is not a unit the "
       "export writes"},
      {"scale 0", "0.000000,0.000000,0.000000,0.000000,3,0.000000,",
       "tower.inf is not what the export writes: value 6 (scale) \"0.000000\" is not above 0"},
      {"a whole page of text", std::string(5000, '1'),
       "tower.inf is not what the export writes: longer than 4096 bytes"},
  };
  for (const Case& c : cases) {
    putFileBytes(folder_.file("tower.inf"), c.text);
    const auto project = morlenview::loadMorlenProject(folder_.file("tower.prj"), {}, files_);
    ASSERT_TRUE(project.isOk()) << project.message();
    EXPECT_TRUE(project->parametersFaulty) << c.label;
    ASSERT_FALSE(project->parameters.isOk()) << c.label;
    EXPECT_NE(project->parameters.message().find(c.message), std::string::npos)
        << c.label << ": " << project->parameters.message();
    EXPECT_TRUE(project->floors[0].read()) << c.label;
  }
}

}  // namespace
