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
#include "morlenview/project_report.h"
#include "picture_file/picture_file.h"
#include "plot/picture_format.h"

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

int run(const Options& options) {
  files::PosixFileSystem files;
  auto project = loadMorlenProject(options.project, options.floors, files);
  if (!project.isOk()) {
    std::cerr << "morlenview: " << project.message() << "\n";
    return kExitBadArguments;
  }
  printProject(std::cout, *project);
  if (project->floors.empty()) {
    std::cerr << "morlenview: no axis file " << project->name << ".N<k> beside " << project->path
              << "\n";
    return kExitFloorOrPictureFailed;
  }

  bool failed = project->parametersFaulty;
  std::vector<ProjectFloor*> shown;
  for (ProjectFloor& floor : project->floors) {
    printFloor(std::cout, floor);
    if (floor.read())
      shown.push_back(&floor);
    else
      failed = true;
  }

  std::vector<const AlignmentFloor*> checked;
  for (const ProjectFloor* floor : shown) checked.push_back(&floor->summary);
  const AlignmentResult alignment = checkAlignment(checked);
  printAlignment(std::cout, shown, alignment);

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
