#pragma once

// The export dialog's warnings, in code page 936, shown in message boxes
// with the exclamation icon when the dialog's fields are read.
namespace tavrin::resources {

extern const char kInvalidInteger[];   // a field that must hold a whole number
extern const char kInvalidNumber[];    // a field that must hold a number (the scale: above 0)
extern const char kFloorOutOfRange[];  // the floor is outside 1 to 1000
extern const char kNoUnitSelected[];   // no entry of the unit list is selected

}  // namespace tavrin::resources
