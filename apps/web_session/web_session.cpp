#include "web_session/web_session.h"

#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <sstream>
#include <utility>

#include "cad/command_line.h"
#include "files/posix_file_system.h"
#include "morlenview/floor_scene.h"
#include "morlenview/morlen_project.h"
#include "morlenview/project_report.h"
#include "plot/picture_format.h"
#include "plot/render_scene.h"
#include "web_session/page_assets.h"

namespace web {
namespace {

using nlohmann::json;

constexpr std::size_t kMostBody = 1 << 20;
constexpr const char* kCookie = "tavrin_token";

// Forwards to the session's input, which it keeps alive.
class InputHandle final : public cad::InputSource {
 public:
  explicit InputHandle(std::shared_ptr<WebInput> input) : input_(std::move(input)) {}
  cad::Answer next() override { return input_->next(); }
  void reject(const cad::Answer& answer, std::string_view reason) override {
    input_->reject(answer, reason);
  }
  bool interactive() const override { return input_->interactive(); }
  bool failed() const override { return input_->failed(); }
  void atCommandPrompt() override { input_->atCommandPrompt(); }

 private:
  std::shared_ptr<WebInput> input_;
};

bool sameSecret(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

// The value of cookie `name` in a Cookie header, or "".
std::string cookieValue(const std::string& header, std::string_view name) {
  std::size_t at = 0;
  while (at < header.size()) {
    std::size_t end = header.find(';', at);
    if (end == std::string::npos) end = header.size();
    std::string_view pair(header.data() + at, end - at);
    while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
    if (pair.size() > name.size() && pair.starts_with(name) && pair[name.size()] == '=')
      return std::string(pair.substr(name.size() + 1));
    at = end + 1;
  }
  return "";
}

// A number query parameter; nothing when missing or not a finite number.
std::optional<double> number(const httplib::Request& request, const char* name) {
  if (!request.has_param(name)) return std::nullopt;
  const std::string text = request.get_param_value(name);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

void sendJson(httplib::Response& response, const json& body) {
  response.set_content(body.dump(), "application/json");
}

json controlJson(const ui::ControlView& control) {
  return json{{"id", control.id},
              {"class", control.className},
              {"rect", {control.rect.x, control.rect.y, control.rect.width, control.rect.height}},
              {"text", control.text},
              {"enabled", control.enabled},
              {"visible", control.visible},
              {"readOnly", control.readOnly},
              {"items", control.items},
              {"selected", control.selected},
              {"focus", control.focus},
              {"default", control.isDefault}};
}

std::string hex(unsigned long long value) {
  std::ostringstream text;
  text << std::uppercase << std::hex << value;
  return text.str();
}

}  // namespace

std::string randomToken() {
  std::random_device device;
  std::string token;
  static constexpr char kDigits[] = "0123456789abcdef";
  for (int word = 0; word < 8; ++word) {
    std::uint32_t bits = device();
    for (int nibble = 0; nibble < 8; ++nibble, bits >>= 4) token += kDigits[bits & 0xF];
  }
  return token;
}

bool isOwnHost(const std::string& host, int port) {
  const std::string suffix = ":" + std::to_string(port);
  if (!host.ends_with(suffix)) return false;
  std::string name = host.substr(0, host.size() - suffix.size());
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name == "127.0.0.1" || name == "localhost";
}

WebSession::WebSession(const cad::Database& database, WebSessionOptions options)
    : database_(database),
      options_(std::move(options)),
      data_(DrawingData::read(database)),
      index_(data_),
      drawingBin_(data_.encode()),
      input_(std::make_shared<WebInput>([this] { flushTranscript(); })),
      token_(randomToken()),
      server_(std::make_unique<httplib::Server>()) {
  json handles = json::array();
  for (unsigned long long handle : data_.handles) handles.push_back(hex(handle));
  handles_ = json{{"handles", std::move(handles)}};
  json layers = json::array();
  for (const LayerInfo& layer : data_.layers) {
    const auto colour = aciColour(layer.aci);
    layers.push_back(json{{"name", layer.name},
                          {"color", {colour[0], colour[1], colour[2]}},
                          {"lines", layer.lines},
                          {"arcs", layer.arcs},
                          {"others", layer.others}});
  }
  drawingJson_ =
      json{{"name", options_.drawingName},
           {"codePage", database.codePage().name},
           {"unit", database.declaredUnits() ? unitAbbreviation(*database.declaredUnits()) : ""},
           {"extents",
            {{"min", {data_.extents.minX, data_.extents.minY}},
             {"max", {data_.extents.maxX, data_.extents.maxY}}}},
           {"layers", std::move(layers)}};
  cad::setAskingObserver(this);
  ui::setDialogObserver(this);
  route();
}

WebSession::~WebSession() {
  if (cad::setAskingObserver(nullptr) != this) cad::setAskingObserver(nullptr);
  ui::setDialogObserver(nullptr);
  input_->end();
  events_.close();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

base::Status WebSession::start() {
  if (options_.port != 0) {
    if (!server_->bind_to_port("127.0.0.1", options_.port))
      return base::Status::error("cannot listen on 127.0.0.1:" + std::to_string(options_.port) +
                                 " (is the port in use?)");
    port_ = options_.port;
  } else {
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) return base::Status::error("cannot listen on any port of 127.0.0.1");
  }
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  return base::Status::ok();
}

std::string WebSession::address() const {
  return "http://127.0.0.1:" + std::to_string(port_) + "/?token=" + token_;
}

std::unique_ptr<cad::InputSource> WebSession::makeInput() {
  return std::make_unique<InputHandle>(input_);
}

void WebSession::flushTranscript() {
  const std::string& transcript = cad::commandLine().transcript();
  // Cleared since: start again.
  if (transcript.size() < transcriptSent_) transcriptSent_ = 0;
  if (transcript.size() == transcriptSent_) return;
  std::string text = transcript.substr(transcriptSent_);
  transcriptSent_ = transcript.size();
  events_.append(json{{"kind", "transcript"}, {"text", std::move(text)}});
}

void WebSession::finish(std::chrono::milliseconds grace) {
  flushTranscript();
  input_->end();
  const std::uint64_t ended = events_.append(json{{"kind", "ended"}});
  // Give a polling page the time to learn that the session is over: it has
  // when it asks for what comes after the "ended" event.
  const auto until = std::chrono::steady_clock::now() + grace;
  while (std::chrono::steady_clock::now() < until) {
    {
      std::lock_guard lock(mutex_);
      if (driver_.empty() || polledAfter_ >= ended) break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  events_.close();
  server_->stop();
  if (thread_.joinable()) thread_.join();
}

// Each observer call comes after the asker dealt with the last answer: it
// was taken, so it joins the script before the page hears of the change.
void WebSession::asking(const cad::Asking& asking) {
  input_->commitPending();
  // Back at the command prompt, the command's files are all written.
  if (asking.what == cad::AskKind::kCommand) {
    std::vector<std::pair<std::string, int>> saved;
    saved.swap(savedFloors_);
    for (const auto& [project, floor] : saved) projectSaved(project, floor);
  }
  flushTranscript();
  json event{{"kind", "ask"}, {"what", cad::askKindName(asking.what)}, {"prompt", asking.prompt}};
  event["lastPoint"] =
      asking.lastPoint ? json{asking.lastPoint->x, asking.lastPoint->y} : json(nullptr);
  events_.append(std::move(event));
}

void WebSession::selectionChanged(const std::vector<AcDbObjectId>& ids,
                                  const std::string& summary) {
  input_->commitPending();
  json entities = json::array();
  for (AcDbObjectId id : ids)
    if (const auto found = data_.indexOfId.find(id.value()); found != data_.indexOfId.end())
      entities.push_back(found->second);
  flushTranscript();
  events_.append(
      json{{"kind", "selection"}, {"entities", std::move(entities)}, {"summary", summary}});
}

void WebSession::dialogChanged(const ui::DialogView& view) {
  input_->commitPending();
  json controls = json::array();
  for (const ui::ControlView& control : view.controls) controls.push_back(controlJson(control));
  json event{{"kind", "dialog"},        {"templateId", view.templateId},
             {"caption", view.caption}, {"size", {view.width, view.height}},
             {"controls", controls},    {"note", view.note},
             {"open", view.open}};
  std::string shown = event.dump();
  if (shown == lastDialog_) return;
  lastDialog_ = std::move(shown);
  flushTranscript();
  events_.append(std::move(event));
}

void WebSession::messageBoxShown(const ui::MessageBoxView& view) {
  input_->commitPending();
  flushTranscript();
  events_.append(json{{"kind", "message-box"},
                      {"caption", view.caption},
                      {"text", view.text},
                      {"icon", view.icon},
                      {"buttons", view.buttons},
                      {"default", view.defaultButton}});
}

void WebSession::messageBoxClosed() {
  events_.append(json{{"kind", "message-box-closed"}});
}

void WebSession::fileDialogShown(const ui::FileDialogView& view) {
  input_->commitPending();
  json entries = json::array();
  for (const ui::FileEntry& entry : view.entries)
    entries.push_back(json{{"name", entry.name}, {"folder", entry.folder}});
  flushTranscript();
  events_.append(json{{"kind", "file-dialog"},
                      {"title", view.title},
                      {"folder", view.folder},
                      {"entries", std::move(entries)},
                      {"name", view.name},
                      {"filter", view.filter}});
}

void WebSession::fileDialogClosed() {
  events_.append(json{{"kind", "file-dialog-closed"}});
}

void WebSession::fileWritten(const std::string& utf8Path) {
  // A floor's axis file NAME.N<k>; its project is NAME.prj beside it.
  static const std::regex kFloorFile(R"(([^/]*?)\.N([0-9]{1,4}))");
  namespace fs = std::filesystem;
  const fs::path path(utf8Path);
  std::smatch match;
  const std::string name = path.filename().string();
  if (!std::regex_match(name, match, kFloorFile)) return;
  std::error_code error;
  const fs::path project =
      fs::absolute(path.parent_path() / (match[1].str() + ".prj"), error).lexically_normal();
  if (error) return;
  const std::pair<std::string, int> saved{project.string(), std::stoi(match[2])};
  if (std::find(savedFloors_.begin(), savedFloors_.end(), saved) == savedFloors_.end())
    savedFloors_.push_back(saved);
}

void WebSession::projectSaved(const std::string& projectPath, int floor) {
  files::PosixFileSystem files;
  auto project = morlenview::loadMorlenProject(projectPath, {}, files);
  json event{{"kind", "saved"}, {"project", projectPath}, {"floor", floor}};
  if (!project.isOk()) {
    event["picture"] = nullptr;
    event["report"] = project.message() + "\n";
    flushTranscript();
    events_.append(std::move(event));
    return;
  }
  std::ostringstream report;
  morlenview::printProject(report, *project);
  std::vector<morlenview::ProjectFloor*> shown;
  morlenview::ProjectFloor* saved = nullptr;
  for (morlenview::ProjectFloor& each : project->floors) {
    morlenview::printFloor(report, each);
    if (each.read()) shown.push_back(&each);
    if (each.number == floor) saved = &each;
  }
  std::vector<const morlenview::AlignmentFloor*> checked;
  for (const morlenview::ProjectFloor* each : shown) checked.push_back(&each->summary);
  morlenview::printAlignment(report, shown, morlenview::checkAlignment(checked));
  event["report"] = report.str();
  event["picture"] = nullptr;
  if (saved != nullptr && saved->read()) {
    plot::Scene scene = morlenview::floorScene(*project, *saved);
    std::string svg;
    const base::Status drawn =
        plot::renderScene(scene, plot::PictureFormat::kSvg, [&](std::string_view bytes) {
          svg.append(bytes);
          return true;
        });
    morlenview::returnLineWork(scene, {saved});
    if (drawn.isOk()) {
      std::lock_guard lock(mutex_);
      if (pictures_.size() < static_cast<std::size_t>(floor))
        pictures_.resize(static_cast<std::size_t>(floor));
      pictures_[static_cast<std::size_t>(floor) - 1] = std::move(svg);
      event["picture"] = "/api/picture/" + std::to_string(floor) + ".svg";
    }
  }
  flushTranscript();
  events_.append(std::move(event));
}

bool WebSession::drives(const std::string& page, std::uint64_t after) {
  std::lock_guard lock(mutex_);
  if (!page.empty() && page != driver_) return false;
  lastPoll_ = std::chrono::steady_clock::now();
  polledAfter_ = std::max(polledAfter_, after);
  return true;
}

json WebSession::hello() {
  std::lock_guard lock(mutex_);
  const auto now = std::chrono::steady_clock::now();
  if (!driver_.empty() && now - lastPoll_ < options_.driverTimeout) return json{{"inUse", true}};
  driver_ = randomToken().substr(0, 16);
  lastPoll_ = now;
  return json{{"page", driver_}, {"inUse", false}, {"drawing", drawingJson_}};
}

void WebSession::route() {
  httplib::Server& server = *server_;
  server.set_payload_max_length(kMostBody);
  // Host first (a page of another site reached through DNS rebinding has
  // no token, but must not even learn that), then the token.
  server.set_pre_routing_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        if (!isOwnHost(request.get_header_value("Host"), port_)) {
          response.status = 403;
          return httplib::Server::HandlerResponse::Handled;
        }
        const bool byQuery =
            request.has_param("token") && sameSecret(request.get_param_value("token"), token_);
        const bool byCookie =
            sameSecret(cookieValue(request.get_header_value("Cookie"), kCookie), token_);
        if (!byQuery && !byCookie) {
          response.status = 403;
          return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
      });

  server.Get("/", [this](const httplib::Request& request, httplib::Response& response) {
    if (request.has_param("token"))
      response.set_header("Set-Cookie", std::string(kCookie) + "=" + token_ +
                                            "; HttpOnly; SameSite=Strict; Path=/");
    const auto page = findPageAsset("index.html");
    if (!page) {
      response.status = 404;
      return;
    }
    response.set_content(std::string(page->bytes), page->contentType.c_str());
  });
  server.Get("/api/hello", [this](const httplib::Request&, httplib::Response& response) {
    sendJson(response, hello());
  });
  server.Get("/api/drawing.bin", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(drawingBin_, "application/octet-stream");
  });
  server.Get("/api/handles", [this](const httplib::Request&, httplib::Response& response) {
    sendJson(response, handles_);
  });
  server.Get("/api/events", [this](const httplib::Request& request, httplib::Response& response) {
    const std::optional<double> after =
        request.has_param("after") ? number(request, "after") : std::optional<double>(0);
    if (!after || *after < 0) {
      response.status = 400;
      return;
    }
    if (!drives(request.get_param_value("page"), static_cast<std::uint64_t>(*after))) {
      response.status = 409;
      sendJson(response, json{{"inUse", true}});
      return;
    }
    EventLog::Batch batch = events_.after(static_cast<std::uint64_t>(*after), options_.pollWait);
    sendJson(response, json{{"events", std::move(batch.events)}, {"next", batch.next}});
  });
  server.Post("/api/answer", [this](const httplib::Request& request, httplib::Response& response) {
    const json body = json::parse(request.body, nullptr, false);
    if (body.is_discarded() || !body.is_object() || !body.contains("line") ||
        !body["line"].is_string()) {
      response.status = 400;
      return;
    }
    std::string line = body["line"].get<std::string>();
    if (line.find_first_of("\r\n") != std::string::npos) {
      response.status = 400;
      return;
    }
    if (!drives(request.get_param_value("page"), 0)) {
      response.status = 409;
      sendJson(response, json{{"inUse", true}});
      return;
    }
    if (input_->ended()) {
      response.status = 410;
      return;
    }
    input_->push(std::move(line));
    response.status = 204;
  });
  const auto located = [](const httplib::Request& request, httplib::Response& response,
                          auto answer) {
    const auto x = number(request, "x"), y = number(request, "y"), r = number(request, "r");
    if (!x || !y || !r || *r < 0) {
      response.status = 400;
      return;
    }
    sendJson(response, answer(*x, *y, *r));
  };
  server.Get("/api/snap", [this, located](const httplib::Request& request,
                                          httplib::Response& response) {
    located(request, response, [this](double x, double y, double r) {
      const std::optional<Snap> snap = index_.snap(x, y, r);
      if (!snap) return json{{"snap", nullptr}};
      return json{{"snap", {{"kind", snapKindName(snap->kind)}, {"x", snap->x}, {"y", snap->y}}}};
    });
  });
  server.Get("/api/pick",
             [this, located](const httplib::Request& request, httplib::Response& response) {
               located(request, response, [this](double x, double y, double r) {
                 const std::optional<std::uint32_t> entity = index_.pick(x, y, r);
                 return json{{"entity", entity ? json(*entity) : json(nullptr)}};
               });
             });
  server.Get("/api/script", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(input_->script(), "text/plain; charset=utf-8");
  });
  server.Get(R"(/api/picture/(\d{1,4})\.svg)",
             [this](const httplib::Request& request, httplib::Response& response) {
               const std::size_t floor = std::stoul(request.matches[1]);
               std::lock_guard lock(mutex_);
               if (floor == 0 || floor > pictures_.size() || pictures_[floor - 1].empty()) {
                 response.status = 404;
                 return;
               }
               response.set_content(pictures_[floor - 1], "image/svg+xml");
             });
  // The page's own files; no part of the URL is ever a path on the disk.
  server.Get(R"(/([A-Za-z0-9_.-]{1,100}))",
             [](const httplib::Request& request, httplib::Response& response) {
               const auto asset = findPageAsset(request.matches[1].str());
               if (!asset) {
                 response.status = 404;
                 return;
               }
               response.set_content(std::string(asset->bytes), asset->contentType.c_str());
             });
}

}  // namespace web
