#include "cad/asking.h"

#include <utility>

namespace cad {
namespace {

AskingObserver* observer = nullptr;

}  // namespace

const char* askKindName(AskKind kind) {
  switch (kind) {
    case AskKind::kCommand:
      return "command";
    case AskKind::kPoint:
      return "point";
    case AskKind::kObjects:
      return "objects";
    case AskKind::kText:
      return "text";
    case AskKind::kKeyword:
      return "keyword";
    case AskKind::kFile:
      return "file";
    case AskKind::kDialog:
      return "dialog";
    case AskKind::kMessageBox:
      return "message-box";
  }
  return "command";
}

AskingObserver* setAskingObserver(AskingObserver* next) {
  return std::exchange(observer, next);
}

bool askingObserved() {
  return observer != nullptr;
}

void publishAsking(const Asking& asking) {
  if (observer != nullptr) observer->asking(asking);
}

void publishSelection(const std::vector<AcDbObjectId>& ids, const std::string& summary) {
  if (observer != nullptr) observer->selectionChanged(ids, summary);
}

void publishFileWritten(const std::string& utf8Path) {
  if (observer != nullptr) observer->fileWritten(utf8Path);
}

}  // namespace cad
