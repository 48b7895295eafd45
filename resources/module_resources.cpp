#include "resources/module_resources.h"

#include "resources/export_dialog_template.h"

namespace tavrin::resources {

const ui::ResourceTable& moduleResources() {
  static const ui::DialogTemplate dialogs[] = {exportDialogTemplate()};
  static const ui::ResourceTable table{dialogs, "tavrin"};
  return table;
}

}  // namespace tavrin::resources
