#pragma once

#include <string>

namespace ui {

class Dialog;
class Window;

// One run of a dialog's data exchange: its direction and the control the
// next failure concerns. Writing (saving false) puts fields into controls and
// cannot fail; reading (saving true) stops at the first invalid field: a
// warning message box (exclamation icon, OK, the application's caption), the
// focus on that control with its whole text selected, and false.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}

  Dialog& dialog() const { return dialog_; }
  bool saving() const { return saving_; }

  // Makes `id` the control that a failure concerns and returns it; null (with
  // a message on the command line naming the dialog and the id) when the
  // dialog has no such control.
  Window* prepareControl(int id);
  // The failure of the prepared control: warns with `warning` (code page
  // 936), focuses the control with its whole text selected, answers false.
  bool fail(const char* warning);

 private:
  Dialog& dialog_;
  bool saving_;
  Window* prepared_ = nullptr;
};

// Each exchange answers false when it failed; the field is then unchanged.
// `invalidWarning` is the message shown for text that cannot be read.

// A decimal integer, written with "%d". Reads text::parseInt's syntax: blanks
// and tabs, an optional sign and decimal digits, then blanks and tabs only; a
// value outside the 32-bit range is invalid too.
bool exchangeInt(DataExchange& dx, int id, int& value, const char* invalidWarning);
// A double, written as formatDouble writes it. Reads text::parseReal's
// syntax: blanks and tabs, a decimal floating-point number (optional sign,
// digits with an optional decimal point, optional exponent), then blanks and
// tabs only; a value too large for a double is invalid too.
bool exchangeDouble(DataExchange& dx, int id, double& value, const char* invalidWarning);
// Text as it stands (code page 936). Fails only for a missing control.
bool exchangeText(DataExchange& dx, int id, std::string& value);
// The selected index of a combo box, -1 for none (CB_SETCURSEL, CB_GETCURSEL).
// Fails only for a missing control.
bool exchangeListIndex(DataExchange& dx, int id, int& index);
// When reading: `value` outside `min`..`max` fails with `warning` on the
// control prepared last. Writing always succeeds.
bool validateRange(DataExchange& dx, int value, int min, int max, const char* warning);

// "%.*g" with precision 15, or 17 where 15 digits would not read back (the
// largest doubles).
std::string formatDouble(double value);

}  // namespace ui
