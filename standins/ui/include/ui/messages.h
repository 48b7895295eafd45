#pragma once

#include <cstdint>
#include <string>

namespace ui {

class Window;

// A message for the dialog or one of its controls. Messages are either sent
// (handled at once, with a result) or posted to the open dialog's queue, where
// the dialog's pre-translation sees them first.
struct Message {
  Window* window = nullptr;  // whom it is for; not owned
  unsigned code = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::string text;  // WM_PASTE only: the pasted text, code page 936
};

// Message codes.
inline constexpr unsigned WM_CLOSE = 0x0010;
// Moves the focus: wParam 0 to the next tab stop, 1 to the previous one; with
// lParam non-zero, wParam is the id of the control to focus. An edit that
// receives the focus this way has its whole text selected.
inline constexpr unsigned WM_NEXTDLGCTL = 0x0028;
// lParam points to a NotifyHeader (or a structure that starts with one).
inline constexpr unsigned WM_NOTIFY = 0x004E;
// wParam: the key (ui::key); lParam: modifier flags (kShiftDown).
inline constexpr unsigned WM_KEYDOWN = 0x0100;
// wParam: one character of code page 936, either a single byte below 0x80
// or, for a double-byte character, lead byte * 256 + trail byte (so the
// trail byte of a double-byte character never arrives on its own).
inline constexpr unsigned WM_CHAR = 0x0102;
// wParam: control id in the low 16 bits, notification code in the high 16
// bits; lParam: the control's Window*.
inline constexpr unsigned WM_COMMAND = 0x0111;
// A click: for an up-down control lParam names the arrow (kUpperArrow,
// kLowerArrow); ignored elsewhere.
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
// Replaces an edit's selection with Message::text, without key filtering.
inline constexpr unsigned WM_PASTE = 0x0302;

// Edit: selection from wParam to lParam (byte offsets; lParam -1 means the
// end). EM_GETSEL answers start in the low and end in the high 16 bits.
inline constexpr unsigned EM_GETSEL = 0x00B0;
inline constexpr unsigned EM_SETSEL = 0x00B1;

// Combo box.
inline constexpr unsigned CB_ADDSTRING = 0x0143;  // lParam: const char* (936)
inline constexpr unsigned CB_GETCOUNT = 0x0146;
inline constexpr unsigned CB_GETCURSEL = 0x0147;  // -1 when nothing is selected
// Selects entry wParam; -1, or an index past the end, clears the selection
// and answers -1.
inline constexpr unsigned CB_SETCURSEL = 0x014E;

// Notification codes.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;
// The up-down's position is about to change; lParam of WM_NOTIFY points to a
// NotifyUpDown. An answer of 0 lets it change, anything else forbids it.
inline constexpr int UDN_DELTAPOS = -722;

// Where an up-down control was clicked (lParam of WM_LBUTTONDOWN).
inline constexpr std::intptr_t kUpperArrow = 0;
inline constexpr std::intptr_t kLowerArrow = 1;

// Modifier flags of WM_KEYDOWN.
inline constexpr std::intptr_t kShiftDown = 1;

// Keys.
namespace key {
inline constexpr unsigned kBackspace = 0x08;
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kEnter = 0x0D;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kDown = 0x28;
}  // namespace key

// Results of dialogs and message boxes, and the ids of the standard commands.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// What WM_NOTIFY carries.
struct NotifyHeader {
  Window* from = nullptr;
  int idFrom = 0;
  int code = 0;
};

struct NotifyUpDown {
  NotifyHeader header;
  int position = 0;  // the position before the change
  int delta = 0;     // the proposed change
};

}  // namespace ui
