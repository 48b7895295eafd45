#include "ui/data_exchange.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "cad/command_line.h"
#include "text/decimal.h"
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

std::string formatDouble(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", 15, value);
  // Fifteen digits can round past the largest double (it shows as
  // 1.79769313486232e+308, which reads back as no number); what is shown
  // must read back, so such a value is shown in full.
  if (std::isfinite(value) && !text::parseReal(buffer))
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
  std::optional<int> read = text::parseInt(window->text());
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
  std::optional<double> read = text::parseReal(window->text());
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
