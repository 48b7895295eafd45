#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace ui {

class Dialog;
class Window;
struct Message;

// How an open dialog meets a person at a terminal: drawn as laid out and
// again in place after each event, a typed line that is no event taken as
// one for the focused field, and every character the dialog's filter refused
// told (with the bell) instead of dropped silently. Internal to the library:
// a module's dialogs never see it.
class DialogScreen {
 public:
  // `dialog` is not owned and outlives the screen.
  explicit DialogScreen(Dialog& dialog) : dialog_(dialog) {}

  // Forgets the last drawing: the next one starts on a new line.
  void restart();
  // The event a typed line stands for; failed, saying why (UTF-8), when the
  // line names nothing the focused field takes (nothing is changed then).
  base::Result<std::string> eventFor(std::string_view line) const;
  // The dialog's filter consumed this character message.
  void refused(const Message& message);
  // Draws the dialog with `status` (UTF-8, empty for none) and what was
  // refused since the last drawing, over the last drawing when nothing but
  // the answer to it was printed since.
  void draw(std::string_view status);

  // The status line for characters refused since the last drawing, empty
  // when none were.
  std::string refusedStatus() const;

 private:
  Dialog& dialog_;
  long drawnAtLine_ = -1;  // the terminal line the last drawing started at
  long drawnLines_ = 0;    // the lines it took
  long drawnRows_ = 0;     // the screen rows they took, long lines wrapped
  const Window* refusedIn_ = nullptr;
  std::vector<unsigned> refused_;  // characters, code page 936 codes
};

// True when `verb` (lower case) is one of the dialog's event verbs.
bool isDialogEventVerb(std::string_view verb);

}  // namespace ui
