#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small helpers for reading the lines a user answers with.
namespace ui::words {

// ASCII letters in lower case; other bytes as they are.
std::string lower(std::string_view text);
// Splits off the first word (up to the first blank); `*rest` gets what
// follows that one blank, as it stands.
std::string_view firstWord(std::string_view line, std::string_view* rest);
// A whole decimal integer (optional '-'), or nothing.
std::optional<int> toInt(std::string_view text);

}  // namespace ui::words
