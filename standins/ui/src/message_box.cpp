#include "ui/message_box.h"

#include <string>
#include <vector>

#include "answer_words.h"
#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/input_source.h"
#include "cad/typed_forms.h"
#include "text/code_page.h"
#include "text/trim.h"
#include "ui/dialog_view.h"
#include "ui/library.h"
#include "ui/messages.h"

namespace ui {

namespace {

void publish(std::string_view text, std::string_view caption, unsigned type) {
  DialogObserver* observer = dialogObserver();
  if (observer == nullptr) return;
  const bool yesNo = (type & kMessageBoxButtonsMask) == kMessageBoxYesNo;
  MessageBoxView view;
  view.caption = text::cp936ToUtf8Lossy(caption);
  view.text = text::cp936ToUtf8Lossy(text);
  view.icon = (type & kIconMask) == kIconExclamation ? "warning"
              : yesNo                                ? "question"
                                                     : "information";
  view.buttons = yesNo ? std::vector<std::string>{"Yes", "No"} : std::vector<std::string>{"OK"};
  view.defaultButton = !yesNo ? "OK" : (type & kDefaultButton2) != 0 ? "No" : "Yes";
  observer->messageBoxShown(view);
  cad::publishAsking(cad::Asking{cad::AskKind::kMessageBox, view.text, std::nullopt});
}

int closed(int result) {
  if (DialogObserver* observer = dialogObserver()) observer->messageBoxClosed();
  return result;
}

}  // namespace

int messageBox(std::string_view text, std::string_view caption, unsigned type) {
  const bool yesNo = (type & kMessageBoxButtonsMask) == kMessageBoxYesNo;
  const bool defaultNo = yesNo && (type & kDefaultButton2) != 0;
  std::string shown = "\nmessage box \"" + text::cp936ToUtf8Lossy(caption) + "\"";
  if ((type & kIconMask) == kIconExclamation) shown += " (!)";
  shown += ": " + text::cp936ToUtf8Lossy(text) + (yesNo ? "  [Yes] [No]\n" : "  [OK]\n");
  cad::commandLine().printUtf8(shown);

  cad::InputSource& input = cad::input();
  for (;;) {
    if (input.interactive())
      cad::commandLine().printUtf8(!yesNo      ? "Enter: OK "
                                   : defaultNo ? "y or n (Enter: no)? "
                                               : "y or n (Enter: yes)? ");
    publish(text, caption, type);
    input.setSpaceEndsAnswer(true);
    cad::Answer answer = input.next();
    if (!answer.isLine()) return closed(yesNo ? kIdNo : kIdOk);
    if (cad::isHelpAnswer(answer.text)) {
      cad::commandLine().printUtf8(!yesNo ? "The box takes Enter (or ok).\n"
                                   : defaultNo
                                       ? "The box takes y or n (yes, no, 是, 否); Enter is no.\n"
                                       : "The box takes y or n (yes, no, 是, 否); Enter is yes.\n");
      continue;
    }
    const std::string word = words::lower(text::trimBlanks(answer.text));
    if (yesNo) {
      if (word == "key enter" || word.empty()) return closed(defaultNo ? kIdNo : kIdYes);
      if (word == "yes" || word == "y" || word == "是") return closed(kIdYes);
      if (word == "no" || word == "n" || word == "否") return closed(kIdNo);
      input.reject(answer, defaultNo
                               ? "the message box takes yes or no (y, n, 是, 否; Enter for no)"
                               : "the message box takes yes or no (y, n, 是, 否; Enter for yes)");
    } else {
      if (word == "ok" || word == "key enter" || word.empty()) return closed(kIdOk);
      input.reject(answer, "the message box takes ok (or Enter)");
    }
  }
}

int applicationMessageBox(std::string_view text, unsigned type) {
  return messageBox(text, applicationCaption(), type);
}

}  // namespace ui
