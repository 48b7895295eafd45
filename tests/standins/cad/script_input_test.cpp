#include "cad/script_input.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cad/command_line.h"
#include "fresh_host.h"

namespace {

using Kind = cad::Answer::Kind;

struct Expected {
  Kind kind;
  std::string text;
  std::string location;
};

class ScriptInputTest : public FreshHost {};

TEST_F(ScriptInputTest, GivesOneAnswerPerLineInOrder) {
  const struct {
    const char* label;
    std::string script;
    std::vector<Expected> answers;  // then kEnd
  } cases[] = {
      {"line feeds",
       "a\nb\n",
       {{Kind::kLine, "a", "test.scr:1"}, {Kind::kLine, "b", "test.scr:2"}}},
      {"CR LF", "a\r\nb\r\n", {{Kind::kLine, "a", "test.scr:1"}, {Kind::kLine, "b", "test.scr:2"}}},
      {"no final line end",
       "a\nb",
       {{Kind::kLine, "a", "test.scr:1"}, {Kind::kLine, "b", "test.scr:2"}}},
      {"comments are skipped",
       ";note\na\n;; more\nb\n",
       {{Kind::kLine, "a", "test.scr:2"}, {Kind::kLine, "b", "test.scr:4"}}},
      {"an empty line is an answer",
       "\n\nx\n",
       {{Kind::kLine, "", "test.scr:1"},
        {Kind::kLine, "", "test.scr:2"},
        {Kind::kLine, "x", "test.scr:3"}}},
      {"cancel in any case",
       "*cancel*\n  *CanCel* \n",
       {{Kind::kCancel, "", "test.scr:1"}, {Kind::kCancel, "", "test.scr:2"}}},
      {"cancel only as a whole line", "*cancel*x\n", {{Kind::kLine, "*cancel*x", "test.scr:1"}}},
      {"blanks kept in answers", " 1, 2 \n", {{Kind::kLine, " 1, 2 ", "test.scr:1"}}},
      {"byte-order mark ignored",
       "\xEF\xBB\xBF"
       "a\n",
       {{Kind::kLine, "a", "test.scr:1"}}},
      {"Chinese text", "轴网\n", {{Kind::kLine, "轴网", "test.scr:1"}}},
      {"empty script", "", {}},
      {"only comments", ";a\n;b\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    cad::ScriptInput script("test.scr", c.script);
    for (const Expected& e : c.answers) {
      const cad::Answer answer = script.next();
      EXPECT_EQ(answer.kind, e.kind);
      EXPECT_EQ(answer.text, e.text);
      EXPECT_EQ(answer.location, e.location);
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(script.next().kind, Kind::kEnd);
    EXPECT_FALSE(script.failed());
    EXPECT_FALSE(script.interactive());
  }
}

TEST_F(ScriptInputTest, EchoesEveryAnswerButNotComments) {
  cad::ScriptInput script("test.scr", "first\n;hidden\n*cancel*\n\nlast");
  while (script.next().kind != Kind::kEnd) {
  }
  EXPECT_EQ(transcript(), "first\n*cancel*\n\nlast\n");
}

TEST_F(ScriptInputTest, RejectionNamesTheLineAndEndsTheScript) {
  cad::ScriptInput script("house.scr", "ok\n;c\nbad\nnever\n");
  script.next();
  const cad::Answer bad = script.next();
  ASSERT_EQ(bad.text, "bad");
  script.reject(bad, "not a point");
  EXPECT_TRUE(script.failed());
  EXPECT_NE(transcript().find("house.scr:3: not a point\n"), std::string::npos) << transcript();
  EXPECT_EQ(script.next().kind, Kind::kEnd);
  EXPECT_EQ(transcript().find("never"), std::string::npos);
}

TEST_F(ScriptInputTest, InvalidUtf8LineIsAnErrorNamingTheLine) {
  // A line saved in code page 936 ("模块") instead of UTF-8.
  cad::ScriptInput script("test.scr", "ok\n\xC4\xA3\xBF\xE9\nnever\n");
  EXPECT_EQ(script.next().text, "ok");
  EXPECT_EQ(script.next().kind, Kind::kEnd);
  EXPECT_TRUE(script.failed());
  EXPECT_NE(transcript().find("test.scr:2: the line is not valid UTF-8 text"), std::string::npos)
      << transcript();
}

TEST_F(ScriptInputTest, ReadsAScriptFile) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("script_input_test_" + std::to_string(getpid()) + ".scr");
  std::ofstream(path, std::ios::binary) << "one\r\ntwo\r\n";
  auto script = cad::ScriptInput::fromFile(path.string());
  ASSERT_TRUE(script.isOk()) << script.message();
  EXPECT_EQ((*script)->next().text, "one");
  const cad::Answer second = (*script)->next();
  EXPECT_EQ(second.text, "two");
  EXPECT_EQ(second.location, path.string() + ":2");
  std::filesystem::remove(path);
}

TEST_F(ScriptInputTest, AScriptThatCannotBeReadIsAnErrorNamingIt) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  struct Case {
    std::string path, error;
  } cases[] = {
      {"/nonexistent/dir/run.scr", "cannot open script /nonexistent/dir/run.scr: "},
      {folder, "cannot read script " + folder},
  };
  for (const Case& c : cases) {
    const auto script = cad::ScriptInput::fromFile(c.path);
    EXPECT_FALSE(script.isOk()) << c.path;
    EXPECT_TRUE(script.message().starts_with(c.error)) << script.message();
  }
}

}  // namespace
