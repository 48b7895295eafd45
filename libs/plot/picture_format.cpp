#include "plot/picture_format.h"

#include <string>

namespace plot {

std::optional<PictureFormat> pictureFormatNamed(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower == "png") return PictureFormat::kPng;
  if (lower == "svg") return PictureFormat::kSvg;
  if (lower == "pdf") return PictureFormat::kPdf;
  return std::nullopt;
}

std::optional<PictureFormat> pictureFormatOfPath(std::string_view path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return std::nullopt;
  return pictureFormatNamed(path.substr(dot + 1));
}

const char* pictureFormatName(PictureFormat format) {
  switch (format) {
    case PictureFormat::kPng:
      return "png";
    case PictureFormat::kSvg:
      return "svg";
    case PictureFormat::kPdf:
      return "pdf";
  }
  return "png";
}

}  // namespace plot
