#pragma once

#include <string>
#include <string_view>
#include <vector>

// Stepping through code page 936 text by characters: a lead byte 0x81-0xFE
// followed by a trail byte 0x40-0xFE other than 0x7F is one character, every
// other byte is one on its own. The one place this rule is written down for
// the host, the DXF reader and the user-interface library.
namespace text::cp936 {

bool isLeadByte(unsigned char byte);
bool isTrailByte(unsigned char byte);
// Length in bytes of the character that starts at `position` (1 or 2; 0 at
// the end).
std::size_t characterLength(std::string_view text, std::size_t position);
// The start of the character that holds byte `position` (so a position
// inside a double-byte character moves to its start).
std::size_t characterStart(std::string_view text, std::size_t position);
// The start of the character before `position`; 0 at the start.
std::size_t previousCharacter(std::string_view text, std::size_t position);
// The characters of `text` as WM_CHAR codes (a byte, or lead * 256 + trail).
std::vector<unsigned> characterCodes(std::string_view text);
// The bytes of one WM_CHAR code.
std::string bytesOf(unsigned code);

// True when `a` and `b` hold the same characters apart from the case of ASCII
// letters; the bytes of a double-byte character compare exactly (its trail
// byte may look like a letter). Names of commands, groups and layers compare
// this way.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace text::cp936
