#pragma once

#include <cstdint>
#include <span>

namespace ui {

// The id of a control that no code addresses (labels, group boxes).
inline constexpr int kNoControlId = -1;

// A rectangle in dialog units: position of the top-left corner and size.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// One control of a dialog template. Texts are code page 936 and must outlive
// the table (they are string literals in practice).
struct ControlTemplate {
  int id = kNoControlId;
  // "Button", "Edit", "Static", "ComboBox" or "msctls_updown32"; any other
  // class makes the dialog fail to open.
  const char* className = "";
  const char* text = "";
  DialogRect rect;
  std::uint32_t style = 0;  // ui/styles.h
};

// Initialisation data of one combo box: its entries, added in this order
// when the dialog opens.
struct ComboBoxInitData {
  int controlId = kNoControlId;
  std::span<const char* const> entries;  // code page 936
  // Short ASCII names of the entries, in the same order (may be empty): typing
  // one selects its entry as typing the start of the entry does.
  std::span<const char* const> keys;
};

// A dialog template: caption, frame, font and the controls in template order
// (which is also the tab order of the controls that carry the tab-stop style).
struct DialogTemplate {
  int id = 0;
  const char* caption = "";  // code page 936
  std::uint32_t style = 0;
  const char* fontName = "";  // code page 936
  int fontPointSize = 0;
  DialogRect rect;
  std::span<const ControlTemplate> controls;
  std::span<const ComboBoxInitData> comboBoxInitData;
};

// What a module hands the library at start: its dialog templates by id. The
// module exports nothing but its entry points, so the library finds its
// resources only here. The table must outlive the library's start.
struct ResourceTable {
  std::span<const DialogTemplate> dialogs;
  // Shown as the caption of the module's message boxes when the host cannot
  // name the module's file (code page 936; may be null).
  const char* moduleName = nullptr;

  // The template with `id`, or null.
  const DialogTemplate* findDialog(int id) const;
};

}  // namespace ui
