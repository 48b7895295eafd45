#pragma once

#include <string>

#include "base/status.h"
#include "host/file_system.h"
#include "plot/picture_format.h"
#include "plot/scene.h"

// Pictures reach the disk the way the project's files do
// (tavrin::writeFileInPlace): into a temporary file beside the target whose
// name no other writer shares, put in place only when complete, and removed
// should SIGINT, SIGTERM or SIGHUP end the process first.
namespace picture_file {

// Draws `scene` as a `format` picture into the file `path` (UTF-8). Fails
// naming the file and the reason ("cannot write the picture a/b.png: ...");
// the file that was there is then unchanged and no temporary file is left.
base::Status writePictureFile(const plot::Scene& scene, plot::PictureFormat format,
                              const std::string& path, FileSystem& files);

}  // namespace picture_file
