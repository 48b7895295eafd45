// The page's answers as an input source, and the script they make.

#include "web_session/web_input.h"

#include <gtest/gtest.h>

#include <thread>

#include "cad/command_line.h"

namespace {

using Kind = cad::Answer::Kind;

TEST(WebInputTest, AnswersInOrderAndRecordsOnlyWhatTheAskersTook) {
  web::WebInput input;
  for (const char* line : {"acadtomn", "0,0", "bogus", "1,1", "*Cancel*", "", "quit"})
    input.push(line);
  struct Step {
    Kind kind;
    const char* text;
    bool rejected;
    bool atCommand;
  };
  const Step steps[] = {{Kind::kLine, "acadtomn", false, true},
                        {Kind::kLine, "0,0", false, false},
                        {Kind::kLine, "bogus", true, false},
                        {Kind::kLine, "1,1", false, false},
                        {Kind::kCancel, "", false, false},
                        {Kind::kLine, "", false, true},
                        // quit at the command prompt ends, and is no answer.
                        {Kind::kEnd, "", false, true}};
  for (const Step& step : steps) {
    if (step.atCommand) input.atCommandPrompt();
    const cad::Answer answer = input.next();
    EXPECT_EQ(answer.kind, step.kind) << step.text;
    EXPECT_EQ(answer.text, step.text);
    if (step.rejected) input.reject(answer, "not a point");
  }
  EXPECT_EQ(input.script(), "acadtomn\n0,0\n1,1\n*Cancel*\n\n");
  EXPECT_EQ(input.next().kind, Kind::kEnd);
  EXPECT_FALSE(input.interactive());
  EXPECT_FALSE(input.failed());
}

TEST(WebInputTest, QuitOutsideTheCommandPromptIsAnAnswer) {
  web::WebInput input;
  input.push("quit");
  const cad::Answer answer = input.next();
  EXPECT_EQ(answer.kind, Kind::kLine);
  EXPECT_EQ(answer.text, "quit");
}

TEST(WebInputTest, WaitsForTheNextAnswerAndEndsWhenTold) {
  web::WebInput input;
  std::thread page([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    input.push("late");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    input.end();
  });
  EXPECT_EQ(input.next().text, "late");
  EXPECT_EQ(input.next().kind, Kind::kEnd);
  page.join();
  EXPECT_TRUE(input.ended());
}

TEST(WebInputTest, EchoesAnswersAndReasonsOnTheCommandLine) {
  cad::commandLine().clear();
  int waits = 0;
  web::WebInput input([&] { ++waits; });
  input.push("12,x");
  const cad::Answer answer = input.next();
  input.reject(answer, "12,x is no point");
  EXPECT_EQ(cad::commandLine().transcript(), "12,x\n12,x is no point\n");
  EXPECT_EQ(waits, 1);
}

}  // namespace
