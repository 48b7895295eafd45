#pragma once

// Marks what the host library exports to modules. The module itself is built
// with hidden visibility and exports only its four entry points.
#define HOST_API __attribute__((visibility("default")))
