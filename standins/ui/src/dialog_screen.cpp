#include "dialog_screen.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include "answer_words.h"
#include "cad/command_line.h"
#include "cad/command_processor.h"
#include "cad/typed_forms.h"
#include "text/code_page.h"
#include "text/cp936.h"
#include "text/trim.h"
#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/edit.h"
#include "ui/static_control.h"
#include "ui/styles.h"

namespace ui {
namespace {

// The terminal's size in columns and rows; 80 by 24 when it does not say.
struct ScreenSize {
  long columns = 80;
  long rows = 24;
};

ScreenSize screenSize() {
  struct winsize size {};
  for (int fd : {STDOUT_FILENO, STDIN_FILENO, STDERR_FILENO})
    if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0)
      return ScreenSize{size.ws_col, size.ws_row};
  return {};
}

char32_t decodeAt(std::string_view text, std::size_t* i) {
  const auto byte = static_cast<unsigned char>(text[*i]);
  const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
  char32_t code = length == 1 ? byte : byte & (0x7F >> length);
  std::size_t k = *i + 1;
  for (; k < *i + static_cast<std::size_t>(length) && k < text.size(); ++k)
    code = (code << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
  *i = k;
  return code;
}

// The widest line of `text` (UTF-8) in terminal columns.
long widestLine(std::string_view text) {
  long widest = 0, width = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\n') {
      widest = std::max(widest, width);
      width = 0;
      ++i;
      continue;
    }
    width += cad::terminalColumns(decodeAt(text, &i));
  }
  return std::max(widest, width);
}

// `line` (UTF-8, no line end) cut to at most `columns` columns.
std::string cutToColumns(std::string_view line, long columns) {
  long width = 0;
  for (std::size_t i = 0; i < line.size();) {
    const std::size_t start = i;
    width += cad::terminalColumns(decodeAt(line, &i));
    if (width > columns) return std::string(line.substr(0, start));
  }
  return std::string(line);
}

// The rows `text` (UTF-8) takes on a terminal `columns` wide, long lines
// wrapping.
long screenRows(std::string_view text, long columns) {
  long rows = 0, width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\n') {
      rows += width == 0 ? 1 : (width + columns - 1) / columns;
      width = 0;
    } else if ((byte & 0xC0) != 0x80) {
      std::size_t at = i;
      width += cad::terminalColumns(decodeAt(text, &at));
    }
  }
  return rows;
}

// The label a field is known by: the text of the last label before it in
// template order, up to its colon; "field ID" when there is none.
std::string labelOf(const Dialog& dialog, const Window& field) {
  std::string label;
  for (const auto& window : dialog.controls()) {
    if (window.get() == &field) break;
    if (dynamic_cast<const StaticControl*>(window.get()) != nullptr)
      label = text::cp936ToUtf8Lossy(window->text());
  }
  for (std::string_view colon : {":", "：", "("}) label = label.substr(0, label.find(colon));
  label = std::string(text::trimBlanks(label));
  return label.empty() ? "field " + std::to_string(field.id()) : label;
}

std::string quotedCharacter(unsigned code) {
  return "'" + text::cp936ToUtf8Lossy(text::cp936::bytesOf(code)) + "'";
}

// "'a'", "'a' and 'b'", "'a', 'b' and 'c'".
std::string listed(const std::vector<std::string>& items) {
  std::string list;
  for (std::size_t i = 0; i < items.size(); ++i)
    list += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  return list;
}

// "米 (m), 分米 (dm)": a list's entries by name, short name and number.
std::string entriesOf(const ComboBox& list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.count(); ++i) {
    std::string entry = std::to_string(i) + " " +
                        text::cp936ToUtf8Lossy(list.entries()[static_cast<std::size_t>(i)]);
    if (const std::string& key = list.entryKey(i); !key.empty()) entry += " (" + key + ")";
    entries.push_back(entry);
  }
  return listed(entries);
}

// The entry of `list` a typed line names: its number, its whole name (ASCII
// letters in any case) or its short name.
std::optional<int> entryNamed(const ComboBox& list, std::string_view typed) {
  if (const std::optional<int> index = words::toInt(typed); index && *index >= 0)
    return *index < list.count() ? index : std::nullopt;
  const std::optional<std::string> cp936 = text::utf8ToCp936(typed);
  for (int i = 0; i < list.count(); ++i) {
    if (cp936 &&
        text::cp936::equalIgnoringAsciiCase(list.entries()[static_cast<std::size_t>(i)], *cp936))
      return i;
    if (const std::string& key = list.entryKey(i);
        !key.empty() && text::cp936::equalIgnoringAsciiCase(key, typed))
      return i;
  }
  return std::nullopt;
}

// Every line of `text` cut to `columns`.
std::string cutLines(std::string_view text, long columns) {
  std::string cut;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    cut += cutToColumns(text.substr(0, end), columns);
    if (end == std::string_view::npos) break;
    cut += "\n";
    text.remove_prefix(end + 1);
  }
  return cut;
}

// The form's lines up to its hints cut to `columns`; the notes and the status
// after them wrap, as they must be read whole.
std::string cutForm(std::string_view shown, long columns) {
  const std::size_t hints = shown.find("?: ids\n");
  if (hints == std::string_view::npos) return cutLines(shown, columns);
  return cutLines(shown.substr(0, hints + 7), columns) + std::string(shown.substr(hints + 7));
}

// The fields a person moves between, one a line, each cut to the width: the
// form for a terminal too small for the laid-out one.
std::string compactLayout(const Dialog& dialog, std::string_view status, ScreenSize size,
                          long neededColumns, long neededRows) {
  const long width = std::max(10L, size.columns - 1);
  std::string shown;
  const auto add = [&](std::string_view line) { shown += cutToColumns(line, width) + "\n"; };
  add("compact form: the full one needs " + std::to_string(neededColumns) + "x" +
      std::to_string(neededRows) + " (here " + std::to_string(size.columns) + "x" +
      std::to_string(size.rows) + ")");
  add("── " + text::cp936ToUtf8Lossy(dialog.text()) + " ──");
  for (const auto& window : dialog.controls()) {
    if (!window->hasStyle(style::kTabStop) || !window->canTakeFocus()) continue;
    const std::string value = text::cp936ToUtf8Lossy(window->text());
    std::string cell;
    if (dynamic_cast<const ComboBox*>(window.get()) != nullptr)
      cell = labelOf(dialog, *window) + ": <" + value + ">";
    else if (dynamic_cast<const Edit*>(window.get()) != nullptr)
      cell = labelOf(dialog, *window) + ": [" + value + "]";
    else
      cell = "[" + value + "]";
    add(window.get() == dialog.focus() ? " »" + cell + "«" : "  " + cell);
  }
  add("  Tab: next  Enter: press  Esc: close  ?: ids");
  const std::string rest = dialog.layout(status);
  // The note, the status lines and the status: what follows the hints.
  const std::size_t hints = rest.find("?: ids\n");
  std::string_view tail =
      hints == std::string::npos ? std::string_view() : std::string_view(rest).substr(hints + 7);
  return shown + std::string(tail);
}

}  // namespace

void DialogScreen::restart() {
  drawnAtLine_ = -1;
  refused_.clear();
  refusedIn_ = nullptr;
}

base::Result<std::string> DialogScreen::eventFor(std::string_view line) const {
  std::string_view rest;
  const std::string verb = words::lower(words::firstWord(line, &rest));
  if (isDialogEventVerb(verb)) return std::string(line);
  const Window* focus = dialog_.focus();
  const std::string typed = cad::withAsciiForms(text::trimBlanks(line));
  if (const auto* edit = dynamic_cast<const Edit*>(focus); edit != nullptr && !edit->isReadOnly())
    return "set " + std::to_string(edit->id()) + " " + typed;
  if (const auto* list = dynamic_cast<const ComboBox*>(focus)) {
    if (const std::optional<int> entry = entryNamed(*list, typed))
      return "select " + std::to_string(list->id()) + " " + std::to_string(*entry);
    return base::Status::error("\"" + typed + "\" is no entry of " + labelOf(dialog_, *list) +
                               ", which takes " + entriesOf(*list) + "; nothing was changed");
  }
  return std::string(line);
}

void DialogScreen::refused(const Message& message) {
  if (message.window != refusedIn_) refused_.clear();
  refusedIn_ = message.window;
  const auto code = static_cast<unsigned>(message.wParam);
  if (std::find(refused_.begin(), refused_.end(), code) == refused_.end()) refused_.push_back(code);
}

std::string DialogScreen::refusedStatus() const {
  if (refused_.empty() || refusedIn_ == nullptr) return {};
  // What the field takes: the printable ASCII characters its filter lets
  // through.
  bool allDigits = true;
  std::vector<std::string> others;
  for (unsigned c = 0x20; c <= 0x7E; ++c) {
    const Message probe{const_cast<Window*>(refusedIn_), WM_CHAR, c, 0, {}};
    const bool taken = !dialog_.preTranslateMessage(probe);
    if (c >= '0' && c <= '9')
      allDigits = allDigits && taken;
    else if (taken)
      others.push_back(quotedCharacter(c));
  }
  std::vector<std::string> takes;
  if (allDigits) takes.push_back("digits");
  if (others.size() > 8)
    takes.push_back("some other characters");
  else
    takes.insert(takes.end(), others.begin(), others.end());
  std::vector<std::string> refused;
  for (unsigned code : refused_) refused.push_back(quotedCharacter(code));
  return labelOf(dialog_, *refusedIn_) + " takes " +
         (takes.empty() ? std::string("no typed characters") : listed(takes)) + "; " +
         listed(refused) + (refused.size() == 1 ? " was" : " were") + " not taken";
}

void DialogScreen::draw(std::string_view status) {
  std::string shownStatus(status);
  if (const std::string refused = refusedStatus(); !refused.empty()) {
    shownStatus = shownStatus.empty() ? refused : shownStatus + "; " + refused;
    refused_.clear();
    refusedIn_ = nullptr;
  }
  cad::CommandLine& commandLine = cad::commandLine();
  // Something refused or wrong: the bell, as a terminal's own line editor rings.
  if (!shownStatus.empty()) commandLine.echo("\a");
  const long since = commandLine.terminalLines() - drawnAtLine_;
  // Only the answer's line since the last drawing: draw over it.
  if (drawnAtLine_ >= 0 && since == drawnLines_ + 1)
    commandLine.echo("\x1b[" + std::to_string(drawnRows_ + 1) + "A\r\x1b[J");
  else
    cad::startNewLine();
  drawnAtLine_ = commandLine.terminalLines();
  const ScreenSize size = screenSize();
  std::string shown = dialog_.layout(shownStatus);
  // The form and its prompt line must fit, or drawing over it fails: lines
  // are cut to the width (a wide character at the edge would wrap early),
  // and a form taller than the terminal gives way to the compact one.
  const long neededColumns = widestLine(shown) + 1;
  // Its lines, the prompt's line, and the line the answer's Enter opens.
  const long neededRows = static_cast<long>(std::count(shown.begin(), shown.end(), '\n')) + 2;
  if (neededRows > size.rows)
    shown = compactLayout(dialog_, shownStatus, size, neededColumns, neededRows);
  else if (neededColumns > size.columns)
    shown = cutForm(shown, size.columns - 1);
  drawnLines_ = static_cast<long>(std::count(shown.begin(), shown.end(), '\n'));
  drawnRows_ = screenRows(shown, size.columns);
  commandLine.printUtf8(shown + "> ");
}

}  // namespace ui
