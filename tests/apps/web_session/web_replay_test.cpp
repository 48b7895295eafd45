// A page session of `cadhost --web`, driven through the HTTP API as the page
// drives it, then replayed from its script with `cadhost --script`: both
// write the same files, byte for byte.

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "support/program_test.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// cadhost --web running in `folder`, its output in folder/web-out.
class WebHost {
 public:
  WebHost(const fs::path& folder, const std::vector<std::string>& arguments) : folder_(folder) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(folder.c_str()) != 0) _exit(127);
      const int out = open("web-out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = open("web-err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      dup2(err, 2);
      std::vector<char*> argv{const_cast<char*>(CADHOST_PATH)};
      for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(CADHOST_PATH, argv.data());
      _exit(127);
    }
  }
  ~WebHost() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }

  // The address line, once printed; empty after 20 s without one.
  std::string address() {
    for (int i = 0; i < 400; ++i) {
      const std::string out = readAll(folder_ / "web-out");
      if (const auto end = out.find('\n'); end != std::string::npos) return out.substr(0, end);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "";
  }

  // The exit status, waiting up to 20 s; -1 when it did not end.
  int wait() {
    for (int i = 0; i < 400; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
  }

 private:
  fs::path folder_;
  pid_t pid_ = -1;
};

// The page's side: the cookie, and the events seen so far.
class Page {
 public:
  Page(int port, std::string token)
      : client_("127.0.0.1", port), cookie_({{"Cookie", "tavrin_token=" + token}}) {
    client_.set_read_timeout(30);
  }

  // Waits for the host to ask; what it asks for ("command", "point", ...),
  // or "" when the session ended first.
  std::string nextAsk() {
    for (;;) {
      const auto result =
          client_.Get(("/api/events?after=" + std::to_string(seen_)).c_str(), cookie_);
      if (!result || result->status != 200) return "";
      const json batch = json::parse(result->body);
      for (const json& event : batch["events"]) {
        seen_ = event["seq"];
        transcript_ += event.value("text", "");
        if (event["kind"] == "ended") return "";
        if (event["kind"] == "saved") saved_.push_back(event);
        if (event["kind"] == "ask") return event["what"];
      }
    }
  }
  int answer(const std::string& line) {
    const auto result =
        client_.Post("/api/answer", cookie_, json{{"line", line}}.dump(), "application/json");
    return result ? result->status : -1;
  }
  std::string get(const std::string& path) {
    const auto result = client_.Get(path.c_str(), cookie_);
    return result ? result->body : "";
  }
  const std::string& transcript() const { return transcript_; }
  const std::vector<json>& saved() const { return saved_; }

 private:
  httplib::Client client_;
  httplib::Headers cookie_;
  std::uint64_t seen_ = 0;
  std::string transcript_;
  std::vector<json> saved_;
};

class WebReplayTest : public ProgramTest {};

TEST_F(WebReplayTest, APageSessionReplaysToIdenticalFiles) {
  const std::string drawing = std::string(TAVRIN_EXAMPLES_DIR) + "/plan/plan.dxf";
  // The example's answers, as a user gives them on the page.
  std::vector<std::string> lines;
  std::istringstream example(readAll(std::string(TAVRIN_EXAMPLES_DIR) + "/plan/plan.scr"));
  for (std::string line; std::getline(example, line);)
    if (!line.starts_with(';')) lines.push_back(line);
  ASSERT_GT(lines.size(), 5u);

  const fs::path web = folder_ / "web", replay = folder_ / "replay";
  fs::create_directories(web);
  fs::create_directories(replay);
  std::string script;
  {
    WebHost host(web, {"--web", drawing});
    const std::string address = host.address();
    ASSERT_TRUE(address.starts_with("http://127.0.0.1:")) << address;
    const auto colon = address.find(':', 7), slash = address.find("/?token=");
    Page page(std::stoi(address.substr(colon + 1, slash - colon - 1)), address.substr(slash + 8));
    // A wrong answer on the way is refused and asked again; it is no part of
    // the script.
    ASSERT_EQ(page.nextAsk(), "command");
    ASSERT_EQ(page.answer("acadtomn"), 204);
    ASSERT_EQ(page.nextAsk(), "point");
    ASSERT_EQ(page.answer("not a point"), 204);
    for (std::size_t i = 1; i < lines.size(); ++i) {
      ASSERT_NE(page.nextAsk(), "") << "before " << lines[i] << "\n" << page.transcript();
      ASSERT_EQ(page.answer(lines[i]), 204);
    }
    ASSERT_EQ(page.nextAsk(), "command") << page.transcript();
    script = page.get("/api/script");
    // The saved floor, with morlenview's picture and report.
    ASSERT_EQ(page.saved().size(), 1u) << page.transcript();
    const json& saved = page.saved()[0];
    EXPECT_EQ(saved["floor"], 2);
    EXPECT_EQ(saved["project"], (web / "plan.prj").string());
    EXPECT_NE(saved["report"].get<std::string>().find("Floor 2 (plan.N2): "), std::string::npos)
        << saved["report"];
    ASSERT_EQ(saved["picture"], "/api/picture/2.svg");
    EXPECT_NE(page.get("/api/picture/2.svg").find("<svg"), std::string::npos);
    ASSERT_EQ(page.answer("quit"), 204);
    EXPECT_EQ(page.nextAsk(), "");
    EXPECT_EQ(host.wait(), 0) << readAll(web / "web-err");
  }
  std::string expectedScript;
  for (const std::string& line : lines) expectedScript += line + "\n";
  EXPECT_EQ(script, expectedScript);

  std::ofstream(replay / "session.scr", std::ios::binary) << script;
  const Outcome ran = runShell("cd " + quoted(replay.string()) + " && " +
                               commandLine(CADHOST_PATH, {"--script", "session.scr", drawing}));
  ASSERT_EQ(ran.status, 0) << ran.out << ran.err;

  int compared = 0;
  for (const auto& entry : fs::directory_iterator(web)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("web-")) continue;
    EXPECT_EQ(readAll(entry.path()), readAll(replay / name)) << name;
    ++compared;
  }
  EXPECT_GE(compared, 3);  // the project, the floor and its info file
}

}  // namespace
