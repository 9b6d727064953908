// The audit log in-process: a session with every kind of record gives one
// JSON object a line with the fields an operator filters on; the log stays
// valid JSON whatever bytes an Identifier holds; a log that cannot be written
// costs the game nothing and is told once; with the setting off no file is
// made.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "config/AuditLog.h"
#include "config/ReadConfig.h"
#include "config/ReloadCommands.h"
#include "config/ReloadOnChange.h"
#include "operator/ListChange.h"
#include "operator/StatusReport.h"
#include "operator/Sweep.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

namespace {

using nlohmann::json;

// Each line of audit.log parsed on its own; a line that is not JSON fails the
// test.
std::vector<json> Records() {
  std::vector<json> records;
  std::ifstream file(std::filesystem::path(AuditLogPath()), std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    EXPECT_TRUE(json::accept(line)) << line;
    records.push_back(json::parse(line, nullptr, false));
  }
  return records;
}

std::vector<std::string> Events(const std::vector<json>& records) {
  std::vector<std::string> events;
  for (const json& record : records) {
    events.push_back(record.value("event", "") + " " + record.value("id", ""));
  }
  return events;
}

}  // namespace

using AuditLog = PluginTest;

TEST_F(AuditLog, ASessionRecordsEveryDecisionAndChange) {
  const std::string odd = "q\"b\\s\x01\x1f\t";
  UseConfig(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickTimer": 1,
                "AuditLog": true})");
  LoadPlugin();
  CapturingConsole([&] {
    Game().Join("alice");
    Game().Join("carol");
    Game().Join(odd);
    Game().Leave(odd);
    sim::AdvanceSeconds(1);
  });
  EXPECT_NE(AddPlayer(u"frank").find("Added"), std::string::npos);
  EXPECT_NE(RemovePlayer(u"ALICE").find("Removed"), std::string::npos);
  WriteConfig(R"({"OnlyWhitelisted": )");
  RCONClientConnection connection;
  RCONPacket packet;
  RconReload(&connection, &packet, Game().World());

  const std::vector<json> records = Records();
  EXPECT_EQ(Events(records),
            (std::vector<std::string>{
                "bypass alice", "kick-scheduled carol", "kick-scheduled " + odd, "kicked carol",
                "kick-dropped " + odd, "add frank", "remove ALICE", "reload "}));
  const std::regex time(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)");
  for (const json& record : records) {
    ASSERT_TRUE(record.is_object());
    EXPECT_TRUE(std::regex_match(record.value("time", ""), time)) << record;
    EXPECT_TRUE(record.contains("reason")) << record;
  }
  EXPECT_EQ(records[0]["reason"], "listed as \"alice\" (WhitelistedPlayers)");
  EXPECT_EQ(records[1]["check"], "whitelist");
  EXPECT_EQ(records[1]["message"], "You are not whitelisted on this server!");
  EXPECT_EQ(records[1]["delay"], 1);
  EXPECT_EQ(records[6]["entries"], "\"alice\"");
  EXPECT_EQ(records[7]["source"], "rcon");
  EXPECT_EQ(records[7]["result"], "error");
  EXPECT_NE(records[7]["reason"].get<std::string>().find("parse error"), std::string::npos);
}

// A change picked up from disk is a reload from the "change" source, ok or
// failed, and a sweep leaves its count beside the kicks it scheduled.
TEST_F(AuditLog, ChangesFromDiskAndSweepsAreRecorded) {
  const std::string watched = R"("AuditLog": true, "ReloadOnChange": true, "KickTimer": 1)";
  UseConfig(R"({"WhitelistedPlayers": ["dave"], )" + watched + "}");
  LoadPlugin();
  CapturingConsole([&] {
    Game().Join("dave");
    Game().Join("erin");
  });
  WriteConfig(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["dave"], )" + watched + "}");
  ReloadIfChanged();
  CapturingConsole([&] { EXPECT_EQ(SweepNow().rfind("Scheduled 1 kick", 0), 0u); });
  WriteConfig(R"({"OnlyWhitelisted": )");
  ReloadIfChanged();

  const std::vector<json> records = Records();
  ASSERT_EQ(Events(records),
            (std::vector<std::string>{"bypass dave", "reload ", "kick-scheduled erin", "sweep ",
                                      "reload "}));
  EXPECT_EQ(records[1]["source"], "change");
  EXPECT_EQ(records[1]["result"], "ok");
  EXPECT_EQ(records[3]["count"], 1);
  EXPECT_EQ(records[4]["source"], "change");
  EXPECT_EQ(records[4]["result"], "error");
}

// A kick scheduled while the log was off leaves no record when it runs; a
// log turned off by a reload stops at once, and nothing else is ever made.
TEST_F(AuditLog, OffWritesNoFile) {
  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  LoadPlugin();
  CapturingConsole([&] { Game().Join("carol"); });
  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 1, "AuditLog": true})");
  CapturingConsole([&] { sim::AdvanceSeconds(1); });
  EXPECT_TRUE(Records().empty());
  UseConfig(R"({"OnlyWhitelisted": true, "AuditLog": false})");
  CapturingConsole([&] { Game().Join("dave"); });
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(AuditLogPath())));
}

// Bytes that are not UTF-8 become U+FFFD; control characters, quotes and
// backslashes are escaped; the time is UTC with milliseconds.
TEST_F(AuditLog, LinesAreJsonWhateverTheBytes) {
  const auto time = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796755623125));
  EXPECT_EQ(AuditTime(time), "2026-12-08T18:47:03.125Z");
  const std::string line =
      AuditLine(time, "kicked", {{"id", std::string("a\xff\"\\\n\x7f")}, {"reason", "r"}});
  EXPECT_EQ(line,
            "{\"time\":\"2026-12-08T18:47:03.125Z\",\"event\":\"kicked\",\"id\":\"a\xEF\xBF\xBD"
            "\\\"\\\\\\n\x7f\",\"reason\":\"r\"}");
}

// audit.log that cannot be opened (a folder in its place): the joins and kicks
// go on, the failure is told once on the host log, and Status names it. A
// value of the wrong type is told once and records nothing.
TEST_F(AuditLog, AFailingLogNeverDisturbsTheGame) {
  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 0, "AuditLog": true})");
  std::filesystem::create_directories(std::filesystem::path(AuditLogPath()));
  LoadPlugin();
  CapturingConsole([&] {
    Game().Join("carol");
    Game().Join("dave");
    sim::AdvanceSeconds(0);
  });
  EXPECT_TRUE(Game().Players().empty());
  const std::vector<std::string> messages = LogMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("AuditLog: cannot write audit.log, records are lost: ", 0), 0u);
  EXPECT_NE(StatusReport().find("\nAuditLog: true; audit.log cannot be written: "),
            std::string::npos);

  UseConfig(R"({"OnlyWhitelisted": true, "KickTimer": 0, "AuditLog": "yes"})");
  CapturingConsole([&] {
    Game().Join("erin");
    Game().Join("fred");
    sim::AdvanceSeconds(0);
  });
  EXPECT_TRUE(Game().Players().empty());
  ASSERT_EQ(LogMessages().size(), 2u);
  EXPECT_EQ(LogMessages()[1].rfind("AuditLog: the setting cannot be read", 0), 0u);
}

}  // namespace gatehouse
