// ReloadOnChange in-process: the file's size and modification time decide
// whether it is read, its bytes whether it is put in force, and a file that
// cannot be read is reported once per state, never at every look.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "config/ConfigReads.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/ReloadOnChange.h"
#include "config/Settings.h"

namespace gatehouse {

namespace fs = std::filesystem;

class ReloadOnChangeTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    WriteConfig(R"({"ReloadOnChange": true, "KickTimer": 1})");
    // Whole seconds: a system may set a file's time to no finer a grain.
    stamp_ = std::chrono::floor<std::chrono::seconds>(fs::last_write_time(ConfigPath()));
    fs::last_write_time(ConfigPath(), stamp_);
    LoadPlugin();
  }

  // Writes the file with a modification time of its own, later than any
  // before, as an edit a second later would.
  void Edit(const std::string& text) {
    WriteConfig(text);
    stamp_ += std::chrono::seconds(1);
    fs::last_write_time(ConfigPath(), stamp_);
  }

  fs::file_time_type stamp_;
};

TEST_F(ReloadOnChangeTest, ReadsOnlyAChangedStateAndReloadsOnlyNewBytes) {
  const uint64_t generation = PluginConfigGeneration();
  ReloadIfChanged();
  EXPECT_EQ(PluginConfigGeneration(), generation);

  // Other bytes of the same size under the same time are not even read: the
  // file's state is all an unchanged file costs.
  const fs::file_time_type loaded = fs::last_write_time(ConfigPath());
  WriteConfig(R"({"ReloadOnChange": true, "KickTimer": 2})");
  fs::last_write_time(ConfigPath(), loaded);
  ReloadIfChanged();
  EXPECT_EQ(Settings::KickTimer(), 1);

  // The same bytes under a new time are read but change nothing.
  Edit(R"({"ReloadOnChange": true, "KickTimer": 1})");
  ReloadIfChanged();
  EXPECT_EQ(PluginConfigGeneration(), generation);

  Edit(R"({"ReloadOnChange": true, "KickTimer": 7})");
  ReloadIfChanged();
  EXPECT_EQ(Settings::KickTimer(), 7);
  EXPECT_TRUE(Reads().last_read_ok);
  EXPECT_TRUE(LogRecords().empty());
}

// A broken file and a missing one keep the settings in force; each state is
// reported once however many joins look at it, and the mended file is used.
TEST_F(ReloadOnChangeTest, FailuresAreReportedOncePerState) {
  Edit(R"({"ReloadOnChange": true, "KickTimer": )");
  for (int look = 0; look < 3; ++look) {
    ReloadIfChanged();
  }
  EXPECT_EQ(Settings::KickTimer(), 1);
  EXPECT_FALSE(Reads().last_read_ok);
  Edit(R"({"ReloadOnChange": true, "KickTimer": [)");
  ReloadIfChanged();
  DeleteConfig();
  ReloadIfChanged();
  ReloadIfChanged();
  const std::vector<std::string> messages = LogMessages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].rfind("Failed to read config! [json.exception.parse_error.101]", 0), 0u);
  EXPECT_EQ(messages[1].rfind("Failed to read config! [json.exception.parse_error.101]", 0), 0u);
  EXPECT_EQ(messages[2],
            "ReloadOnChange: config.json is missing; the settings in force stay until it is back");
  EXPECT_EQ(Settings::KickTimer(), 1);

  Edit(R"({"ReloadOnChange": true, "KickTimer": 4})");
  ReloadIfChanged();
  EXPECT_EQ(Settings::KickTimer(), 4);
  EXPECT_EQ(LogMessages().size(), 3u);
}

// Off (or turned off by the file it read), the file is never looked at
// again; a value of the wrong type is reported under the caller's name.
TEST_F(ReloadOnChangeTest, OffOrWrongTypeNeverReads) {
  Edit(R"({"ReloadOnChange": false, "KickTimer": 2})");
  ReloadIfChanged();
  EXPECT_EQ(Settings::KickTimer(), 2);
  Edit(R"({"ReloadOnChange": true, "KickTimer": 3})");
  ReloadIfChanged();
  EXPECT_EQ(Settings::KickTimer(), 2);

  UseConfig(R"({"ReloadOnChange": "yes", "KickTimer": 5})");
  Edit(R"({"KickTimer": 6})");
  ReloadIfChangedFor("PreLoginHook");
  EXPECT_EQ(Settings::KickTimer(), 5);
  EXPECT_EQ(LogMessages(), std::vector<std::string>{"PreLoginHook: ReloadOnChange: " +
                                                    MustBe("boolean", "string")});
}

}  // namespace gatehouse
