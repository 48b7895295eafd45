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

}  // namespace
