#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/messages.h"
#include "ui/object.h"
#include "ui/resource_table.h"

namespace ui {

class Dialog;

// A window: a dialog or one of its controls. It has a class name, an id, a
// text (code page 936), a rectangle in dialog units and style flags, and a
// window procedure, handleMessage(). Controls exist only while their dialog
// is open; the dialog owns them.
class Window : public Object {
 public:
  static const RuntimeClass kClass;

  Window(std::string className, int id, std::string_view text, DialogRect rect, std::uint32_t style,
         Dialog* parent);
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const RuntimeClass* runtimeClass() const override;

  int id() const { return id_; }
  const std::string& className() const { return className_; }
  // Copies the class name into `buffer` of `size` bytes, cut to size - 1
  // bytes and terminated; returns the number of bytes copied. A null buffer
  // or a size below 1 copies nothing and returns 0.
  int getClassName(char* buffer, int size) const;

  const std::string& text() const { return text_; }
  // Replaces the text (code page 936).
  virtual void setText(std::string_view text);

  std::uint32_t style() const { return style_; }
  bool hasStyle(std::uint32_t flags) const { return (style_ & flags) == flags; }
  DialogRect rect() const { return rect_; }
  // The dialog of a control; null for a dialog.
  Dialog* parent() const { return parent_; }

  // Handles `message` at once, without pre-translation, and returns the
  // window procedure's answer.
  std::intptr_t sendMessage(unsigned code, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // The window procedure. The base answers 0 to everything.
  virtual std::intptr_t handleMessage(const Message& message);

  // True when the window can hold the keyboard focus.
  virtual bool canTakeFocus() const { return false; }
  // The focus arrives; `selectAll` when it arrived by the dialog's keyboard
  // navigation (Tab, WM_NEXTDLGCTL), which selects an edit's whole text.
  virtual void focusGained(bool selectAll);

  // One line (UTF-8) that shows the window's state to a user: id, kind,
  // text and whatever else it holds.
  virtual std::string describe() const;

 protected:
  // The id as shown to a user: the number, or "-" for a control without id.
  std::string idLabel() const;

 private:
  std::string className_;
  int id_;
  std::string text_;
  DialogRect rect_;
  std::uint32_t style_;
  Dialog* parent_;
};

}  // namespace ui
