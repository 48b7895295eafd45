#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Names of the files that lie beside a project file. Paths and names are code
// page 936; they are scanned by characters of the code page, so the second
// byte of a two-byte character is never taken for a "/" or a ".".

// The folder part of `projectPath`, up to and including its last "/"; empty
// for a bare file name.
std::string projectFolder(std::string_view projectPath);

// The file-name part of `projectPath`, after its last "/".
std::string projectFileName(std::string_view projectPath);

// `fileName` up to, not including, its first "."; empty when it has none
// ("tower.v2.prj" gives "tower", "house" gives "").
std::string projectBase(std::string_view fileName);

// The file beside the project file whose name is the project's base followed
// by `suffix`: projectFolder + projectBase(file name) + suffix
// ("/jobs/house.prj" with ".inf" gives "/jobs/house.inf").
std::string projectSibling(std::string_view projectPath, std::string_view suffix);

// The suffix of a floor's axis file: ".N" and the floor in decimal.
std::string floorSuffix(int floorNumber);

}  // namespace tavrin
