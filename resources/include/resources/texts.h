#pragma once

// The module's texts, stored in code page 936 as the command line, dialogs and
// message boxes expect them. \n is a line feed.
namespace tavrin::resources {

// Command line.
extern const char kStartupHint[];          // start-up hint after registration
extern const char kBasePointPrompt[];      // asks for the base point
extern const char kBasePointCancelled[];   // base point not given
extern const char kSelectionPrompt[];      // asks for the lines and arcs
extern const char kSelectionFailed[];      // selection not made
extern const char kIntrinsicScaleTrace[];  // printf format, one double
extern const char kScaleTrace[];           // printf format, one double

// Export flow.
extern const char kProjectFileFilter[];     // open-file dialog filter
extern const char kProjectFileExtension[];  // default extension, no dot
extern const char kDataTooLarge[];          // coordinate limit exceeded
extern const char kOverwriteFloor[];        // the floor's axis file exists
extern const char kFileWriteFailed[];       // printf format, one %s: the file

}  // namespace tavrin::resources
