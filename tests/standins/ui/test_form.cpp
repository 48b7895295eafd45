#include "test_dialog.h"
#include "ui/data_exchange.h"

namespace testing_ui {

bool TestForm::exchangeData(bool saving) {
  ui::DataExchange dx(*this, saving);
  return ui::exchangeText(dx, kNameEdit, name) &&
         ui::exchangeInt(dx, kNumberEdit, number, "bad number") &&
         ui::validateRange(dx, number, 1, 10, "out of range") &&
         ui::exchangeListIndex(dx, kChoiceList, choice);
}

}  // namespace testing_ui
