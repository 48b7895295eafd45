#include "formats/project_files.h"

#include <gtest/gtest.h>

namespace tavrin {

namespace {

TEST(ProjectFiles, SiblingsLieInTheProjectFolderCutAtTheFirstDot) {
  struct Case {
    const char* label;
    const char* project;
    const char* suffix;
    const char* expected;
  } cases[] = {
      {"plain", "/jobs/house.prj", ".inf", "/jobs/house.inf"},
      {"dots in folder and name", "/jobs.v1/tower.v2.prj", ".N12", "/jobs.v1/tower.N12"},
      {"no dot", "/jobs/house", ".N1", "/jobs/.N1"},
      {"bare name", "house.prj", ".inf", "house.inf"},
      {"leading dot", "/jobs/.prj", ".inf", "/jobs/.inf"},
      // 轴网/工程.prj in code page 936.
      {"code page 936 names", "/\xD6\xE1\xCD\xF8/\xB9\xA4\xB3\xCC.prj", ".N3",
       "/\xD6\xE1\xCD\xF8/\xB9\xA4\xB3\xCC.N3"},
  };
  for (const Case& c : cases) EXPECT_EQ(projectSibling(c.project, c.suffix), c.expected) << c.label;
}

TEST(ProjectFiles, ATrailByteThatLooksLikeASeparatorIsNotOne) {
  // A lead byte followed by 0x5C ("\") stays one character; "/" and "." can
  // only be single-byte characters, so a scan by bytes and one by characters
  // agree on them. What must not happen is a lead byte eating a real "/".
  EXPECT_EQ(projectFolder("/a\x81\x5C/b.prj"), "/a\x81\x5C/");
  EXPECT_EQ(projectBase("\x81\x5C.x.prj"), "\x81\x5C");
  // A lone lead byte at the very end is kept as it is.
  EXPECT_EQ(projectFileName("/dir/name\x81"), "name\x81");
}

TEST(ProjectFiles, FloorSuffixHasNoLeadingZeros) {
  EXPECT_EQ(floorSuffix(1), ".N1");
  EXPECT_EQ(floorSuffix(12), ".N12");
  EXPECT_EQ(floorSuffix(1000), ".N1000");
}

}  // namespace

}  // namespace tavrin
