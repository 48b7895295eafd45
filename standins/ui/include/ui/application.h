#pragma once

#include <string>

#include "ui/object.h"

namespace ui {

// The application object of a module: one per module, a static object of the
// module that registers itself with the library on construction and removes
// itself on destruction. startLibrary() runs its initInstance(), stopLibrary()
// its exitInstance(). Not copyable.
class Application : public Object {
 public:
  static const RuntimeClass kClass;

  // `name` (code page 936) names the application; null or empty leaves the
  // name to the library, which uses the module's file name without extension
  // once started.
  explicit Application(const char* name = nullptr);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  const RuntimeClass* runtimeClass() const override;

  // Called by startLibrary() once the library holds the module's instance and
  // resources. Returning false makes the start fail. The base does the
  // library's own part and reports success.
  virtual bool initInstance();
  // Called by stopLibrary() before the library lets go of the module. The
  // result is the module's exit code; the base returns 0.
  virtual int exitInstance();

  // The application's name (code page 936): the one given at construction,
  // else the module's name once the library has started, else empty.
  const std::string& name() const { return name_; }

 private:
  friend class Library;
  std::string name_;
  bool namedByConstructor_ = false;
};

}  // namespace ui
