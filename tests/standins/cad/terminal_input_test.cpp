#include "cad/terminal_input.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cad/command_line.h"
#include "fresh_host.h"

namespace {

using Kind = cad::Answer::Kind;

class TerminalInputTest : public FreshHost {
 protected:
  void TearDown() override {
    cad::commandLine().setTerminal(nullptr);
    FreshHost::TearDown();
  }
};

TEST_F(TerminalInputTest, ReadsLinesCancelAndEnd) {
  std::istringstream typed("1,2\r\n\n*CANCEL*\nnext\n");
  cad::TerminalInput terminal(typed);
  EXPECT_TRUE(terminal.interactive());
  const cad::Answer first = terminal.next();
  EXPECT_EQ(first.kind, Kind::kLine);
  EXPECT_EQ(first.text, "1,2");
  EXPECT_EQ(first.location, "terminal:1");
  const cad::Answer empty = terminal.next();
  EXPECT_EQ(empty.kind, Kind::kLine);
  EXPECT_EQ(empty.text, "");
  EXPECT_EQ(terminal.next().kind, Kind::kCancel);
  EXPECT_EQ(terminal.next().text, "next");
  EXPECT_EQ(terminal.next().kind, Kind::kEnd);
  EXPECT_EQ(terminal.next().kind, Kind::kEnd);
}

TEST_F(TerminalInputTest, SpaceEndsAnAnswerOnlyWhereTheAskerSaysSo) {
  std::istringstream typed("w 0,0 \"Site Layout\" x layer A B\n");
  cad::TerminalInput terminal(typed);
  const struct {
    bool spaceEnds;
    const char* expected;
  } steps[] = {
      {true, "w"},
      {true, "0,0"},
      {true, "\"Site Layout\""},  // not inside quotes
      {false, "x layer A B"},     // free text: Space is a character
  };
  for (const auto& step : steps) {
    terminal.setSpaceEndsAnswer(step.spaceEnds);
    const cad::Answer answer = terminal.next();
    EXPECT_EQ(answer.kind, Kind::kLine);
    EXPECT_EQ(answer.text, step.expected);
  }
}

TEST_F(TerminalInputTest, QuitWhileACommandRunsAsksFirst) {
  const struct {
    const char* typed;
    Kind first;         // what the asker gets
    const char* text;   // its text when a line
    bool endsAtPrompt;  // the input ends at the next command prompt
  } cases[] = {
      {"quit\ny\nmore\n", Kind::kInterrupt, "", true},
      {"EXIT\nn\n1,2\nmore\n", Kind::kLine, "1,2", false},
      {"exit\n\x1bmore\n", Kind::kCancel, "", false},
  };
  for (const auto& c : cases) {
    std::istringstream typed(c.typed);
    cad::TerminalInput terminal(typed);
    const cad::Answer answer = terminal.next();
    EXPECT_EQ(answer.kind, c.first) << c.typed;
    EXPECT_EQ(answer.text, c.text) << c.typed;
    EXPECT_NE(cad::commandLine().transcript().find("end the session? (y/n)"), std::string::npos);
    terminal.atCommandPrompt();
    EXPECT_EQ(terminal.next().kind == Kind::kEnd, c.endsAtPrompt) << c.typed;
    cad::commandLine().clear();
  }
  std::istringstream atPrompt("quit\n");
  cad::TerminalInput terminal(atPrompt);
  terminal.atCommandPrompt();
  EXPECT_EQ(terminal.next().text, "quit") << "the command prompt runs the quit command itself";
}

TEST_F(TerminalInputTest, RejectionPrintsTheReasonAndGoesOn) {
  std::istringstream typed("bad\ngood\n");
  cad::TerminalInput terminal(typed);
  terminal.reject(terminal.next(), "not a point");
  EXPECT_FALSE(terminal.failed());
  EXPECT_NE(transcript().find("not a point\n"), std::string::npos);
  EXPECT_EQ(terminal.next().text, "good");
}

TEST_F(TerminalInputTest, TypedTextGoesToTheTranscriptNotBackToTheTerminal) {
  std::ostringstream screen;
  cad::commandLine().setTerminal(&screen);
  std::istringstream typed("hello\n");
  cad::TerminalInput terminal(typed);
  EXPECT_EQ(terminal.next().text, "hello");
  EXPECT_EQ(transcript(), "hello\n");
  EXPECT_EQ(screen.str(), "");
  EXPECT_EQ(cad::commandLine().terminal(), &screen);
}

TEST_F(TerminalInputTest, InvalidUtf8IsRefusedAndTheNextLineRead) {
  std::istringstream typed("\xFF\xFE\nok\n");
  cad::TerminalInput terminal(typed);
  const cad::Answer answer = terminal.next();
  EXPECT_EQ(answer.text, "ok");
  EXPECT_EQ(answer.location, "terminal:2");
  EXPECT_NE(transcript().find("not valid UTF-8"), std::string::npos);
}

TEST_F(TerminalInputTest, KeysEditCancelInterruptAndEnd) {
  const struct {
    const char* label;
    std::string keys;
    Kind kind;
    std::string text;
  } cases[] = {
      {"Backspace erases characters, also Chinese ones",
       "ab\x7f\xE8\xBD\xB4\x08"
       "c\r",
       Kind::kLine, "ac"},
      {"a CR LF pair is one Enter", "x\r\ny\n", Kind::kLine, "x"},
      {"Esc cancels", "ab\x1b", Kind::kCancel, ""},
      {"arrows without key events are ignored", "\x1b[Aok\n", Kind::kLine, "ok"},
      {"Ctrl-C interrupts", "ab\x03", Kind::kInterrupt, ""},
      {"Ctrl-D on an empty line ends", "\x04more\n", Kind::kEnd, ""},
      {"Ctrl-D after text is ignored",
       "a\x04"
       "b\n",
       Kind::kLine, "ab"},
      {"other control keys are ignored", "a\x01\x1b[5~b\n", Kind::kLine, "ab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::istringstream typed(c.keys);
    cad::TerminalInput terminal(typed);
    const cad::Answer answer = terminal.next();
    EXPECT_EQ(answer.kind, c.kind);
    EXPECT_EQ(answer.text, c.text);
  }
}

TEST_F(TerminalInputTest, AnInterruptLastsUntilTheCommandPromptAndBreaksComputations) {
  std::istringstream typed("\x03next\n");
  cad::TerminalInput terminal(typed);
  EXPECT_EQ(terminal.next().kind, Kind::kInterrupt);
  EXPECT_EQ(terminal.next().kind, Kind::kInterrupt) << "every asker of the command hears it";
  EXPECT_TRUE(terminal.userBreak());
  terminal.atCommandPrompt();
  EXPECT_EQ(terminal.next().text, "next");
  EXPECT_FALSE(terminal.userBreak());

  // Keys typed during a computation are kept for the next prompt; Esc
  // breaks and drops them.
  std::istringstream ahead("typed ahead\n");
  cad::TerminalInput typing(ahead);
  EXPECT_FALSE(typing.userBreak());
  EXPECT_EQ(typing.next().text, "typed ahead");
  std::istringstream during(
      "xy\x1b"
      "after\n");
  cad::TerminalInput busy(during);
  EXPECT_TRUE(busy.userBreak());
  EXPECT_EQ(busy.next().text, "after");
}

TEST_F(TerminalInputTest, KeyEventsNameTheKeysADialogMovesWith) {
  std::istringstream typed(
      "\x1b[A\x1bOB\t\x1b[Z\r\x7f"
      "2\t"
      "c\x1b[B\x1b");
  cad::TerminalInput terminal(typed);
  terminal.setKeyEvents(true);
  for (const char* expected : {"key UP", "key DOWN", "key TAB", "key SHIFT+TAB", "key ENTER",
                               "key BACKSPACE", "2", "key TAB", "c", "key DOWN"}) {
    const cad::Answer answer = terminal.next();
    EXPECT_EQ(answer.kind, Kind::kLine) << expected;
    EXPECT_EQ(answer.text, expected);
  }
  EXPECT_EQ(terminal.next().kind, Kind::kCancel) << "Esc alone still cancels";
}

}  // namespace
