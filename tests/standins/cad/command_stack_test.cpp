#include "cad/command_stack.h"

#include <gtest/gtest.h>

#include <string>

#include "fresh_host.h"
#include "host/ac_rx_dictionary.h"

namespace {

void first() {}
void second() {}
void third() {}

class CommandStackTest : public FreshHost {
 protected:
  cad::CommandStack& stack = cad::commandStack();
};

TEST_F(CommandStackTest, FindsByGlobalOrLocalNameInAnyCase) {
  ASSERT_EQ(stack.addCommand("TAVRIN", "acadtomn", "zhouwang", 0, first), Acad::eOk);
  ASSERT_EQ(stack.addCommand("OTHER", "Line2", "\xD6\xE1", 0, second), Acad::eOk);  // "轴"
  const struct {
    const char* typed;
    AcRxFunctionPtr found;  // null: not found
  } cases[] = {
      {"acadtomn", first},    {"ACADTOMN", first}, {"AcadToMN", first},  {"zhouwang", first},
      {"ZhouWang", first},    {"line2", second},   {"\xD6\xE1", second}, {"acadtom", nullptr},
      {"acadtomn ", nullptr}, {"", nullptr},       {"TAVRIN", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const auto command = stack.find(c.typed);
    if (c.found == nullptr) {
      EXPECT_FALSE(command);
    } else {
      ASSERT_TRUE(command);
      EXPECT_EQ(command->function, c.found);
    }
  }
}

TEST_F(CommandStackTest, RefusesIncompleteRegistrations) {
  const struct {
    const char* label;
    const char* group;
    const char* global;
    const char* local;
    AcRxFunctionPtr function;
  } cases[] = {
      {"null group", nullptr, "a", "a", first},  {"empty group", "", "a", "a", first},
      {"null global", "G", nullptr, "a", first}, {"empty local", "G", "a", "", first},
      {"null function", "G", "a", "a", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(stack.addCommand(c.group, c.global, c.local, 0, c.function), Acad::eInvalidInput);
  }
  EXPECT_TRUE(stack.commands().empty());
}

TEST_F(CommandStackTest, NameOfAnotherGroupIsRefusedSameGroupReplaced) {
  ASSERT_EQ(stack.addCommand("A", "cmd", "cmd", 0, first), Acad::eOk);
  EXPECT_EQ(stack.addCommand("B", "other", "CMD", 0, second), Acad::eNotApplicable);
  EXPECT_EQ(stack.find("cmd")->function, first);
  EXPECT_FALSE(stack.find("other"));

  EXPECT_EQ(stack.addCommand("a", "CMD", "cmd", 0, third), Acad::eOk);
  ASSERT_EQ(stack.commands().size(), 1u);
  EXPECT_EQ(stack.find("cmd")->function, third);
}

TEST_F(CommandStackTest, RemoveGroupRemovesTheWholeGroupOnly) {
  ASSERT_EQ(stack.addCommand("TAVRIN", "one", "one", 0, first), Acad::eOk);
  ASSERT_EQ(stack.addCommand("KEEP", "two", "two", 0, second), Acad::eOk);
  ASSERT_EQ(stack.addCommand("TAVRIN", "three", "drei", 0, third), Acad::eOk);

  EXPECT_EQ(stack.removeGroup("TAVRIN"), Acad::eOk);
  EXPECT_FALSE(stack.find("one"));
  EXPECT_FALSE(stack.find("drei"));
  EXPECT_TRUE(stack.find("two"));
  EXPECT_EQ(stack.removeGroup("TAVRIN"), Acad::eKeyNotFound);
  EXPECT_EQ(stack.removeGroup(nullptr), Acad::eKeyNotFound);
  EXPECT_EQ(stack.commands().size(), 1u);
}

TEST_F(CommandStackTest, LookupCopyOutlivesRemoval) {
  ASSERT_EQ(stack.addCommand("G", "run", "run", 0, first), Acad::eOk);
  const auto command = stack.find("run");
  stack.removeGroup("G");
  ASSERT_TRUE(command);
  EXPECT_EQ(command->globalName, "run");
  EXPECT_EQ(command->function, first);
}

TEST_F(CommandStackTest, IsTheRegisteredCommandsEntryAndPassesTheClassTest) {
  AcRxObject* entry = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  EXPECT_EQ(entry, &stack);
  auto* classes = acrxClassTest<AcRxDictionary>(acrxSysRegistry()->at("ClassDictionary"));
  ASSERT_NE(classes, nullptr);
  auto* descriptor = static_cast<AcRxClass*>(classes->at("AcEdCommandStack"));
  ASSERT_NE(descriptor, nullptr);
  EXPECT_EQ(stack.isA(), descriptor);
  EXPECT_EQ(acrxClassTest(entry, descriptor), entry);
  EXPECT_EQ(acrxClassTest(entry, AcRxDictionary::desc()), nullptr);
}

}  // namespace
