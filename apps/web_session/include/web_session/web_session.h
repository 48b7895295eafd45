#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/status.h"
#include "cad/asking.h"
#include "cad/database.h"
#include "cad/input_source.h"
#include "ui/dialog_view.h"
#include "web_session/drawing_data.h"
#include "web_session/event_log.h"
#include "web_session/snap_index.h"
#include "web_session/web_input.h"

namespace httplib {
class Server;
}

namespace web {

struct WebSessionOptions {
  std::string drawingName;                         // shown on the page, e.g. "plan.dxf"
  int port = 0;                                    // 0: a free port
  std::chrono::milliseconds pollWait{20000};       // how long GET /api/events waits
  std::chrono::milliseconds driverTimeout{30000};  // a silent page loses the session
};

// The web face of the host: serves the page and its API on 127.0.0.1 to the
// holder of a random token, turns what the host asks and shows into events
// for the page, and takes the page's answers through the input source it
// makes. One per process: it installs itself as the asking and dialog
// observer while it lives.
//
// Threads: the host's thread runs the session (answers are read there, and
// the observers are called there); the server answers requests on its own.
class WebSession final : public cad::AskingObserver, public ui::DialogObserver {
 public:
  // `database` is read now (lines, arcs, layers, snap index) and must
  // outlive the session.
  WebSession(const cad::Database& database, WebSessionOptions options);
  ~WebSession() override;
  WebSession(const WebSession&) = delete;
  WebSession& operator=(const WebSession&) = delete;

  // Listens on 127.0.0.1 and serves on a thread of its own. Fails, saying
  // why, when the port cannot be had.
  base::Status start();
  int port() const { return port_; }
  const std::string& token() const { return token_; }
  // "http://127.0.0.1:PORT/?token=TOKEN"
  std::string address() const;

  // The input source to install with cad::setInput(); answers come from
  // POST /api/answer. It stays usable after the session is gone (it then
  // answers kEnd).
  std::unique_ptr<cad::InputSource> makeInput();

  // The host's session is over: sends what is left of the transcript and the
  // "ended" event, lets a polling page see it (up to `grace`), then stops
  // the server. Host's thread.
  void finish(std::chrono::milliseconds grace = std::chrono::milliseconds(1500));

  // Sends what the command line printed since the last time. Host's thread.
  void flushTranscript();

  // The accepted answers so far, as a replayable script.
  std::string script() const { return input_->script(); }
  const EventLog& events() const { return events_; }

  // Observers (host's thread).
  void asking(const cad::Asking& asking) override;
  void selectionChanged(const std::vector<AcDbObjectId>& ids, const std::string& summary) override;
  void dialogChanged(const ui::DialogView& view) override;
  void messageBoxShown(const ui::MessageBoxView& view) override;
  void messageBoxClosed() override;
  void fileDialogShown(const ui::FileDialogView& view) override;
  void fileDialogClosed() override;
  void fileWritten(const std::string& utf8Path) override;

  // A floor of a Morlen project was written: tells the page, with the
  // floor's picture (GET /api/picture/<floor>.svg) and what morlenview says
  // about the project. Host's thread.
  void projectSaved(const std::string& projectPath, int floor);

 private:
  void route();
  nlohmann::json hello();
  // True when `page` (empty: not named) may drive; refreshes the driver's
  // last poll, which asked for the events after `after`.
  bool drives(const std::string& page, std::uint64_t after);

  const cad::Database& database_;
  WebSessionOptions options_;
  DrawingData data_;
  SnapIndex index_;
  std::string drawingBin_;
  nlohmann::json handles_;
  nlohmann::json drawingJson_;
  EventLog events_;
  std::shared_ptr<WebInput> input_;
  std::string token_;
  int port_ = 0;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  std::size_t transcriptSent_ = 0;
  std::string lastDialog_;  // the last dialog event sent, to send changes only
  // Floors written by the running command: project path, floor number.
  std::vector<std::pair<std::string, int>> savedFloors_;

  mutable std::mutex mutex_;  // guards what follows
  std::string driver_;        // the page that drives; empty: none yet
  std::chrono::steady_clock::time_point lastPoll_;
  std::uint64_t polledAfter_ = 0;      // the highest seq a poll asked after
  std::vector<std::string> pictures_;  // SVG per floor (index floor - 1); empty: none
};

// 256 random bits from the system, as 64 hex digits.
std::string randomToken();

// True when `host` (a Host header) names this server: 127.0.0.1:PORT or
// localhost:PORT.
bool isOwnHost(const std::string& host, int port);

}  // namespace web
