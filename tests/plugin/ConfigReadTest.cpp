#include <filesystem>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/Settings.h"

namespace gatehouse {

using nlohmann::json;

using ConfigRead = PluginTest;

TEST_F(ConfigRead, PathIsThePluginFolderUnderTheServerDirectory) {
  EXPECT_EQ(ConfigPath(), dir_ + "/ArkApi/Plugins/Gatehouse/config.json");
}

TEST_F(ConfigRead, MissingOrUnreadableFileCannotBeOpened) {
  DeleteConfig();
  for (const bool directory : {false, true}) {
    if (directory) {
      std::filesystem::create_directory(ConfigPath());
    }
    try {
      ReadConfig();
      ADD_FAILURE() << "read without a file";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "Can't open config.json");
    }
  }
}

// Contents that are not a JSON value give the library's parse error, whose
// text says where and what.
TEST_F(ConfigRead, InvalidContentGivesTheParseError) {
  const struct {
    const char* name;
    std::string content;
    const char* message_part;
  } cases[] = {
      {"empty file", "", "unexpected end of input"},
      {"whitespace only", " \n\t ", "unexpected end of input"},
      {"byte order mark only", "\xEF\xBB\xBF", "unexpected end of input"},
      {"broken byte order mark", "\xEF\xBB{}", "invalid BOM"},
      {"comment line", "// settings\n{}", "invalid literal"},
      {"comment inside", "{\"KickTimer\": 1 /* s */}", "parse error"},
      {"truncated object", "{\"OnlyWhitelisted\": true, \"WhitelistedPlayers\": [", "line 1"},
      {"bare word", "OnlyWhitelisted", "invalid literal"},
  };
  for (const auto& c : cases) {
    WriteConfig(c.content);
    try {
      ReadConfig();
      ADD_FAILURE() << c.name << ": read without error";
    } catch (const json::parse_error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message_part), std::string::npos)
          << c.name << ": " << error.what();
    }
  }
}

TEST_F(ConfigRead, FirstValueCountsWhateverSurroundsIt) {
  const struct {
    const char* name;
    std::string content;
    json expected;
  } cases[] = {
      {"byte order mark then object", "\xEF\xBB\xBF{\"KickTimer\": 3}", {{"KickTimer", 3}}},
      {"second object after the first",
       "{\"KickTimer\": 3} {\"KickTimer\": 4}",
       {{"KickTimer", 3}}},
      {"stray word after the object", "{\"KickTimer\": 3} trailing words", {{"KickTimer", 3}}},
      {"duplicate key: the last counts",
       "{\"KickTimer\": 1, \"KickTimer\": 30}",
       {{"KickTimer", 30}}},
      {"top-level array", "[\"OnlyWhitelisted\", true]", json::array({"OnlyWhitelisted", true})},
      {"top-level null", "null", nullptr},
  };
  for (const auto& c : cases) {
    WriteConfig(c.content);
    EXPECT_NO_THROW(ReadConfig()) << c.name;
    EXPECT_EQ(PluginConfig(), c.expected) << c.name;
  }
}

TEST_F(ConfigRead, SuccessfulReadReplacesTheWholeDocument) {
  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 9})");
  UseConfig(R"({"UseBlacklist": true})");
  EXPECT_EQ(PluginConfig(), json({{"UseBlacklist", true}}));
  EXPECT_FALSE(Settings::OnlyWhitelisted());
  EXPECT_EQ(Settings::KickTimer(), 5);
}

// A read that fails anywhere, also deep inside the file, leaves the settings in
// force exactly as they were: no member of the broken file gets in, none of the
// old document is lost.
TEST_F(ConfigRead, FailedReadLeavesTheSettingsInForceUntouched) {
  const std::string in_force =
      R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickTimer": 1,
          "KickMessage": "bye"})";
  const std::string broken[] = {
      R"({"OnlyWhitelisted": false, "WhitelistedPlayers": [)",
      R"({"UseBlacklist": true, "KickTimer": 7, "KickMessage": "x)",
      R"({"KickTimer": 2, "WhitelistedPlayers": ["bob" "carol"]})",
      "",
  };
  UseConfig(in_force);
  const json before = PluginConfig();
  for (const std::string& content : broken) {
    WriteConfig(content);
    EXPECT_THROW(ReadConfig(), json::parse_error) << content;
    EXPECT_EQ(PluginConfig(), before) << content;
  }
  DeleteConfig();
  EXPECT_THROW(ReadConfig(), std::runtime_error);
  EXPECT_EQ(PluginConfig(), before);
  EXPECT_TRUE(Settings::OnlyWhitelisted());
  EXPECT_EQ(Settings::KickTimer(), 1);
}

TEST_F(ConfigRead, LargeWhitelistLoads) {
  std::string content = R"({"WhitelistedPlayers": [)";
  constexpr int kPlayers = 400000;  // about 10 MB
  for (int i = 0; i < kPlayers; ++i) {
    content +=
        (i == 0 ? "\"" : ",\"") + std::string("player-identifier-") + std::to_string(i) + "\"";
  }
  content += "]}";
  ASSERT_GT(content.size(), 10u * 1000 * 1000);
  UseConfig(content);
  EXPECT_EQ(Settings::WhitelistedPlayers().size(), static_cast<size_t>(kPlayers));
}

}  // namespace gatehouse
