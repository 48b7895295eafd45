#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/status.h"
#include "ui/window.h"

namespace ui {

class DialogScreen;
class UpDown;

// A dialog built from a template of the module's resource table. doModal()
// creates its controls, runs its modal loop on the host's input source and
// destroys the controls again; the object itself and its fields live on, so
// it can be shown again.
//
// Every message for the dialog or its controls goes, in this order, through
// preTranslateMessage(), the standard dialog key handling (Tab and Shift+Tab
// between tab stops, Esc gives Cancel, Enter on a push button presses it,
// Enter elsewhere gives the standard OK, Up and Down on an edit whose next
// control is an up-down with arrow keys click that up-down's arrows), and the
// window procedure of the window it is for.
//
// While the dialog is open, the input source's lines are events:
//   focus ID | type TEXT | key ENTER|TAB|SHIFT+TAB|ESC|BACKSPACE|UP|DOWN
//   paste TEXT | select ID N | click ID | spin ID up|down | close
//   set ID TEXT | show | ?
// Text is UTF-8 and reaches the dialog in code page 936. "*cancel*" and the
// end of the input close the dialog with Cancel. "?" lists the controls with
// their ids, and the events.
//
// Where a person answers, the dialog is drawn as laid out (each label beside
// its field, the focus marked, a line of hints) and drawn again in place
// after each event; the keys it moves with arrive as key events, and a line
// that is no event fills the focused field (set, full-width digits taken as
// ASCII) or, on a list, picks the entry of that name, short name or number.
// A character the pre-translation consumes is told there with the bell and
// what the field takes: to say so, the dialog asks preTranslateMessage()
// about each printable ASCII character, so judging a character must have no
// side effects.
class Dialog : public Window {
 public:
  static const RuntimeClass kClass;

  // `templateId` names the template in the module's resource table. The
  // parent is not used (dialogs here are always top-level) and may be null.
  explicit Dialog(int templateId, Window* parent = nullptr);
  ~Dialog() override;

  const RuntimeClass* runtimeClass() const override;
  int templateId() const { return templateId_; }

  // Shows the dialog modally. Answers kIdOk or kIdCancel, or -1 when it
  // cannot open (library not started, no template of this id, a control of
  // an unknown class); the reason is then printed on the command line.
  int doModal();

  // The pieces of doModal(), for driving a dialog without the input source.
  // open() fails, saying why, when the dialog cannot open.
  base::Status open();
  // Applies one event line (as listed above) and handles the messages it
  // posts. Fails with the reason why the line was refused (nothing is then
  // changed).
  base::Status applyEvent(std::string_view line);
  // Handles every posted message until the queue is empty or the dialog has
  // ended.
  void pumpMessages();
  // Handles one message the way the modal loop does.
  void processMessage(const Message& message);
  // Destroys the controls; the result stays readable.
  void close();

  bool isOpen() const { return open_; }
  bool hasEnded() const { return ended_; }
  int result() const { return result_; }
  // Ends the modal loop with `result` once the current message is handled.
  void endDialog(int result);

  // The control with `id`, or null (also when the dialog is not open).
  Window* control(int id) const;
  template <class T>
  std::shared_ptr<T> findControl(int id) const {
    return std::dynamic_pointer_cast<T>(controlShared(id));
  }
  const std::vector<std::shared_ptr<Window>>& controls() const { return controls_; }

  Window* focus() const { return focus_; }
  // Gives `window` the focus as a click does (an edit keeps its selection).
  // Windows that take no focus are ignored.
  void setFocus(Window* window);
  // Gives `window` the focus as keyboard navigation does: an edit gets its
  // whole text selected.
  void gotoControl(Window* window);
  // The next (or previous) control with the tab-stop style after `from`, in
  // template order, wrapping round; null when there is none.
  Window* nextTabStop(const Window* from, bool previous) const;

  // Queues a message for the dialog or one of its controls. False when the
  // dialog is not open.
  bool postMessage(Window* window, unsigned code, std::uintptr_t wParam = 0,
                   std::intptr_t lParam = 0, std::string text = {});

  // A line the dialog's owner wants the user to read while the dialog is
  // open, such as a proposal and why it was made (code page 936; empty: none).
  // A person sees it under the form each time it is drawn; a script's
  // transcript has it after the dialog's listing. It stays until changed,
  // across showings.
  void setNote(std::string note) { note_ = std::move(note); }
  const std::string& note() const { return note_; }
  // A line for a person only, under the note each time the form is drawn at
  // a terminal (code page 936); not in a script's transcript. Each owner
  // keeps its line under its own `name`, so several coexist in the order
  // first set; setting a name again replaces its line, empty text removes it.
  void setStatusLine(std::string_view name, std::string note);
  // The status lines in the order first set (code page 936).
  std::vector<std::string> statusLines() const;

  // Prints the dialog (caption, every control with its state, focus, the
  // note) on the host's command line in UTF-8.
  void show() const;
  // The dialog as laid out, for a person: one line per row of the template
  // (labels beside their fields, "»" and "«" around the focus), then the
  // hints, the note and `status` when there are. UTF-8, each line ending in a line
  // feed.
  std::string layout(std::string_view status) const;
  // The controls with their ids and the events, for "?".
  std::string controlList() const;

  std::intptr_t handleMessage(const Message& message) override;
  std::string describe() const override;

 protected:
  // Called once the controls exist and hold the template's data. The base
  // writes the fields into the controls and answers true, which puts the
  // focus on the first tab stop.
  virtual bool onInitDialog();
  // Writes the fields into the controls (saving false; cannot fail) or reads
  // and checks the controls into the fields (saving true; false on the first
  // invalid field, after warning the user). The base has no fields.
  virtual bool exchangeData(bool saving);
  // Sees every message for the dialog or its controls first; true consumes
  // it. The base consumes nothing.
  virtual bool preTranslateMessage(const Message& message);
  // WM_COMMAND. The base gives kIdOk to onOK() and kIdCancel to onCancel().
  virtual void onCommand(int id, int notifyCode);
  // WM_NOTIFY; the answer goes back to the control. The base answers 0.
  virtual std::intptr_t onNotify(const NotifyHeader& header);
  // The standard OK: reads and checks the fields, and ends with kIdOk when
  // that succeeds.
  virtual void onOK();
  // Ends with kIdCancel.
  virtual void onCancel();

 private:
  std::shared_ptr<Window> controlShared(int id) const;
  // The up-down right after `window` in template order when `window` is an
  // edit and the up-down takes arrow keys; else null.
  UpDown* arrowKeysUpDownAfter(const Window* window) const;
  friend class DialogScreen;  // asks the filter what a field takes
  bool standardKeyHandling(const Message& message);
  void createControls(const DialogTemplate& dialogTemplate);

  int templateId_;
  std::string note_;
  bool open_ = false;
  bool ended_ = false;
  int result_ = kIdCancel;
  std::vector<std::shared_ptr<Window>> controls_;
  Window* focus_ = nullptr;
  std::deque<Message> queue_;
  std::vector<std::pair<std::string, std::string>> statusLines_;  // name, text
  std::unique_ptr<DialogScreen> screen_;                          // while a person answers
};

}  // namespace ui
