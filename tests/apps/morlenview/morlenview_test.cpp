// morlenview and cadhost's plot command run as a user runs them, on projects
// exported by cadhost with the real module.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "formats/axis_file_records.h"
#include "formats/text_file.h"
#include "support/program_test.h"

namespace {

namespace fs = std::filesystem;

// Pixels of a PNG that are plainly red (the near-miss rings).
int redPixels(const fs::path& png) {
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create_from_png(png.c_str()), cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return -1;
  cairo_surface_flush(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  int red = 0;
  for (int y = 0; y < cairo_image_surface_get_height(surface.get()); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(surface.get()); ++x) {
      std::uint32_t pixel = 0;
      std::memcpy(&pixel, data + y * stride + x * 4, 4);
      if (((pixel >> 16) & 0xFF) > 0xD0 && ((pixel >> 8) & 0xFF) < 0x30 && (pixel & 0xFF) < 0x30)
        ++red;
    }
  return red;
}

// A 2 by 1 bay grid, 6 m bays: in millimetres, or the same in metres.
std::string gridDxf(double unit) {
  std::string text = "  0\nSECTION\n  2\nENTITIES\n";
  const auto line = [&](double x1, double y1, double x2, double y2) {
    text += "  0\nLINE\n  8\nAXIS\n 10\n" + std::to_string(x1 * unit) + "\n 20\n" +
            std::to_string(y1 * unit) + "\n 11\n" + std::to_string(x2 * unit) + "\n 21\n" +
            std::to_string(y2 * unit) + "\n";
  };
  for (double x : {0.0, 6000.0, 12000.0}) line(x, 0, x, 6000);
  for (double y : {0.0, 6000.0}) line(0, y, 12000, y);
  return text + "  0\nENDSEC\n  0\nEOF\n";
}

// A script exporting the axes on layer AXIS with the base point `base` as
// floor `floor` of project.prj, with the dialog's unit `unit` (0 metre ...
// 3 millimetre).
std::string exportScript(const std::string& base, int floor, int unit = 3) {
  return "acadtomn\n" + base + "\nlayer AXIS\n\nproject.prj\nset 1004 " + std::to_string(floor) +
         "\nselect 1010 " + std::to_string(unit) + "\nclick 1005\n";
}

class MorlenviewTest : public ProgramTest {
 protected:
  // Runs `program` with `arguments` in the test's folder.
  Outcome run(const std::string& program, const std::vector<std::string>& arguments) {
    return runShell("cd " + quoted(folder_.string()) + " && " + commandLine(program, arguments) +
                    " </dev/null");
  }

  // cadhost on `drawing` with `script`; the export must succeed.
  void exportWith(const std::string& drawing, const std::string& script) {
    const Outcome outcome = run(CADHOST_PATH, {"--script", write("export.scr", script), drawing});
    ASSERT_EQ(outcome.status, 0) << outcome.out << outcome.err;
  }

  Outcome view(std::vector<std::string> extra = {}) {
    extra.insert(extra.begin(), "project.prj");
    return run(MORLENVIEW_PATH, extra);
  }
};

const std::string kPlan = std::string(TAVRIN_EXAMPLES_DIR) + "/plan/plan.dxf";

TEST_F(MorlenviewTest, PlanFloorsWithTheSameAndAShiftedBasePoint) {
  // Floor 2 with its base point 100 mm off; floors 1 and 3 as they should be.
  exportWith(kPlan, exportScript("0,0", 1) + exportScript("100,0", 2) + exportScript("0,0", 3));
  const Outcome outcome = view();
  EXPECT_EQ(outcome.status, 3) << outcome.out << outcome.err;
  EXPECT_NE(outcome.out.find("Floor 1 (project.N1): 77 segments (65 straight, 12 arc)"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("Alignment of 3 floors: they do NOT line up"), std::string::npos);
  EXPECT_NE(outcome.out.find("floors 1 and 3: line up"), std::string::npos) << outcome.out;
  for (const char* pair : {"floors 1 and 2: ", "floors 2 and 3: "})
    EXPECT_NE(outcome.out.find(std::string(pair) +
                               "118 points lie 1 to 300 mm off a point of the other floor, "
                               "largest offset 100.0 mm"),
              std::string::npos)
        << pair << "\n"
        << outcome.out;
  // Which way, and which floor.
  EXPECT_NE(outcome.out.find("largest offset 100.0 mm; floor 2 lies dx -100.0 mm, dy +0.0 mm off "
                             "floor 1\n"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("floor 3 lies dx +100.0 mm, dy +0.0 mm off floor 2\n"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("  floor 2 is the odd one out: it lines up with none of floors 1 "
                             "and 3, which line up with each other\n"),
            std::string::npos)
      << outcome.out;
  for (const char* picture :
       {"project.N1.png", "project.N2.png", "project.N3.png", "project.floors.png"})
    EXPECT_TRUE(fs::is_regular_file(folder_ / picture)) << picture;
  // The near misses are ringed in red on the overlay, and only there.
  EXPECT_GT(redPixels(folder_ / "project.floors.png"), 100);
  EXPECT_EQ(redPixels(folder_ / "project.N1.png"), 0);
}

TEST_F(MorlenviewTest, AlignedPlanFloorsLineUp) {
  exportWith(kPlan, exportScript("0,0", 1) + exportScript("0,0", 2));
  const Outcome outcome = view({"--format", "svg", "--out", "pictures"});
  EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
  EXPECT_NE(outcome.out.find("Alignment of 2 floors: they line up"), std::string::npos)
      << outcome.out;
  EXPECT_TRUE(fs::is_regular_file(folder_ / "pictures" / "project.floors.svg"));
  EXPECT_EQ(redPixels(folder_ / "project.floors.png"), -1);  // no PNG written
}

TEST_F(MorlenviewTest, MetresExportedAsMillimetresAreReported) {
  const std::string millimetres = write("mm.dxf", gridDxf(1.0));
  const std::string metres = write("m.dxf", gridDxf(0.001));
  exportWith(millimetres, exportScript("0,0", 1));
  exportWith(metres, exportScript("0,0", 2, 3));  // the wrong unit: 1000 times too small
  exportWith(metres, exportScript("0,0", 3, 0));  // metres, as it should be
  const Outcome outcome = view();
  EXPECT_EQ(outcome.status, 3) << outcome.out << outcome.err;
  EXPECT_NE(outcome.out.find("floors 1 and 3: line up"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("floors 1 and 2: 5 points lie 1 to 300 mm off a point of the other "
                             "floor, largest offset 13.4 mm; the offsets differ from point to "
                             "point (median dx "),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("mm): not one shift, a unit or scale may differ\n"), std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("floors 2 and 3: 5 points lie"), std::string::npos) << outcome.out;
}

TEST_F(MorlenviewTest, AFloorThatCannotBeReadIsNamedAndTheOthersAreDrawn) {
  exportWith(kPlan, exportScript("0,0", 1) + exportScript("0,0", 2));
  write("project.N3", "0\r\nGraph Link\r\n1\r\n9,0\r\n 1.0,2.0,3.0\r\n");
  const Outcome outcome = view();
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.out.find("Floor 3 (project.N3): cannot be read: project.N3 line 5: expected "
                             "6 values"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("Alignment of 2 floors: they line up"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(folder_ / "project.N2.png"));
  EXPECT_FALSE(fs::exists(folder_ / "project.N3.png"));
}

// A floor of `n` by `n` axes 2 m apart, written as the export writes it:
// 2 n (n - 1) segments.
std::string gridFloor(int n) {
  std::string text;
  tavrin::appendAxisFileHeader(text, 2 * n * (n - 1));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j + 1 < n; ++j) {
      tavrin::appendStraightRecord(text, i * 2.0, (j + 1) * 2.0, i * 2.0, j * 2.0);
      tavrin::appendStraightRecord(text, (j + 1) * 2.0, i * 2.0, j * 2.0, i * 2.0);
    }
  return tavrin::toDiskText(text);
}

std::string oneRecordFloor(const std::string& kind, const std::string& values) {
  return "0\r\nGraph Link\r\n1\r\n" + kind + "\r\n " + values + ",0,0\r\n";
}

// Files from elsewhere: each is refused naming its line and value, or drawn;
// none makes the viewer hang or fail inside cairo.
TEST_F(MorlenviewTest, HostileFilesAreRefusedOrDrawnNeverHung) {
  write("project.prj", "project");
  write("project.inf", "0.000000,0.000000,0.000000,0.000000,3,1.000000,");
  std::string lowest;
  tavrin::appendStraightRecord(lowest, 1000.0, 0.0, -1.7976931348623157e308, 0.0);
  struct Case {
    const char* what;
    std::string floor;
    int status;
    const char* expected;
  };
  const Case cases[] = {
      {"an angle of 1e300 degrees",
       oneRecordFloor("14,0",
                      "0.000000,0.000000,5.000000,1" + std::string(300, '0') + ".000000,90.000000"),
       2, "Floor 1 (project.N1): cannot be read: project.N1 line 5: value 4 (A1) \"1000000000"},
      {"an angle of 3.0e10 degrees",
       oneRecordFloor("14,0", "0.000000,0.000000,5.000000,90.000000,30000000000.000000"), 2,
       "project.N1 line 5: value 5 (A2) \"30000000000.000000\" is not an angle the export "
       "writes (0 to 360.000006 degrees)"},
      {"1e308 in plain digits",
       oneRecordFloor("9,0", "0.000000,0.000000,1" + std::string(308, '0') + ".000000,0.000000"), 2,
       "project.N1 line 5: value 3 (X1) \"100000000000000"},
      {"the lowest double the export can write",
       "0\r\nGraph Link\r\n1\r\n" + tavrin::toDiskText(lowest), 0,
       "Floor 1 (project.N1): 1 segments (1 straight, 0 arc), 2 distinct points, "
       "x -1.798e+308 .. 1000.000 m, y 0.000 .. 0.000 m\n"},
  };
  for (const Case& c : cases) {
    write("project.N1", c.floor);
    fs::remove(folder_ / "project.N1.png");
    const Outcome outcome = view();
    EXPECT_EQ(outcome.status, c.status) << c.what << "\n" << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find(c.expected), std::string::npos) << c.what << "\n" << outcome.out;
    EXPECT_EQ(fs::is_regular_file(folder_ / "project.N1.png"), c.status == 0) << c.what;
  }
}

TEST_F(MorlenviewTest, AParameterFileTheExportNeverWritesIsReported) {
  write("project.prj", "project");
  write("project.N1", gridFloor(3));
  write("project.inf", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const Outcome garbage = view();
  EXPECT_EQ(garbage.status, 2) << garbage.out << garbage.err;
  EXPECT_NE(garbage.out.find("  parameters not used: project.inf is not what the export writes: "
                             "byte 1 is not printable ASCII in \"\\x89PNG"),
            std::string::npos)
      << garbage.out;
  EXPECT_NE(garbage.out.find("; the reference point is not marked\n"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(folder_ / "project.N1.png"));

  write("project.inf", "0.000000,0.000000,0.000000,0.000000,99,1.000000,");
  const Outcome unit = view();
  EXPECT_EQ(unit.status, 2);
  EXPECT_NE(unit.out.find("value 5 (unit index) \"99\" is not a unit the export writes"),
            std::string::npos)
      << unit.out;
}

// Pictures are written as floors are: a temporary file unique to the run,
// renamed into place; two runs at once never meet, and a signal leaves no
// temporary file behind.
TEST_F(MorlenviewTest, PicturesOfTwoRunsAtOnceAndOfARunEndedBySignal) {
  write("project.prj", "project");
  write("project.inf", "0.000000,0.000000,0.000000,0.000000,3,1.000000,");
  write("project.N1", gridFloor(120));
  write("project.N2", gridFloor(120));
  const std::string viewer = commandLine(MORLENVIEW_PATH, {"project.prj"});
  runShell("cd " + quoted(folder_.string()) + " && { (" + viewer +
           " >one.txt 2>&1; echo $? >one.status) & (" + viewer +
           " >two.txt 2>&1; echo $? >two.status) & (" + viewer +
           " >three.txt 2>&1; echo $? >three.status) & wait; }");
  for (const char* run : {"one", "two", "three"}) {
    EXPECT_EQ(readFile(folder_ / (std::string(run) + ".status")), "0\n")
        << run << ": " << readFile(folder_ / (std::string(run) + ".txt"));
  }
  for (const char* picture : {"project.N1.png", "project.N2.png", "project.floors.png"})
    EXPECT_GT(redPixels(folder_ / picture), -1) << picture;

  // SIGTERM while a picture is being written.
  const pid_t child = fork();
  if (child == 0) {
    if (chdir(folder_.c_str()) != 0) _exit(127);
    execl(MORLENVIEW_PATH, MORLENVIEW_PATH, "project.prj", "--format", "svg", "--out", "late",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  const auto temporaries = [&] {
    std::vector<std::string> names;
    std::error_code code;
    for (const auto& entry : fs::directory_iterator(folder_ / "late", code)) {
      const std::string name = entry.path().filename().string();
      if (name.find(".~") != std::string::npos || name.ends_with(".part")) names.push_back(name);
    }
    return names;
  };
  bool seen = false;
  for (int wait = 0; wait < 20000 && !seen; ++wait) {
    seen = !temporaries().empty();
    if (!seen) usleep(500);
  }
  ASSERT_TRUE(seen) << "no picture was being written";
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_EQ(temporaries(), std::vector<std::string>{});
}

TEST_F(MorlenviewTest, BadArgumentsAndMissingFiles) {
  exportWith(kPlan, exportScript("0,0", 1));
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{}, 1, "no project file given"},
      {{"nothing.prj"}, 1, "no project file nothing.prj"},
      {{"project.prj", "--floor", "7"}, 1, "floor 7: no axis file project.N7"},
      {{"project.prj", "--floor", "x"}, 1, "--floor needs a floor number"},
      {{"project.prj", "--format", "gif"}, 1, "--format needs png, svg or pdf"},
      {{"project.prj", "--colour"}, 1, "unknown option --colour"},
      {{"project.prj", "--floor", "1", "--format", "pdf"}, 0, ""},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(MORLENVIEW_PATH, c.arguments);
    EXPECT_EQ(outcome.status, c.status) << c.message << outcome.err;
    EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
  }
  EXPECT_TRUE(fs::is_regular_file(folder_ / "project.N1.pdf"));
}

TEST_F(MorlenviewTest, CadhostPlotsTheDrawingWithTheLastSelection) {
  const std::string script =
      "plot\nbefore.png\n" + exportScript("0,0", 1) + "plot\nafter.svg\nplot\nwrong.jpg\n";
  const Outcome outcome = run(CADHOST_PATH, {"--script", write("plot.scr", script), kPlan});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.out.find("Picture file (.png, .svg or .pdf): before.png"), std::string::npos);
  EXPECT_NE(outcome.out.find(", 0 of them selected, into before.png"), std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("Drew 14 lines and 3 arcs, 17 of them selected, into after.svg"),
            std::string::npos)
      << outcome.out;
  EXPECT_NE(outcome.out.find("plot.scr:14: the picture file must end in .png, .svg or .pdf"),
            std::string::npos)
      << outcome.out;
  EXPECT_TRUE(fs::is_regular_file(folder_ / "before.png"));
  const std::string svg = readFile(folder_ / "after.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder_ / "wrong.jpg"));
}

}  // namespace
