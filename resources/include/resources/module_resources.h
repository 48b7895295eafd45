#pragma once

#include "ui/resource_table.h"

namespace tavrin::resources {

// The module's resource table, handed to the user-interface library at start:
// dialog template 102 and "tavrin" as the caption of message boxes when the
// host cannot name the module's file. Constant for the life of the program.
const ui::ResourceTable& moduleResources();

}  // namespace tavrin::resources
