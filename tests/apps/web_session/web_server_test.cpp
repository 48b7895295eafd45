// The session's server as a page (or an intruder) reaches it: through an
// HTTP client on 127.0.0.1.

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <thread>

#include "cad/asking.h"
#include "cad/command_line.h"
#include "cad/database.h"
#include "host/ac_ge_point3d_array.h"
#include "test_drawing.h"
#include "web_session/web_session.h"

namespace {

using nlohmann::json;

class WebServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cad::setCurrentDatabase(crossingDrawing());
    web::WebSessionOptions options;
    options.drawingName = "crossing.dxf";
    options.pollWait = std::chrono::milliseconds(200);
    options.driverTimeout = std::chrono::milliseconds(400);
    session_ = std::make_unique<web::WebSession>(cad::currentDatabase(), options);
    ASSERT_TRUE(session_->start().isOk());
    input_ = session_->makeInput();
  }
  void TearDown() override {
    session_.reset();
    cad::setCurrentDatabase(nullptr);
  }

  std::string host() const { return "127.0.0.1:" + std::to_string(session_->port()); }
  std::string cookie() const { return "tavrin_token=" + session_->token(); }

  httplib::Result get(const std::string& path, httplib::Headers headers = {}) {
    httplib::Client client("127.0.0.1", session_->port());
    if (headers.find("Host") == headers.end()) headers.emplace("Host", host());
    return client.Get(path.c_str(), headers);
  }
  httplib::Result page(const std::string& path) { return get(path, {{"Cookie", cookie()}}); }
  httplib::Result answer(const std::string& body) {
    httplib::Client client("127.0.0.1", session_->port());
    return client.Post("/api/answer", {{"Cookie", cookie()}}, body, "application/json");
  }
  json pageJson(const std::string& path) {
    const auto result = page(path);
    EXPECT_TRUE(result);
    EXPECT_EQ(result->status, 200) << path;
    return json::parse(result->body);
  }

  std::unique_ptr<web::WebSession> session_;
  std::unique_ptr<cad::InputSource> input_;
};

TEST_F(WebServerTest, RefusesWithoutTokenOrFromAForeignHost) {
  const std::string token = session_->token();
  const std::string port = std::to_string(session_->port());
  struct Case {
    const char* what;
    std::string path;
    httplib::Headers headers;
    int status;
  };
  const Case cases[] = {
      {"no token", "/", {}, 403},
      {"no token, API", "/api/hello", {}, 403},
      {"wrong token", "/?token=" + std::string(token.size(), '0'), {}, 403},
      {"wrong cookie", "/api/script", {{"Cookie", "tavrin_token=abc"}}, 403},
      {"token of another name", "/api/script", {{"Cookie", "other=" + token}}, 403},
      {"foreign host with token", "/?token=" + token, {{"Host", "evil.example:" + port}}, 403},
      {"right name, other port", "/?token=" + token, {{"Host", "127.0.0.1:1"}}, 403},
      {"localhost", "/api/script", {{"Host", "localhost:" + port}, {"Cookie", cookie()}}, 200},
      {"token in the query", "/api/script?token=" + token, {}, 200},
      {"cookie", "/api/handles", {{"Cookie", "a=b; " + cookie()}}, 200},
      {"unknown file", "/nothing.js", {{"Cookie", cookie()}}, 404},
      {"a path up", "/..%2F..%2Fetc%2Fpasswd", {{"Cookie", cookie()}}, 404},
      {"a folder", "/api/../CMakeLists.txt", {{"Cookie", cookie()}}, 404},
  };
  for (const Case& c : cases) {
    const auto result = get(c.path, c.headers);
    ASSERT_TRUE(result) << c.what;
    EXPECT_EQ(result->status, c.status) << c.what;
    if (c.status == 403) {
      EXPECT_EQ(result->body, "") << c.what;
    }
    EXPECT_FALSE(result->has_header("Access-Control-Allow-Origin")) << c.what;
  }
}

TEST_F(WebServerTest, FirstLoadSetsTheCookieAndServesThePage) {
  const auto result = get("/?token=" + session_->token());
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
  EXPECT_EQ(result->get_header_value("Set-Cookie"),
            "tavrin_token=" + session_->token() + "; HttpOnly; SameSite=Strict; Path=/");
  EXPECT_NE(result->body.find("id=\"command-line\""), std::string::npos);
  EXPECT_GE(session_->token().size(), 32u);
  EXPECT_EQ(session_->token().find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_NE(web::randomToken(), web::randomToken());
}

TEST_F(WebServerTest, BadRequestsGetFourHundredsAndTheSessionGoesOn) {
  struct Case {
    const char* what;
    std::string body;
    int status;
  };
  const Case cases[] = {
      {"too big", "{\"line\":\"" + std::string((1 << 20) + 10, 'x') + "\"}", 413},
      {"not JSON", "{\"line\":", 400},
      {"no line", "{\"text\":\"x\"}", 400},
      {"line not text", "{\"line\":5}", 400},
      {"two lines", "{\"line\":\"a\\nb\"}", 400},
      {"not UTF-8", "{\"line\":\"\xff\"}", 400},
  };
  for (const Case& c : cases) {
    const auto result = answer(c.body);
    ASSERT_TRUE(result) << c.what;
    EXPECT_EQ(result->status, c.status) << c.what;
  }
  for (const char* query : {"/api/snap?x=1&y=2", "/api/snap?x=a&y=1&r=1", "/api/pick?x=1&y=1&r=-1",
                            "/api/events?after=x"}) {
    const auto result = page(query);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 400) << query;
  }
  // Still serving, and the next good answer arrives.
  const auto good = answer(R"({"line":"drawing"})");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->status, 204);
  EXPECT_EQ(input_->next().text, "drawing");
  EXPECT_EQ(page("/api/script")->body, "");
}

TEST_F(WebServerTest, OnePageDrivesTheSession) {
  const json first = pageJson("/api/hello");
  ASSERT_FALSE(first["inUse"].get<bool>());
  const std::string driver = first["page"];
  EXPECT_EQ(first["drawing"]["name"], "crossing.dxf");
  EXPECT_EQ(first["drawing"]["layers"][0]["name"], "AXIS");
  EXPECT_EQ(first["drawing"]["layers"][0]["lines"], 2);
  const json second = pageJson("/api/hello");
  EXPECT_TRUE(second["inUse"].get<bool>());
  EXPECT_FALSE(second.contains("page"));
  // The other page may not poll nor answer in its place.
  EXPECT_EQ(page("/api/events?after=0&page=other")->status, 409);
  // The driver keeps it by polling ...
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(page("/api/events?after=0&page=" + driver)->status, 200);
  EXPECT_TRUE(pageJson("/api/hello")["inUse"].get<bool>());
  // ... and loses it when silent for longer than the timeout.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const json third = pageJson("/api/hello");
  EXPECT_FALSE(third["inUse"].get<bool>());
  EXPECT_NE(third["page"], driver);
}

TEST_F(WebServerTest, SnapAnswersTheHostsIntersectionBitForBit) {
  const auto& entities = cad::currentDatabase().entities();
  AcGePoint3dArray points;
  ASSERT_EQ(entities[0]->intersectWith(entities[1].get(), AcDb::kOnBothOperands, points),
            Acad::eOk);
  ASSERT_EQ(points.length(), 1);
  char query[200];
  std::snprintf(query, sizeof query, "/api/snap?x=%.17g&y=%.17g&r=2", points[0].x + 0.5,
                points[0].y + 0.25);
  const json snap = pageJson(query)["snap"];
  ASSERT_FALSE(snap.is_null());
  EXPECT_EQ(snap["kind"], "intersection");
  const double x = snap["x"], y = snap["y"];
  EXPECT_EQ(std::memcmp(&x, &points[0].x, sizeof x), 0) << x;
  EXPECT_EQ(std::memcmp(&y, &points[0].y, sizeof y), 0) << y;
  EXPECT_TRUE(pageJson("/api/snap?x=-400&y=-400&r=1")["snap"].is_null());
  EXPECT_EQ(pageJson("/api/pick?x=990.1&y=4&r=1")["entity"], 1);
  EXPECT_TRUE(pageJson("/api/pick?x=-400&y=-400&r=1")["entity"].is_null());
  EXPECT_EQ(pageJson("/api/handles")["handles"], json({"1A", "1B", "2F"}));
  const auto drawing = page("/api/drawing.bin");
  EXPECT_EQ(drawing->get_header_value("Content-Type"), "application/octet-stream");
  EXPECT_EQ(drawing->body.substr(0, 4), "TVDR");
}

TEST_F(WebServerTest, EventsTellWhatTheHostAsksInOrder) {
  const json empty = pageJson("/api/events?after=0");
  EXPECT_TRUE(empty["events"].empty());
  EXPECT_EQ(empty["next"], 0);
  cad::commandLine().printUtf8("Base point: ");
  cad::publishAsking(cad::Asking{cad::AskKind::kPoint, "Base point: ", cad::PlanePoint2{1, 2}});
  const auto& entities = cad::currentDatabase().entities();
  cad::publishSelection({entities[1]->objectId(), entities[2]->objectId()}, "1 line, 1 other");
  const json batch = pageJson("/api/events?after=0");
  const json& events = batch["events"];
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0]["kind"], "transcript");
  EXPECT_NE(events[0]["text"].get<std::string>().find("Base point: "), std::string::npos);
  EXPECT_EQ(events[1]["kind"], "ask");
  EXPECT_EQ(events[1]["what"], "point");
  EXPECT_EQ(events[1]["lastPoint"], json({1.0, 2.0}));
  EXPECT_EQ(events[2]["kind"], "selection");
  EXPECT_EQ(events[2]["entities"], json({1}));  // the circle has no entity index
  EXPECT_EQ(batch["next"], events[2]["seq"]);
  // Asked after the last, it waits, then answers nothing new.
  const json later = pageJson("/api/events?after=" + batch["next"].dump());
  EXPECT_TRUE(later["events"].empty());
}

}  // namespace
