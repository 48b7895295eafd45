#include "cad/command_stack.h"

#include <algorithm>

#include "cad/registry.h"
#include "host.h"
#include "text/cp936.h"

namespace cad {
using text::cp936::equalIgnoringAsciiCase;
namespace {

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

}  // namespace

Acad::ErrorStatus CommandStack::addCommand(const char* group, const char* globalName,
                                           const char* localName, int flags,
                                           AcRxFunctionPtr function) {
  if (isEmpty(group) || isEmpty(globalName) || isEmpty(localName) || function == nullptr)
    return Acad::eInvalidInput;
  const auto clashes = [&](const Command& c) {
    for (const char* name : {globalName, localName})
      if (equalIgnoringAsciiCase(c.globalName, name) || equalIgnoringAsciiCase(c.localName, name))
        return true;
    return false;
  };
  for (const Command& c : commands_)
    if (clashes(c) && !equalIgnoringAsciiCase(c.group, group)) return Acad::eNotApplicable;
  std::erase_if(commands_, clashes);
  commands_.push_back(Command{group, globalName, localName, flags, function});
  return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeGroup(const char* group) {
  if (isEmpty(group)) return Acad::eKeyNotFound;
  const auto removed = std::erase_if(
      commands_, [&](const Command& c) { return equalIgnoringAsciiCase(c.group, group); });
  return removed == 0 ? Acad::eKeyNotFound : Acad::eOk;
}

std::optional<Command> CommandStack::find(std::string_view name) const {
  for (const Command& c : commands_)
    if (equalIgnoringAsciiCase(c.globalName, name) || equalIgnoringAsciiCase(c.localName, name))
      return c;
  return std::nullopt;
}

std::vector<Command> CommandStack::removeIf(const std::function<bool(const Command&)>& matches) {
  std::vector<Command> removed;
  std::erase_if(commands_, [&](const Command& c) {
    if (!matches(c)) return false;
    removed.push_back(c);
    return true;
  });
  return removed;
}

CommandStack& commandStack() {
  return detail::host().commandStack();
}

}  // namespace cad

AcRxClass* AcEdCommandStack::isA() const {
  return cad::commandStackClass();
}
