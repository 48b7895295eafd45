// morlenview: pictures of a Morlen project's floors, and whether the floors
// line up in the project's coordinate system.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "arguments/argument_list.h"
#include "base/result.h"
#include "base/status.h"
#include "files/posix_file_system.h"
#include "morlenview/floor_alignment.h"
#include "morlenview/floor_scene.h"
#include "morlenview/floor_summary.h"
#include "morlenview/morlen_project.h"
#include "plot/picture_format.h"
#include "plot/render_scene.h"

namespace {

namespace fs = std::filesystem;
using namespace morlenview;

constexpr int kExitOk = 0;
constexpr int kExitBadArguments = 1;
constexpr int kExitFloorOrPictureFailed = 2;
constexpr int kExitNotAligned = 3;

constexpr const char* kUsage =
    "usage: morlenview PROJECT.prj [--floor N]... [--out DIR] [--format png|svg|pdf]\n"
    "\n"
    "Reads the project's parameter file and the axis files NAME.N<k> beside it,\n"
    "prints what each floor holds and whether the floors line up, and draws one\n"
    "picture per floor (NAME.N<k>.png) and one of all floors (NAME.floors.png).\n"
    "\n"
    "  --floor N        only floor N (may be repeated); default every floor\n"
    "  --out DIR        write the pictures into DIR (made when missing);\n"
    "                   default the project's folder\n"
    "  --format F       png (default), svg or pdf\n"
    "  --help           show this text\n"
    "\n"
    "Floors line up when the extents of every two floors overlap and no point of\n"
    "one floor lies 1 to 300 mm off a point of another without coinciding.\n"
    "\n"
    "Exit status: 0 all floors read and drawn and lined up; 1 bad arguments or no\n"
    "project; 2 a floor could not be read or a picture not written; 3 the floors\n"
    "do not line up.\n";

struct Options {
  std::string project;
  std::vector<int> floors;
  std::string out;
  plot::PictureFormat format = plot::PictureFormat::kPng;
  bool help = false;
};

base::Result<Options> parseArguments(int argc, char** argv) {
  Options options;
  arguments::ArgumentList list(argc, argv);
  while (const std::optional<std::string> next = list.next()) {
    const std::string& argument = *next;
    if (arguments::ArgumentList::isHelp(argument)) {
      options.help = true;
    } else if (argument == "--floor") {
      const auto text = list.value();
      int number = 0;
      std::size_t used = 0;
      try {
        number = text ? std::stoi(*text, &used) : 0;
      } catch (...) {
        used = 0;
      }
      if (!text || used != text->size() || number < 1) {
        return base::Status::error("--floor needs a floor number of 1 or more");
      }
      options.floors.push_back(number);
    } else if (argument == "--out") {
      const auto dir = list.value();
      if (!dir) {
        return base::Status::error("--out needs a folder");
      }
      options.out = *dir;
    } else if (argument == "--format") {
      const auto name = list.value();
      const auto format = name ? plot::pictureFormatNamed(*name) : std::nullopt;
      if (!format) {
        return base::Status::error("--format needs png, svg or pdf");
      }
      options.format = *format;
    } else if (argument.starts_with("-")) {
      return base::Status::error("unknown option " + argument);
    } else if (!options.project.empty()) {
      return base::Status::error("only one project may be given (" + options.project + ", " +
                                 argument + ")");
    } else {
      options.project = argument;
    }
  }
  if (!options.help && options.project.empty()) {
    return base::Status::error("no project file given");
  }
  return options;
}

std::string fixed(double value, const char* format = "%.3f") {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string extentText(const Extent& e) {
  if (e.empty) return "no extent";
  return "x " + fixed(e.minX) + " .. " + fixed(e.maxX) + " m, y " + fixed(e.minY) + " .. " +
         fixed(e.maxY) + " m";
}

void printProject(const MorlenProject& project) {
  std::cout << "Project " << project.path << "\n";
  if (project.parameters.isOk()) {
    const ProjectParameters& p = *project.parameters;
    const PlanePoint reference = referencePointInMetres(p);
    std::cout << "  parameters: origin (" << fixed(p.originX) << ", " << fixed(p.originY)
              << "), reference point (" << fixed(p.referenceX) << ", " << fixed(p.referenceY)
              << ") in drawing units, unit index " << p.unitIndex << ", scale " << fixed(p.scale)
              << "\n  reference point in Morlen metres: (" << fixed(reference.x) << ", "
              << fixed(reference.y) << ")\n";
  } else {
    std::cout << "  no parameters (" << project.parameters.message()
              << "): the reference point is not marked\n";
  }
}

void printFloor(const ProjectFloor& floor, const FloorSummary* summary) {
  std::cout << "Floor " << floor.number << " (" << floor.fileName << "): ";
  if (!summary) {
    std::cout << "cannot be read: " << floor.status.message() << "\n";
    return;
  }
  std::cout << summary->straightSegments + summary->arcSegments << " segments ("
            << summary->straightSegments << " straight, " << summary->arcSegments << " arc), "
            << summary->points.size() << " distinct points, " << extentText(summary->extent)
            << "\n";
}

void printAlignment(const std::vector<ShownFloor>& shown, const AlignmentResult& alignment) {
  if (shown.size() < 2) {
    std::cout << "Alignment: needs two floors or more; " << shown.size() << " read\n";
    return;
  }
  std::cout << "Alignment of " << shown.size()
            << " floors: " << (alignment.linesUp() ? "they line up" : "they do NOT line up")
            << "\n";
  for (const FloorPairFinding& pair : alignment.pairs) {
    std::cout << "  floors " << shown[pair.first].floor->number << " and "
              << shown[pair.second].floor->number << ": ";
    if (pair.linesUp()) {
      std::cout << "line up\n";
      continue;
    }
    if (!pair.extentsOverlap) std::cout << "extents do not overlap at all";
    if (!pair.extentsOverlap && pair.nearMisses > 0) std::cout << "; ";
    if (pair.nearMisses > 0)
      std::cout << pair.nearMisses << (pair.nearMisses == 1 ? " point lies" : " points lie")
                << " 1 to 300 mm off a point of the other floor, largest offset "
                << fixed(pair.largestOffset * 1000.0, "%.1f") << " mm";
    std::cout << "\n";
  }
}

int run(const Options& options) {
  files::PosixFileSystem files;
  const auto project = loadMorlenProject(options.project, options.floors, files);
  if (!project.isOk()) {
    std::cerr << "morlenview: " << project.message() << "\n";
    return kExitBadArguments;
  }
  printProject(*project);
  if (project->floors.empty()) {
    std::cerr << "morlenview: no axis file " << project->name << ".N<k> beside " << project->path
              << "\n";
    return kExitFloorOrPictureFailed;
  }

  bool failed = false;
  std::vector<ShownFloor> shown;
  for (const ProjectFloor& floor : project->floors) {
    if (!floor.read()) {
      printFloor(floor, nullptr);
      failed = true;
      continue;
    }
    shown.push_back(ShownFloor{&floor, summarizeFloor(floor.segments)});
    printFloor(floor, &shown.back().summary);
  }

  std::vector<AlignmentFloor> checked;
  for (const ShownFloor& s : shown)
    checked.push_back(AlignmentFloor{s.summary.points, s.summary.extent});
  const AlignmentResult alignment = checkAlignment(checked);
  printAlignment(shown, alignment);

  fs::path out =
      options.out.empty() ? fs::path(project->path).parent_path() : fs::path(options.out);
  if (out.empty()) out = ".";
  std::error_code code;
  fs::create_directories(out, code);
  const std::string extension = std::string(".") + plot::pictureFormatName(options.format);
  std::vector<std::string> written;
  const auto draw = [&](const plot::Scene& scene, const std::string& name) {
    const std::string path = (out / (name + extension)).string();
    const base::Status drawn = plot::renderScene(scene, path, options.format);
    if (drawn.isOk()) {
      written.push_back(path);
    } else {
      std::cerr << "morlenview: " << drawn.message() << "\n";
      failed = true;
    }
  };
  for (const ShownFloor& s : shown) draw(floorScene(*project, s), s.floor->fileName);
  if (!shown.empty()) draw(overlayScene(*project, shown, alignment), project->name + ".floors");
  std::cout << "Pictures:\n";
  for (const std::string& path : written) std::cout << "  " << path << "\n";
  if (failed) return kExitFloorOrPictureFailed;
  return alignment.linesUp() ? kExitOk : kExitNotAligned;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = parseArguments(argc, argv);
  if (!options.isOk()) {
    std::cerr << "morlenview: " << options.message() << "\n\n" << kUsage;
    return kExitBadArguments;
  }
  if (options->help) {
    std::cout << kUsage;
    return kExitOk;
  }
  return run(*options);
}
