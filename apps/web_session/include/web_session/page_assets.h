#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace web {

// A file of the page, built into the program.
struct PageFile {
  std::string_view name;  // the file name, which is also its URL path
  std::string_view bytes;
};

// Every file of apps/web_session/page, sorted by name.
const std::vector<PageFile>& pageFiles();

struct PageAsset {
  std::string_view bytes;
  std::string contentType;  // e.g. "text/javascript; charset=utf-8"
};

// The file called `name` (no folders), or nothing. Never reads the disk.
std::optional<PageAsset> findPageAsset(std::string_view name);

}  // namespace web
