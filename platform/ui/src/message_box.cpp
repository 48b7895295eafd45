#include "ui/message_box.h"

#include <string>

#include "answer_words.h"
#include "cad/code_page.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "ui/library.h"
#include "ui/messages.h"

namespace ui {

int messageBox(std::string_view text, std::string_view caption, unsigned type) {
  const bool yesNo = (type & kMessageBoxButtonsMask) == kMessageBoxYesNo;
  std::string shown = "\nmessage box \"" + cad::cp936ToUtf8Lossy(caption) + "\"";
  if ((type & kIconMask) == kIconExclamation) shown += " (!)";
  shown += ": " + cad::cp936ToUtf8Lossy(text) + (yesNo ? "  [Yes] [No]\n" : "  [OK]\n");
  cad::commandLine().printUtf8(shown);

  cad::InputSource& input = cad::input();
  for (;;) {
    cad::Answer answer = input.next();
    if (!answer.isLine()) return yesNo ? kIdNo : kIdOk;
    const std::string word = words::lower(words::trim(answer.text));
    if (yesNo) {
      if (word == "yes" || word.empty()) return kIdYes;
      if (word == "no") return kIdNo;
      input.reject(answer, "the message box takes yes or no");
    } else {
      if (word == "ok" || word.empty()) return kIdOk;
      input.reject(answer, "the message box takes ok");
    }
  }
}

int applicationMessageBox(std::string_view text, unsigned type) {
  return messageBox(text, applicationCaption(), type);
}

}  // namespace ui
