#include "dwg/dwg_importer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <system_error>

extern char** environ;

namespace cad::dwg {
namespace {

// The importer's exit statuses besides 0 (the DXF is written).
constexpr int kExitUnreadable = 2;  // the reader cannot read the drawing
constexpr int kExitNoReader = 3;    // the reader package is not installed

constexpr const char* kInstallFix = "run scripts/ensure-packages";
constexpr const char* kSaveAsDxf =
    "save it as DXF in the program that made it and open the DXF instead";

std::string systemError(int error) {
  return std::system_category().message(error);
}

// Closes a descriptor on every path.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// How a run of the importer ended.
struct RunOutcome {
  int spawnError = 0;  // errno when the program could not be started
  bool timedOut = false;
  int exitCode = -1;   // when it exited
  int signal = 0;      // when a signal ended it
  std::string output;  // the end of what it wrote to standard output and error
};

// Runs `argv` with standard input from /dev/null and both outputs into a
// pipe, in a process group of its own that is killed whole at `timeLimit`.
RunOutcome run(const std::vector<std::string>& argv, std::chrono::milliseconds timeLimit) {
  RunOutcome outcome;
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    outcome.spawnError = errno;
    return outcome;
  }
  Descriptor reading(ends[0]);
  Descriptor writing(ends[1]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writing.get(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, writing.get(), STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> arguments;
  for (const std::string& a : argv) arguments.push_back(const_cast<char*>(a.c_str()));
  arguments.push_back(nullptr);
  pid_t child = 0;
  const int spawned =
      posix_spawnp(&child, arguments[0], &actions, &attributes, arguments.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  writing.reset();
  if (spawned != 0) {
    outcome.spawnError = spawned;
    return outcome;
  }

  constexpr std::size_t kKept = 4096;
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  bool open = true;
  while (open) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      outcome.timedOut = true;
      break;
    }
    pollfd watched{reading.get(), POLLIN, 0};
    const int ready =
        ::poll(&watched, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t got = ::read(reading.get(), buffer, sizeof buffer);
    if (got <= 0) {
      if (got < 0 && errno == EINTR) continue;
      open = false;
      continue;
    }
    outcome.output.append(buffer, static_cast<std::size_t>(got));
    if (outcome.output.size() > 2 * kKept) outcome.output.erase(0, outcome.output.size() - kKept);
  }
  int status = 0;
  if (outcome.timedOut) {
    ::kill(-child, SIGKILL);
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return outcome;
  }
  // Its outputs are closed: it has ended, or ends at once; a child that
  // closed them and goes on is held to the same deadline.
  for (;;) {
    const pid_t waited = ::waitpid(child, &status, WNOHANG);
    if (waited == child) break;
    if (waited < 0 && errno != EINTR) return outcome;
    if (std::chrono::steady_clock::now() >= deadline) {
      outcome.timedOut = true;
      ::kill(-child, SIGKILL);
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      return outcome;
    }
    ::usleep(10000);
  }
  if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  return outcome;
}

// The last line of the importer's output that says something, for a message.
std::string lastLine(const std::string& output) {
  std::size_t end = output.find_last_not_of(" \t\r\n");
  if (end == std::string::npos) return {};
  const std::size_t start = output.find_last_of('\n', end);
  std::string line = output.substr(start == std::string::npos ? 0 : start + 1,
                                   end + 1 - (start == std::string::npos ? 0 : start + 1));
  constexpr std::size_t kLongest = 300;
  if (line.size() > kLongest) line = line.substr(0, kLongest) + "...";
  return line;
}

std::string seconds(std::chrono::milliseconds duration) {
  const long long whole = duration.count() / 1000;
  const long long tenths = duration.count() % 1000 / 100;
  return std::to_string(whole) + (tenths != 0 ? "." + std::to_string(tenths) : "") + " s";
}

bool isNonEmptyFile(const std::string& path) {
  std::error_code code;
  return std::filesystem::is_regular_file(path, code) && std::filesystem::file_size(path, code) > 0;
}

}  // namespace

ImporterSettings defaultImporterSettings(const std::filesystem::path& programFolder) {
  ImporterSettings settings;
  if (const char* limit = std::getenv("TAVRIN_DWG_TIME_LIMIT")) {
    double value = 0;
    const char* end = limit + std::strlen(limit);
    const auto [stop, error] = std::from_chars(limit, end, value);
    if (error == std::errc() && stop == end && value > 0 && value < 1e6)
      settings.timeLimit = std::chrono::milliseconds(static_cast<long long>(value * 1000));
  }
  std::filesystem::path script = programFolder / "dwg-import" / "dwg-import.mjs";
  if (const char* named = std::getenv("TAVRIN_DWG_IMPORTER"); named != nullptr && *named != 0)
    script = named;
  std::error_code code;
  if (!std::filesystem::is_regular_file(script, code)) {
    settings.missing = "the importer " + script.string() + " is not there";
    return settings;
  }
  settings.command = {"node", script.string()};
  return settings;
}

base::Status importDwg(const std::string& dwgPath, const DwgVersion& version,
                       const std::string& dxfPath, const ImporterSettings& settings) {
  const std::string what = dwgPath + ": " + describe(version);
  if (!version.opens) {
    if (version.older)
      return base::Status::error(what + " is older than R13, the oldest DWG this host opens; " +
                                 kSaveAsDxf);
    return base::Status::error(what + " is a version this host does not open (it opens R13 to " +
                               "2018); " + kSaveAsDxf);
  }
  const std::string cannot = what + " cannot be opened: ";
  if (settings.command.empty())
    return base::Status::error(cannot + "the DWG importer is not installed (" + settings.missing +
                               "); " + kInstallFix);
  std::vector<std::string> argv = settings.command;
  argv.push_back(dwgPath);
  argv.push_back(dxfPath);
  const RunOutcome outcome = run(argv, settings.timeLimit);
  const std::string said = lastLine(outcome.output);
  const std::string saying = said.empty() ? std::string() : ": " + said;
  if (outcome.spawnError == ENOENT)
    return base::Status::error(cannot + "the DWG importer needs " + argv[0] +
                               " (Node.js), which is not installed; " + kInstallFix);
  if (outcome.spawnError != 0)
    return base::Status::error(cannot + "the DWG importer could not be started (" + argv[0] + ": " +
                               systemError(outcome.spawnError) + "); " + kInstallFix);
  if (outcome.timedOut)
    return base::Status::error(cannot + "the DWG importer did not finish within " +
                               seconds(settings.timeLimit) +
                               " and was stopped (TAVRIN_DWG_TIME_LIMIT sets the limit in "
                               "seconds); or " +
                               kSaveAsDxf);
  if (outcome.exitCode == 0 && isNonEmptyFile(dxfPath)) return base::Status::ok();
  if (outcome.exitCode == kExitUnreadable)
    return base::Status::error(what + " could not be read" + saying + "; " + kSaveAsDxf);
  if (outcome.exitCode == kExitNoReader)
    return base::Status::error(cannot + "the DWG reader is not installed" + saying + "; " +
                               kInstallFix);
  const std::string how =
      outcome.signal != 0     ? "was ended by signal " + std::to_string(outcome.signal)
      : outcome.exitCode == 0 ? std::string("wrote no DXF")
                              : "failed with exit status " + std::to_string(outcome.exitCode);
  return base::Status::error(cannot + "the DWG importer " + how + saying + "; " + kInstallFix +
                             " if it is not installed properly, or " + kSaveAsDxf);
}

base::Status TemporaryFolder::make(TemporaryFolder& folder) {
  std::error_code code;
  std::filesystem::path base = std::filesystem::temp_directory_path(code);
  if (code) base = "/tmp";
  std::string pattern = (base / "cadhost-dwg-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    return base::Status::error("cannot make a temporary folder in " + base.string() + ": " +
                               systemError(errno));
  folder.path_ = pattern;
  return base::Status::ok();
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace cad::dwg
