#pragma once

#include <optional>
#include <string_view>

namespace plot {

enum class PictureFormat { kPng, kSvg, kPdf };

// "png", "svg" or "pdf" (any ASCII case); nothing for another name.
std::optional<PictureFormat> pictureFormatNamed(std::string_view name);
// The format of a file name by its extension (".png", ".svg", ".pdf").
std::optional<PictureFormat> pictureFormatOfPath(std::string_view path);
// "png", "svg" or "pdf".
const char* pictureFormatName(PictureFormat format);

}  // namespace plot
