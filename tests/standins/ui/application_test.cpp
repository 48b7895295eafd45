#include "ui/application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/library.h"
#include "ui/module_names.h"
#include "ui/resource_table.h"

namespace {

class RecordingApplication : public ui::Application {
 public:
  explicit RecordingApplication(std::vector<std::string>* log, bool initSucceeds = true,
                                const char* name = nullptr)
      : Application(name), log_(log), initSucceeds_(initSucceeds) {}

  bool initInstance() override {
    log_->push_back(std::string("init:") + (ui::libraryStarted() ? "started" : "stopped"));
    return Application::initInstance() && initSucceeds_;
  }
  int exitInstance() override {
    log_->push_back("exit");
    return Application::exitInstance();
  }

 private:
  std::vector<std::string>* log_;
  bool initSucceeds_;
};

const ui::ResourceTable kResources{{}, "tavrin"};
int instanceToken = 0;

TEST(Library, StartRunsInitInstanceWithInstanceAndResourcesInPlace) {
  std::vector<std::string> log;
  RecordingApplication app(&log);
  EXPECT_EQ(ui::application(), &app);
  EXPECT_FALSE(ui::libraryStarted());

  ASSERT_TRUE(ui::startLibrary(&instanceToken, &kResources, ""));
  EXPECT_EQ(log, std::vector<std::string>{"init:started"});
  EXPECT_EQ(ui::instanceHandle(), &instanceToken);
  EXPECT_EQ(ui::resourceTable(), &kResources);
  EXPECT_EQ(app.name(), "tavrin");
  EXPECT_EQ(ui::applicationCaption(), "tavrin");

  ui::stopLibrary();
  EXPECT_EQ(log, (std::vector<std::string>{"init:started", "exit"}));
  EXPECT_FALSE(ui::libraryStarted());
  EXPECT_EQ(ui::instanceHandle(), nullptr);
  EXPECT_EQ(ui::resourceTable(), nullptr);

  ui::stopLibrary();  // a second stop does nothing
  EXPECT_EQ(log.size(), 2u);
}

TEST(Library, RefusesToStartWithoutApplicationTwiceOrWithoutResources) {
  EXPECT_FALSE(ui::startLibrary(&instanceToken, &kResources, nullptr)) << "no application";
  std::vector<std::string> log;
  RecordingApplication app(&log);
  EXPECT_FALSE(ui::startLibrary(&instanceToken, nullptr, nullptr)) << "no resources";
  EXPECT_TRUE(log.empty());
  ASSERT_TRUE(ui::startLibrary(&instanceToken, &kResources, nullptr));
  EXPECT_FALSE(ui::startLibrary(&instanceToken, &kResources, nullptr)) << "already started";
  EXPECT_EQ(log.size(), 1u);
  ui::stopLibrary();
}

TEST(Library, FailedInitInstanceLeavesTheLibraryStopped) {
  std::vector<std::string> log;
  RecordingApplication app(&log, /*initSucceeds=*/false);
  EXPECT_FALSE(ui::startLibrary(&instanceToken, &kResources, ""));
  EXPECT_FALSE(ui::libraryStarted());
  EXPECT_EQ(ui::instanceHandle(), nullptr);
  ui::stopLibrary();
  EXPECT_EQ(log, std::vector<std::string>{"init:started"}) << "no exit without a start";
}

TEST(Library, OneApplicationPerModuleAndItsNameWins) {
  std::vector<std::string> log;
  RecordingApplication first(&log, true, "first");
  {
    RecordingApplication second(&log);
    EXPECT_EQ(ui::application(), &first);
  }
  EXPECT_EQ(ui::application(), &first) << "destroying the ignored one unregisters nothing";
  ASSERT_TRUE(ui::startLibrary(&instanceToken, &kResources, ""));
  EXPECT_EQ(ui::applicationCaption(), "first");
  ui::stopLibrary();
}

TEST(Library, DestroyedApplicationStopsBeingTheModules) {
  {
    std::vector<std::string> log;
    RecordingApplication app(&log);
    ASSERT_TRUE(ui::startLibrary(&instanceToken, &kResources, ""));
  }
  EXPECT_EQ(ui::application(), nullptr);
  EXPECT_FALSE(ui::libraryStarted());
}

TEST(Library, CaptionIsTheModuleFileNameTheHostGivesInCodePage936) {
  const struct {
    const char* label;
    const char* fileName;  // UTF-8, as the host answers
    const char* caption;   // code page 936
  } cases[] = {
      {"a file name", "sound", "sound"},
      {"Chinese", "轴网", "\xD6\xE1\xCD\xF8"},
      {"no file known", "", "tavrin"},
      {"beyond code page 936", "\xF0\x9F\x98\x80", "tavrin"},
  };
  struct ForgetLookup {
    ~ForgetLookup() { ui::setModuleNameLookup(nullptr); }
  } forgetLookup;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const void* askedFor = nullptr;
    ui::setModuleNameLookup([&](const void* instance) {
      askedFor = instance;
      return std::string(c.fileName);
    });
    std::vector<std::string> log;
    RecordingApplication app(&log);
    ASSERT_TRUE(ui::startLibrary(&instanceToken, &kResources, ""));
    EXPECT_EQ(askedFor, &instanceToken);
    EXPECT_EQ(ui::applicationCaption(), c.caption);
    EXPECT_EQ(app.name(), c.caption);
    ui::stopLibrary();
  }
}

TEST(ResourceTable, FindsDialogsById) {
  ui::DialogTemplate dialogs[2];
  dialogs[0].id = 101;
  dialogs[1].id = 102;
  const ui::ResourceTable table{dialogs, nullptr};
  ASSERT_NE(table.findDialog(102), nullptr);
  EXPECT_EQ(table.findDialog(102)->id, 102);
  EXPECT_EQ(table.findDialog(103), nullptr);
}

}  // namespace
