#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/ac_db_object_id.h"

// What the host is waiting for, told to a front end that shows it (the web
// page). Askers publish just before they read their answer from the input
// source; with no observer installed publishing does nothing, so the terminal
// and script sessions are unchanged.
namespace cad {

enum class AskKind { kCommand, kPoint, kObjects, kText, kKeyword, kFile, kDialog, kMessageBox };

// "command", "point", "objects", "text", "keyword", "file", "dialog",
// "message-box".
const char* askKindName(AskKind kind);

struct PlanePoint2 {
  double x = 0.0;
  double y = 0.0;
};

struct Asking {
  AskKind what = AskKind::kCommand;
  std::string prompt;                    // UTF-8, as printed on the command line
  std::optional<PlanePoint2> lastPoint;  // the point a rubber band would start at
};

// Called on the host's thread (the one that reads answers).
class AskingObserver {
 public:
  virtual ~AskingObserver() = default;
  virtual void asking(const Asking& asking) = 0;
  // The selection being built changed: `ids` selected so far, in order;
  // `summary` counts them by kind, e.g. "2 lines, 1 arc".
  virtual void selectionChanged(const std::vector<AcDbObjectId>& ids,
                                const std::string& summary) = 0;
  // The host's file system put the file `utf8Path` in place (as the module
  // named it: relative paths are from the working folder).
  virtual void fileWritten(const std::string& /*utf8Path*/) {}
};

// Installs `observer` (not owned; null: none) and returns the previous one.
AskingObserver* setAskingObserver(AskingObserver* observer);

// True when an observer is installed: what only it needs need not be made.
bool askingObserved();

void publishAsking(const Asking& asking);
void publishSelection(const std::vector<AcDbObjectId>& ids, const std::string& summary);
void publishFileWritten(const std::string& utf8Path);

}  // namespace cad
