#pragma once

#include <cstdint>

// Style flags of dialog templates and their controls.
namespace ui::style {

// Any window.
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kVerticalScroll = 0x00200000;
inline constexpr std::uint32_t kSystemMenu = 0x00080000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;

// Dialogs.
inline constexpr std::uint32_t kSetFont = 0x0040;
inline constexpr std::uint32_t kModalFrame = 0x0080;

// Class "Static".
inline constexpr std::uint32_t kStaticLeft = 0x0000;
inline constexpr std::uint32_t kStaticCentreVertically = 0x0200;

// Class "Button".
inline constexpr std::uint32_t kPushButton = 0x0000;
inline constexpr std::uint32_t kGroupBox = 0x0007;
inline constexpr std::uint32_t kButtonTypeMask = 0x000F;

// Class "Edit".
inline constexpr std::uint32_t kEditAutoHorizontalScroll = 0x0080;
inline constexpr std::uint32_t kEditReadOnly = 0x0800;

// Class "ComboBox".
inline constexpr std::uint32_t kDropDownList = 0x0003;
inline constexpr std::uint32_t kComboSort = 0x0100;

// Class "msctls_updown32".
inline constexpr std::uint32_t kUpDownArrowKeys = 0x0020;

}  // namespace ui::style
