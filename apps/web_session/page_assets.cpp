#include "web_session/page_assets.h"

namespace web {
namespace {

std::string contentTypeOf(std::string_view name) {
  const auto dot = name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? "" : name.substr(dot + 1);
  if (extension == "html") return "text/html; charset=utf-8";
  if (extension == "js" || extension == "mjs") return "text/javascript; charset=utf-8";
  if (extension == "css") return "text/css; charset=utf-8";
  if (extension == "svg") return "image/svg+xml";
  if (extension == "png") return "image/png";
  if (extension == "json") return "application/json";
  if (extension == "ico") return "image/x-icon";
  return "application/octet-stream";
}

}  // namespace

std::optional<PageAsset> findPageAsset(std::string_view name) {
  for (const PageFile& file : pageFiles())
    if (file.name == name) return PageAsset{file.bytes, contentTypeOf(name)};
  return std::nullopt;
}

}  // namespace web
