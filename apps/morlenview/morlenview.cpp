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
#include "picture_file/picture_file.h"
#include "plot/picture_format.h"
#include "text/format.h"

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
    "project; 2 a floor or the parameter file could not be read, or a picture not\n"
    "written; 3 the floors do not line up.\n";

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

// A number of metres or drawing units, whole whatever its size.
std::string fixed(double value, int decimals = 3) {
  return text::numberText(value, decimals);
}

// Millimetres with a sign, from metres: "+100.0", "-13.4".
std::string signedMillimetres(double metres) {
  const std::string text = fixed(metres * 1000.0, 1);
  return text.starts_with("-") ? text : "+" + text;
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
  } else if (project.parametersFaulty) {
    std::cout << "  parameters not used: " << project.parameters.message()
              << "; the reference point is not marked\n";
  } else {
    std::cout << "  no parameters (" << project.parameters.message()
              << "): the reference point is not marked\n";
  }
}

void printFloor(const ProjectFloor& floor) {
  std::cout << "Floor " << floor.number << " (" << floor.fileName << "): ";
  if (!floor.read()) {
    std::cout << "cannot be read: " << floor.status.message() << "\n";
    return;
  }
  const FloorSummary& summary = floor.summary;
  std::cout << summary.straightSegments + summary.arcSegments << " segments ("
            << summary.straightSegments << " straight, " << summary.arcSegments << " arc), "
            << summary.points.size() << " distinct points, " << extentText(summary.extent) << "\n";
}

// "floors 1 and 3", "floors 1, 3 and 4".
std::string floorList(const std::vector<int>& numbers) {
  std::string text = numbers.size() == 1 ? "floor " : "floors ";
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    if (k > 0) text += k + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[k]);
  }
  return text;
}

void printAlignment(const std::vector<ProjectFloor*>& shown, const AlignmentResult& alignment) {
  if (shown.size() < 2) {
    std::cout << "Alignment: needs two floors or more; " << shown.size() << " read\n";
    return;
  }
  std::cout << "Alignment of " << shown.size()
            << " floors: " << (alignment.linesUp() ? "they line up" : "they do NOT line up")
            << "\n";
  for (const FloorPairFinding& pair : alignment.pairs) {
    const int first = shown[pair.first]->number, second = shown[pair.second]->number;
    std::cout << "  floors " << first << " and " << second << ": ";
    if (pair.linesUp()) {
      std::cout << "line up\n";
      continue;
    }
    if (!pair.extentsOverlap) std::cout << "extents do not overlap at all";
    if (!pair.extentsOverlap && pair.nearMisses > 0) std::cout << "; ";
    if (pair.nearMisses > 0) {
      std::cout << pair.nearMisses << (pair.nearMisses == 1 ? " point lies" : " points lie")
                << " 1 to 300 mm off a point of the other floor, largest offset "
                << fixed(pair.largestOffset * 1000.0, 1) << " mm; ";
      if (pair.oneShift)
        std::cout << "floor " << second << " lies dx " << signedMillimetres(pair.shiftX)
                  << " mm, dy " << signedMillimetres(pair.shiftY) << " mm off floor " << first;
      else
        std::cout << "the offsets differ from point to point (median dx "
                  << signedMillimetres(pair.shiftX) << " mm, dy " << signedMillimetres(pair.shiftY)
                  << " mm): not one shift, a unit or scale may differ";
    }
    std::cout << "\n";
  }
  if (alignment.oddFloor) {
    const int odd = shown[*alignment.oddFloor]->number;
    std::vector<int> others;
    for (const ProjectFloor* floor : shown)
      if (floor->number != odd && !floor->summary.points.empty()) others.push_back(floor->number);
    std::cout << "  floor " << odd << " is the odd one out: it lines up with none of "
              << floorList(others) << ", which line up with each other\n";
  }
}

int run(const Options& options) {
  files::PosixFileSystem files;
  auto project = loadMorlenProject(options.project, options.floors, files);
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

  bool failed = project->parametersFaulty;
  std::vector<ProjectFloor*> shown;
  for (ProjectFloor& floor : project->floors) {
    printFloor(floor);
    if (floor.read())
      shown.push_back(&floor);
    else
      failed = true;
  }

  std::vector<const AlignmentFloor*> checked;
  for (const ProjectFloor* floor : shown) checked.push_back(&floor->summary);
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
    const base::Status drawn = picture_file::writePictureFile(scene, options.format, path, files);
    if (drawn.isOk()) {
      written.push_back(path);
    } else {
      std::cerr << "morlenview: " << drawn.message() << "\n";
      failed = true;
    }
  };
  for (ProjectFloor* floor : shown) {
    plot::Scene scene = floorScene(*project, *floor);
    draw(scene, floor->fileName);
    returnLineWork(scene, {floor});
  }
  if (!shown.empty()) {
    plot::Scene scene = overlayScene(*project, shown, alignment);
    draw(scene, project->name + ".floors");
    returnLineWork(scene, shown);
  }
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
