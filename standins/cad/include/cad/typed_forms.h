#pragma once

#include <string>
#include <string_view>

// How the host reads what a person types, whatever input method typed it.
namespace cad {

// `utf8` with the full-width forms of ASCII that a Chinese input method types
// (U+FF01 to U+FF5E: "０，０", "１２．５", "－３") and the ideographic space
// (U+3000) made their ASCII characters; everything else as it is. For answers
// that are numbers, points, keywords or clauses, never for names.
std::string withAsciiForms(std::string_view utf8);

// True when `line` asks what the prompt takes: "?" or "help" (any case,
// blanks around allowed, full-width forms too).
bool isHelpAnswer(std::string_view line);

// True when `line` asks to end the session: "quit" or "exit" (any case,
// blanks around allowed, full-width forms too).
bool isQuitAnswer(std::string_view line);

}  // namespace cad
