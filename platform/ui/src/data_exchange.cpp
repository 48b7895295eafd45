#include "ui/data_exchange.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "answer_words.h"
#include "cad/command_line.h"
#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/edit.h"
#include "ui/message_box.h"

namespace ui {

Window* DataExchange::prepareControl(int id) {
  prepared_ = dialog_.control(id);
  if (prepared_ == nullptr)
    cad::commandLine().printUtf8("\ndata exchange: dialog " + std::to_string(dialog_.templateId()) +
                                 " has no control " + std::to_string(id) + "\n");
  return prepared_;
}

bool DataExchange::fail(const char* warning) {
  applicationMessageBox(warning != nullptr ? warning : "", kMessageBoxOk | kIconExclamation);
  if (prepared_ != nullptr) {
    dialog_.gotoControl(prepared_);
    if (auto* edit = dynamic_cast<Edit*>(prepared_)) edit->setSelection(0, -1);
  }
  return false;
}

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the run of digits at the start of `text`.
std::size_t digitRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && isDigit(text[n])) ++n;
  return n;
}

}  // namespace

std::optional<int> parseInt(std::string_view text) {
  text = words::trim(text);
  std::string_view digits = text;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.remove_prefix(1);
  if (digits.empty() || digitRun(digits) != digits.size()) return std::nullopt;
  // from_chars takes a minus sign but no plus sign.
  if (text[0] == '+') text.remove_prefix(1);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parseDouble(std::string_view text) {
  text = words::trim(text);
  std::string_view rest = text;
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) rest.remove_prefix(1);
  std::size_t whole = digitRun(rest);
  rest.remove_prefix(whole);
  std::size_t fraction = 0;
  if (!rest.empty() && rest[0] == '.') {
    rest.remove_prefix(1);
    fraction = digitRun(rest);
    rest.remove_prefix(fraction);
  }
  if (whole + fraction == 0) return std::nullopt;
  if (!rest.empty() && (rest[0] == 'e' || rest[0] == 'E')) {
    rest.remove_prefix(1);
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) rest.remove_prefix(1);
    std::size_t exponent = digitRun(rest);
    if (exponent == 0) return std::nullopt;
    rest.remove_prefix(exponent);
  }
  if (!rest.empty()) return std::nullopt;
  if (text[0] == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string formatDouble(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", 15, value);
  // Fifteen digits can round past the largest double (it shows as
  // 1.79769313486232e+308, which reads back as no number); what is shown
  // must read back, so such a value is shown in full.
  if (std::isfinite(value) && !parseDouble(buffer))
    std::snprintf(buffer, sizeof buffer, "%.*g", 17, value);
  return buffer;
}

bool exchangeInt(DataExchange& dx, int id, int& value, const char* invalidWarning) {
  Window* window = dx.prepareControl(id);
  if (window == nullptr) return false;
  if (!dx.saving()) {
    window->setText(std::to_string(value));
    return true;
  }
  std::optional<int> read = parseInt(window->text());
  if (!read) return dx.fail(invalidWarning);
  value = *read;
  return true;
}

bool exchangeDouble(DataExchange& dx, int id, double& value, const char* invalidWarning) {
  Window* window = dx.prepareControl(id);
  if (window == nullptr) return false;
  if (!dx.saving()) {
    window->setText(formatDouble(value));
    return true;
  }
  std::optional<double> read = parseDouble(window->text());
  if (!read) return dx.fail(invalidWarning);
  value = *read;
  return true;
}

bool exchangeText(DataExchange& dx, int id, std::string& value) {
  Window* window = dx.prepareControl(id);
  if (window == nullptr) return false;
  if (dx.saving())
    value = window->text();
  else
    window->setText(value);
  return true;
}

bool exchangeListIndex(DataExchange& dx, int id, int& index) {
  Window* window = dx.prepareControl(id);
  if (window == nullptr) return false;
  if (dynamic_cast<ComboBox*>(window) == nullptr) {
    cad::commandLine().printUtf8("\ndata exchange: control " + std::to_string(id) + " of dialog " +
                                 std::to_string(dx.dialog().templateId()) + " is no list\n");
    return false;
  }
  if (dx.saving())
    index = static_cast<int>(window->sendMessage(CB_GETCURSEL));
  else
    window->sendMessage(CB_SETCURSEL,
                        static_cast<std::uintptr_t>(static_cast<std::intptr_t>(index)));
  return true;
}

bool validateRange(DataExchange& dx, int value, int min, int max, const char* warning) {
  if (!dx.saving() || (value >= min && value <= max)) return true;
  return dx.fail(warning);
}

}  // namespace ui
