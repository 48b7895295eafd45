// cadhost driven by another program over a pair of pipes: each answer is
// written only once the prompt it answers has arrived.

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>

#include "support/program_test.h"

namespace {

namespace fs = std::filesystem;

class PipedCadhost {
 public:
  explicit PipedCadhost(const fs::path& folder) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(toChild[0], STDIN_FILENO);
      dup2(fromChild[1], STDOUT_FILENO);
      for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) close(fd);
      if (chdir(folder.c_str()) != 0) _exit(126);
      const std::string drawing = std::string(TAVRIN_EXAMPLES_DIR) + "/house/house.dxf";
      execl(CADHOST_PATH, CADHOST_PATH, drawing.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    in_ = toChild[1];
    out_ = fromChild[0];
  }
  ~PipedCadhost() {
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool started() const { return pid_ > 0 && in_ >= 0; }

  void send(const std::string& line) {
    const std::string text = line + "\n";
    ASSERT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Reads until `text` arrives after what earlier waits consumed; false after
  // five seconds without it (the input stays open: nothing is at its end).
  bool waitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (output_.find(text, seen_) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      struct pollfd waiting = {out_, POLLIN, 0};
      if (poll(&waiting, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t got = read(out_, buffer, sizeof buffer);
      if (got <= 0) return false;
      output_.append(buffer, static_cast<std::size_t>(got));
    }
    seen_ = output_.find(text, seen_) + text.size();
    return true;
  }
  int finish() {
    close(in_);
    in_ = -1;
    int status = 0;
    waitpid(pid_, &status, 0);
    exited_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int in_ = -1, out_ = -1;
  bool exited_ = false;
  std::string output_;
  std::size_t seen_ = 0;
};

using CadhostPipeTest = ProgramTest;

TEST_F(CadhostPipeTest, AnotherProgramAnswersEachPromptAsItArrives) {
  PipedCadhost cadhost(folder_);
  ASSERT_TRUE(cadhost.started());
  const struct {
    const char* awaited;  // the prompt, flushed although standard output is a pipe
    const char* answer;
  } steps[] = {
      {"Command: ", "acadtomn"},
      {"选择基准点：", "0,0"},
      {"Select objects: ", "all"},
      {"2 found, 2 total\n  2 LINE, 0 ARC, 0 other\nSelect objects: ", ""},
      {"Answer with a path, or *cancel*.\n", "tower"},
      {"<focus>", "click 1005"},
      {"Command: ", "drawing"},
      {"The drawing holds 2 entities.", "quit"},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(cadhost.waitFor(step.awaited)) << "waiting for: " << step.awaited << "\n"
                                               << cadhost.output();
    cadhost.send(step.answer);
  }
  EXPECT_EQ(cadhost.finish(), 0) << cadhost.output();
  EXPECT_TRUE(fs::exists(folder_ / "tower.N1"));
  EXPECT_EQ(cadhost.output().find("\x1b["), std::string::npos) << "no terminal controls";
}

}  // namespace
