#include "cad/command_stack.h"

#include <algorithm>

#include "cad/registry.h"

namespace cad {
namespace {

bool isEmpty(const char* text) {
  return text == nullptr || *text == '\0';
}

unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool sameCommandName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]);
    const auto cb = static_cast<unsigned char>(b[i]);
    if (ca >= 0x81 && ca <= 0xFE && i + 1 < a.size()) {
      // Lead byte of a two-byte character: both bytes compare exactly.
      if (ca != cb || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (foldAscii(ca) != foldAscii(cb)) return false;
  }
  return true;
}

Acad::ErrorStatus CommandStack::addCommand(const char* group, const char* globalName,
                                           const char* localName, int flags,
                                           AcRxFunctionPtr function) {
  if (isEmpty(group) || isEmpty(globalName) || isEmpty(localName) || function == nullptr)
    return Acad::eInvalidInput;
  const auto clashes = [&](const Command& c) {
    for (const char* name : {globalName, localName})
      if (sameCommandName(c.globalName, name) || sameCommandName(c.localName, name)) return true;
    return false;
  };
  for (const Command& c : commands_)
    if (clashes(c) && !sameCommandName(c.group, group)) return Acad::eNotApplicable;
  std::erase_if(commands_, clashes);
  commands_.push_back(Command{group, globalName, localName, flags, function});
  return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeGroup(const char* group) {
  if (isEmpty(group)) return Acad::eKeyNotFound;
  const auto removed =
      std::erase_if(commands_, [&](const Command& c) { return sameCommandName(c.group, group); });
  return removed == 0 ? Acad::eKeyNotFound : Acad::eOk;
}

std::optional<Command> CommandStack::find(std::string_view name) const {
  for (const Command& c : commands_)
    if (sameCommandName(c.globalName, name) || sameCommandName(c.localName, name)) return c;
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
  static CommandStack stack;
  return stack;
}

}  // namespace cad

AcRxClass* AcEdCommandStack::isA() const {
  return cad::commandStackClass();
}
