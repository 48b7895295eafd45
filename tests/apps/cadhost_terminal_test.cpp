// cadhost at a terminal: run in a pseudo-terminal, driven by keys as a person
// types them, with assertions on what the screen receives.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/program_test.h"

namespace {

namespace fs = std::filesystem;

// cadhost on the house example in a terminal of 80 by 40, or another size;
// with `log`, its standard output goes to that file instead.
class Terminal {
 public:
  explicit Terminal(const fs::path& folder, unsigned short columns = 80, unsigned short rows = 40,
                    const fs::path& log = {}) {
    struct winsize size {};
    size.ws_row = rows;
    size.ws_col = columns;
    pid_ = forkpty(&fd_, nullptr, nullptr, &size);
    if (pid_ == 0) {
      if (chdir(folder.c_str()) != 0) _exit(126);
      if (!log.empty()) {
        const int file = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (file < 0 || dup2(file, STDOUT_FILENO) < 0) _exit(125);
        close(file);
      }
      const std::string drawing = std::string(TAVRIN_EXAMPLES_DIR) + "/house/house.dxf";
      execl(CADHOST_PATH, CADHOST_PATH, drawing.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0 && !exited_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
  }
  bool started() const { return pid_ > 0; }

  void type(const std::string& keys) {
    ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // Reads the screen until `text` appears after what earlier waits consumed;
  // false after five seconds without it.
  bool waitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (screen_.find(text, seen_) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline || !readSome()) return false;
    }
    seen_ = screen_.find(text, seen_) + text.size();
    return true;
  }
  // The exit status once the program ends, or -1 after five seconds.
  int exitStatus() {
    for (int i = 0; i < 50; ++i) {
      readSome();
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(100000);
    }
    return -1;
  }
  const std::string& screen() const { return screen_; }

 private:
  bool readSome() {
    struct pollfd waiting = {fd_, POLLIN, 0};
    if (poll(&waiting, 1, 100) < 0) return false;
    if ((waiting.revents & POLLIN) == 0) return (waiting.revents & POLLHUP) == 0;
    char buffer[4096];
    const ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got <= 0) return false;
    screen_.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  int fd_ = -1;
  pid_t pid_ = -1;
  bool exited_ = false;
  std::string screen_;
  std::size_t seen_ = 0;
};

using CadhostTerminalTest = ProgramTest;

#define EXPECT_SCREEN(terminal, text) \
  EXPECT_TRUE((terminal).waitFor(text)) << "waiting for: " << (text) << "\n" << (terminal).screen()

TEST_F(CadhostTerminalTest, APersonRecoversFromATypoCancelsAndExportsByKeys) {
  Terminal terminal(folder_);
  ASSERT_TRUE(terminal.started());
  EXPECT_SCREEN(terminal, "layers with LINE or ARC:\r\n    AXIS: 2 LINE\r\n");
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("acadtmn\r");
  EXPECT_SCREEN(terminal, "did you mean acadtomn?");
  terminal.type("acadtomn\r");
  EXPECT_SCREEN(terminal, "选择基准点：");
  terminal.type("12\x1b");  // Esc drops what was typed and cancels
  EXPECT_SCREEN(terminal, "取消选点!");
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("\r");  // Enter repeats the command
  EXPECT_SCREEN(terminal, "acadtomn\r\n");
  EXPECT_SCREEN(terminal, "选择基准点：");
  terminal.type("0，0\r");
  EXPECT_SCREEN(terminal, "Select objects: ");
  terminal.type("all\r");
  EXPECT_SCREEN(terminal, "2 found, 2 total\r\n  2 LINE, 0 ARC, 0 other\r\n");
  terminal.type("\r");
  EXPECT_SCREEN(terminal, "File name: ");
  terminal.type("tower\r");
  EXPECT_SCREEN(terminal, "  选择标准层: »[1     ]«  ↑↓\r\n");
  // Floor 2 and Tab: the dialog is drawn again over itself, the focus on
  // the unit list.
  terminal.type("2\t");
  EXPECT_SCREEN(terminal, "A\r\x1b[J── 存为Morlen轴网格式 ──");
  EXPECT_SCREEN(terminal, "  单位: »<毫米>«");
  terminal.type("\t\t\r");  // past the scale to Save, and press it
  EXPECT_SCREEN(terminal, "已写入 " + (folder_ / "tower.N2").string() + "：2 条轴线，4 段");
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("\x03");
  EXPECT_SCREEN(terminal, "Ctrl-C again or Ctrl-D ends the session.");
  terminal.type("\x03");
  EXPECT_EQ(terminal.exitStatus(), 0) << terminal.screen();
  EXPECT_TRUE(fs::exists(folder_ / "tower.N2"));
  EXPECT_EQ(terminal.screen().find("1004 edit"), std::string::npos)
      << "a person sees the laid-out dialog, not the control listing";
}

TEST_F(CadhostTerminalTest, CtrlCLeavesTheDialogAndTheCommandAndWritesNothing) {
  Terminal terminal(folder_);
  ASSERT_TRUE(terminal.started());
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("acadtomn\r0,0\rlayer AXIS\r\rtower\r");
  EXPECT_SCREEN(terminal, "── 存为Morlen轴网格式 ──");
  terminal.type("\x03");
  EXPECT_SCREEN(terminal, "closed: Cancel");
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("\x04");  // Ctrl-D ends the session
  EXPECT_EQ(terminal.exitStatus(), 0) << terminal.screen();
  EXPECT_FALSE(fs::exists(folder_ / "tower.N1"));
}

TEST_F(CadhostTerminalTest, TheCommandLineHabitsOfACadUser) {
  Terminal terminal(folder_);
  ASSERT_TRUE(terminal.started());
  EXPECT_SCREEN(terminal, "acadtomn turns the LINEs and ARCs you select into the axis grid");
  EXPECT_SCREEN(terminal, "Command: ");
  terminal.type("acadtomn ");  // Space ends a command name
  EXPECT_SCREEN(terminal, "[x,y; ?: help; Enter or Esc: cancel] ");
  terminal.type("?\r");
  EXPECT_SCREEN(terminal, "@dx,dy\r\nrelative to the last point");
  terminal.type("１００，０ ");  // full-width, ended by Space
  EXPECT_SCREEN(terminal, "Select objects: ");
  terminal.type("help ");
  EXPECT_SCREEN(terminal, "W / window x1,y1 x2,y2");
  terminal.type("w ");
  EXPECT_SCREEN(terminal, "First corner: ");
  terminal.type("-1,-1 ");
  EXPECT_SCREEN(terminal, "Opposite corner: ");
  terminal.type("20000,1 ");
  EXPECT_SCREEN(terminal, "1 found, 1 total");
  terminal.type("L ");
  EXPECT_SCREEN(terminal, "1 found, 2 total");
  terminal.type("r ");
  EXPECT_SCREEN(terminal, "Remove objects: ");
  terminal.type("L ");
  EXPECT_SCREEN(terminal, "1 removed, 1 total");
  terminal.type("u ");
  EXPECT_SCREEN(terminal, "Last clause undone, 2 total");
  terminal.type("layer Site Layout\r");
  EXPECT_SCREEN(terminal, "Layer names");
  EXPECT_SCREEN(terminal, "no entity is on layer \"Site\", \"Layout\"");
  terminal.type("\r");
  EXPECT_SCREEN(terminal, "File name: ");
  terminal.type("?\r");
  EXPECT_SCREEN(terminal, "a folder to\r\nlook in");
  terminal.type("exit\r");
  EXPECT_SCREEN(terminal, "end the session? (y/n) ");
  terminal.type("y\r");
  EXPECT_EQ(terminal.exitStatus(), 0) << terminal.screen();
  EXPECT_TRUE(fs::is_empty(folder_)) << "nothing was written";
}

TEST_F(CadhostTerminalTest, TheFormFitsSmallTerminalsAndRedrawsInPlace) {
  for (const auto& [columns, rows] : {std::pair<int, int>{60, 20}, {40, 12}}) {
    SCOPED_TRACE(std::to_string(columns) + "x" + std::to_string(rows));
    Terminal terminal(folder_, static_cast<unsigned short>(columns),
                      static_cast<unsigned short>(rows));
    ASSERT_TRUE(terminal.started());
    EXPECT_SCREEN(terminal, "Command: ");
    terminal.type("acadtomn 0,0 all \rtower\r");
    const bool compact = rows < 14;
    if (compact) {
      EXPECT_SCREEN(terminal, "compact form: the full one needs ");
      EXPECT_SCREEN(terminal, " »选择标准层: [1]«\r\n");
    } else {
      EXPECT_SCREEN(terminal, "── 存为Morlen轴网格式 ──");
      EXPECT_SCREEN(terminal, "  选择标准层: »[1     ]«");
    }
    terminal.type("\t");
    // Drawn again over itself: up over its lines and the answer's.
    EXPECT_SCREEN(terminal,
                  compact ? "A\r\x1b[Jcompact form" : "\x1b[12A\r\x1b[J── 存为Morlen轴网格式 ──");
    EXPECT_SCREEN(terminal, compact ? " »单位: <毫米>«\r\n" : "  单位: »<毫米>«");
    terminal.type("\x1b");
    EXPECT_SCREEN(terminal, "Command: ");
    terminal.type("\x04");
    EXPECT_EQ(terminal.exitStatus(), 0) << terminal.screen();
    // No line drawn wider than the terminal.
    const std::string& screen = terminal.screen();
    std::size_t start = screen.find(compact ? "compact form" : "── 存为");
    while (start != std::string::npos && start < screen.size()) {
      const std::size_t end = screen.find("\r\n", start);
      std::string line = screen.substr(start, end - start);
      if (line.find("closed: ") != std::string::npos) break;
      if (const std::size_t erased = line.rfind("\x1b[J"); erased != std::string::npos)
        line.erase(0, erased + 3);
      long width = 0;
      for (const char byte : line) {
        const auto c = static_cast<unsigned char>(byte);
        width += (c & 0xC0) != 0x80 ? (c >= 0xE3 && c <= 0xE9 ? 2 : 1) : 0;
      }
      EXPECT_LT(width, columns) << line;
      start = end == std::string::npos ? end : end + 2;
    }
  }
}

TEST_F(CadhostTerminalTest, OutputToAFileKeepsTheScreenOnTheTerminalAndTheLogClean) {
  const fs::path log = folder_ / "log.txt";
  {
    Terminal terminal(folder_, 80, 40, log);
    ASSERT_TRUE(terminal.started());
    EXPECT_SCREEN(terminal, "Command: ");
    terminal.type("acadtomn ");
    EXPECT_SCREEN(terminal, "选择基准点：");
    terminal.type("\x1b");
    EXPECT_SCREEN(terminal, "取消选点!");
    terminal.type("\x04");
    EXPECT_EQ(terminal.exitStatus(), 0) << terminal.screen();
  }
  std::ifstream file(log, std::ios::binary);
  const std::string logged((std::istreambuf_iterator<char>(file)), {});
  EXPECT_NE(logged.find("Command: acadtomn\n"), std::string::npos) << logged;
  EXPECT_NE(logged.find("取消选点!"), std::string::npos) << logged;
  EXPECT_EQ(logged.find("\x1b"), std::string::npos) << "no terminal controls in the log";
}

}  // namespace
