#include "cad/command_processor.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>

#include "cad/command_stack.h"
#include "cad/terminal_input.h"
#include "fresh_host.h"
#include "host/ads.h"

namespace {

int helloRuns = 0;

void hello() {
  ++helloRuns;
  ads_printf("hello ran");
}

void askPoint() {
  ads_point point;
  const int result = ads_getpoint(nullptr, "\nPoint: ", point);
  if (result == RTNORM)
    ads_printf("\ngot %g,%g\n", point[X], point[Y]);
  else
    ads_printf("\nresult %d\n", result);
}

void throwing() {
  throw std::runtime_error("broken on purpose");
}

class CommandProcessorTest : public FreshHost {
 protected:
  void SetUp() override {
    FreshHost::SetUp();
    helloRuns = 0;
    cad::commandStack().addCommand("TEST", "hello", "nihao", 0, hello);
    cad::commandStack().addCommand("TEST", "ask", "ask", 0, askPoint);
    cad::commandStack().addCommand("TEST", "throwing", "throwing", 0, throwing);
  }

  cad::SessionResult runScript(std::string_view script) {
    useScript(script);
    return processor.run();
  }

  cad::CommandProcessor processor;
};

TEST_F(CommandProcessorTest, RunsCommandsNamedAtThePrompt) {
  const cad::SessionResult result = runScript("hello\n\n  NIHAO \n;comment\n*cancel*\nHello\n");
  EXPECT_EQ(helloRuns, 3);
  EXPECT_EQ(result.commandsRun, 3);
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(transcript(),
            "Command: hello\nhello ran\nCommand: \nCommand:   NIHAO \nhello ran\n"
            "Command: *cancel*\n*Cancel*\nCommand: Hello\nhello ran\nCommand: \n");
}

TEST_F(CommandProcessorTest, CommandTakesItsAnswersFromTheSameScript) {
  const cad::SessionResult result = runScript("ask\n3,4\nask\n*cancel*\nask\n");
  EXPECT_TRUE(result.ok());
  EXPECT_NE(transcript().find("Point: 3,4\n\ngot 3,4\n"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("Point: *cancel*\n\nresult -5002\n"), std::string::npos);
  // The last ask meets the end of the script: a cancel, then the session ends.
  EXPECT_NE(transcript().find("Point: \nresult -5002\nCommand: \n"), std::string::npos)
      << transcript();
}

TEST_F(CommandProcessorTest, UnknownCommandIsAScriptErrorNamingItsLine) {
  const cad::SessionResult result = runScript("hello\n;x\nnosuch\nhello\n");
  EXPECT_EQ(helloRuns, 1);
  EXPECT_TRUE(result.inputFailed);
  EXPECT_FALSE(result.ok());
  EXPECT_NE(transcript().find("test.scr:3: unknown command \"nosuch\"\n"), std::string::npos)
      << transcript();
}

TEST_F(CommandProcessorTest, ThrowingCommandIsReportedAndThePromptComesBack) {
  const cad::SessionResult result = runScript("throwing\nhello\n");
  EXPECT_EQ(result.commandErrors, 1);
  EXPECT_EQ(helloRuns, 1);
  EXPECT_FALSE(result.ok());
  EXPECT_NE(transcript().find("Command throwing failed: broken on purpose\n"), std::string::npos)
      << transcript();
}

TEST_F(CommandProcessorTest, HostCommandsListWhatIsRegistered) {
  runScript("commands\nmodules\nDRAWING\n");
  EXPECT_NE(transcript().find("  TEST: hello / nihao\n"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("No modules are loaded.\n"), std::string::npos);
  EXPECT_NE(transcript().find("The drawing holds 0 entities.\n"), std::string::npos);
}

TEST_F(CommandProcessorTest, ChineseCommandNamesAreTypedInUtf8) {
  cad::commandStack().addCommand("TEST", "\xD6\xE1\xCD\xF8", "\xD6\xE1\xCD\xF8", 0, hello);  // 轴网
  runScript("轴网\n");
  EXPECT_EQ(helloRuns, 1);
}

TEST_F(CommandProcessorTest, HelpSuggestionsAndRepeatingForAPerson) {
  const cad::SessionResult script = runScript("?\nhallo\n");
  EXPECT_NE(transcript().find("Commands:\n  hello  (TEST)\n"), std::string::npos) << transcript();
  EXPECT_NE(transcript().find("How to answer (? or help at any prompt says what it takes):\n"),
            std::string::npos);
  EXPECT_NE(transcript().find("test.scr:2: unknown command \"hallo\"; did you mean hello?\n"),
            std::string::npos)
      << transcript();
  EXPECT_TRUE(script.inputFailed);

  // At a terminal an empty line repeats the last command; a name far from
  // every command gets no suggestion.
  cad::resetHost();
  SetUp();
  std::istringstream typed("hello\n\nzzzzzz\n");
  cad::setInput(std::make_unique<cad::TerminalInput>(typed));
  const cad::SessionResult person = processor.run();
  EXPECT_EQ(helloRuns, 2);
  EXPECT_TRUE(person.ok());
  EXPECT_NE(transcript().find("unknown command \"zzzzzz\" (help lists the commands)\n"),
            std::string::npos)
      << transcript();
}

TEST_F(CommandProcessorTest, CtrlCCancelsTheCommandAndASecondOneEndsTheSession) {
  // Ctrl-C at the point prompt ends the command; the next prompt asks anew.
  std::istringstream typed("ask\n\x03hello\n\x03\x03hello\n");
  cad::setInput(std::make_unique<cad::TerminalInput>(typed));
  const cad::SessionResult result = processor.run();
  EXPECT_NE(transcript().find("Point: [x,y; ?: help; Enter or Esc: cancel] ^C\n\nresult -5002\n"),
            std::string::npos)
      << transcript();
  EXPECT_EQ(helloRuns, 1) << "the second Ctrl-C in a row ended the session";
  EXPECT_NE(transcript().find("*Cancel*\n(Ctrl-C again or Ctrl-D ends the session.)\n"),
            std::string::npos);
  EXPECT_TRUE(result.ok());
}

TEST_F(CommandProcessorTest, EmptyInputEndsAtOnce) {
  const cad::SessionResult result = runScript("");
  EXPECT_TRUE(result.ok());
  EXPECT_EQ(result.commandsRun, 0);
  EXPECT_EQ(transcript(), "Command: \n");
}

}  // namespace
