#pragma once

#include <string>

namespace ui {

class Application;
struct ResourceTable;

// Starts the library for one module: `instance` is the module's instance
// handle as the host's loader gave it (opaque; it becomes the library's
// instance and resource handle), `resources` the module's resource table (not
// owned; must stay valid until stopLibrary()), `commandLine` the start-up
// command line (may be null or empty; this library does not use it). Runs the
// registered application object's initInstance().
// Returns false, and leaves the library stopped, when no application object
// is registered, when the library is already started, when `resources` is
// null or when initInstance() reports failure.
bool startLibrary(void* instance, const ResourceTable* resources, const char* commandLine);

// Stops the library: runs the application object's exitInstance() and
// forgets the instance and resources. Does nothing when the library is not
// started.
void stopLibrary();

// True between a successful startLibrary() and stopLibrary().
bool libraryStarted();

// The module's instance handle, or null when the library is not started.
void* instanceHandle();
// The module's resource table, or null when the library is not started.
const ResourceTable* resourceTable();
// The registered application object, or null.
Application* application();
// The caption of the module's message boxes (code page 936): the name given
// to the application object; else, while started, the module's file name
// without extension as the host names it (see setModuleNameLookup()), or the
// resource table's module name when the host knows no file for the instance
// handle; else empty.
std::string applicationCaption();

}  // namespace ui
