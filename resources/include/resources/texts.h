#pragma once

// The module's texts, stored in code page 936 as the command line, dialogs and
// message boxes expect them. \n is a line feed.
namespace tavrin::resources {

// Command line.
extern const char kStartupHint[];               // start-up hint after registration
extern const char kBasePointPrompt[];           // asks for the base point
extern const char kBasePointCancelled[];        // base point not given
extern const char kBasePointBesideReference[];  // status line: %s,%s picked, %s,%s project's
extern const char kSelectionPrompt[];           // asks for the lines and arcs
extern const char kSelectionFailed[];           // selection not made
extern const char kIntrinsicScaleTrace[];       // printf format, one double
extern const char kScaleTrace[];                // printf format, one double
extern const char kCrossingsProgress[];         // progress label of the crossing search
extern const char kCollectionStopped[];         // the user stopped the crossing search
extern const char kSelectionSummary[];          // printf format: %ld lines, %ld arcs, %ld others
extern const char kNothingToExport[];           // no axis selected: the command ends

// Export flow.
// The unit proposal's names and lines (printf formats with %s only).
extern const char kUnitMetre[];
extern const char kUnitDecimetre[];
extern const char kUnitCentimetre[];
extern const char kUnitMillimetre[];
extern const char kUnitNotPlausible[];         // declared unit, span, proposed unit
extern const char kMillimetresNotPlausible[];  // span
extern const char kDeclaredInches[];
extern const char kDeclaredFeet[];
extern const char kDeclaredOtherUnit[];       // the $INSUNITS code
extern const char kUnitDiffersFromProject[];  // drawing's unit, project's unit

extern const char kProjectFileFilter[];     // open-file dialog filter
extern const char kProjectFileExtension[];  // default extension, no dot
extern const char kDataTooLarge[];          // coordinate limit exceeded
extern const char kOverwriteFloor[];        // the floor's axis file exists
extern const char kFileWriteFailed[];       // printf format, %s the file, %s the reason
extern const char kFolderNotWritable[];     // printf format, one %s: the folder
extern const char kProjectInUse[];          // printf format, one %s: the project file

// Reasons a file write failed, for kFileWriteFailed.
extern const char kReasonReadOnly[];        // the file's mode bits deny writing
extern const char kReasonNoPermission[];    // the folder or file may not be written
extern const char kReasonDiskFull[];        // no space or quota left
extern const char kReasonReadOnlyDisk[];    // the file system is mounted read-only
extern const char kReasonNoFolder[];        // the folder does not exist
extern const char kReasonFolderInTheWay[];  // a folder has the file's name
extern const char kReasonNameTooLong[];     // the path is too long
extern const char kReasonUnknown[];         // no reason known
extern const char kAxisFileWritten[];       // printf format: %s file, %d axes, %d segments
extern const char kCoordinatesReset[];      // printf format: origin x, y, reference x, y

}  // namespace tavrin::resources
