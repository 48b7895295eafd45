#pragma once

#include <string_view>

namespace ui {

// Buttons and icon of a message box; combine one of each.
inline constexpr unsigned kMessageBoxOk = 0x00;
inline constexpr unsigned kMessageBoxYesNo = 0x04;
inline constexpr unsigned kMessageBoxButtonsMask = 0x0F;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconMask = 0xF0;
// The second button is the default (Enter): No in a Yes/No box. Without it
// the first button is.
inline constexpr unsigned kDefaultButton2 = 0x100;

// Shows a modal message box: prints caption, icon, text and buttons on the
// host's command line (UTF-8) and takes the answer from the host's input
// source: "ok" for an OK box, "yes" or "no" for a Yes/No box, an empty line
// for the default button (the first, or the second with kDefaultButton2). Any other line is refused
// (a script then ends, a terminal asks again). "*cancel*" and the end of the input answer the box's
// cancel answer: OK for an OK box, No for a Yes/No box.
// `text` and `caption` are code page 936. Answers kIdOk, kIdYes or kIdNo.
int messageBox(std::string_view text, std::string_view caption, unsigned type);

// The same with the application's caption (the module's name).
int applicationMessageBox(std::string_view text, unsigned type);

}  // namespace ui
