// A join's decisions are written once: the hooks, Gatehouse.Explain and the
// operator's check all walk them. Here a join through the game and the
// explanation of the same join read the same settings in the same order, for
// configurations whose reads end at every step, so that a hook that read in an
// order of its own would show.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/Explanation.h"
#include "config/SettingRead.h"

namespace gatehouse {

namespace {

// The keys in the order each was first read. AuditLog is read by every record
// the hooks write, not by a decision, and is left out.
std::vector<std::string> FirstReads(const std::vector<std::string>& keys) {
  std::vector<std::string> first;
  for (const std::string& key : keys) {
    if (key != "AuditLog" && std::find(first.begin(), first.end(), key) == first.end()) {
      first.push_back(key);
    }
  }
  return first;
}

}  // namespace

class ReadOrder : public PluginTest {};

TEST_F(ReadOrder, AJoinAndItsExplanationReadTheSameSettingsInTheSameOrder) {
  recording_permissions::Clear();
  recording_permissions::AddMember("vip", "Vip");
  recording_permissions::AddMember("cheat", "Cheaters");
  const std::vector<std::string> configs = {
      "{}",
      R"({"OnlyWhitelisted": true, "UseBlacklist": true, "WhitelistedGroups": ["Vip"],
          "WhitelistedPlayers": ["alice"], "BlacklistedGroups": ["Cheaters"], "AuditLog": true,
          "DebugPreLogin": true, "DebugPostLogin": true})",
      R"({"AllowJoinFullServer": false, "OnlyWhitelisted": true, "WhitelistedPlayers": "alice",
          "KickTimer": 0})",
      // Reads that fail, each ending its hook's work at another step.
      R"({"ReloadOnChange": 1, "AllowJoinFullServer": "x", "OnlyWhitelisted": true})",
      R"({"DebugPreLogin": [], "DebugPostLogin": {}, "OnlyWhitelisted": true})",
      R"({"OnlyWhitelisted": true, "WhitelistedGroups": [1], "UseBlacklist": true})",
      R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice", 2], "UseBlacklist": true})",
      R"({"OnlyWhitelisted": true, "KickMessage": 5, "UseBlacklist": true,
          "BlacklistedGroups": ["Cheaters"]})",
      R"({"OnlyWhitelisted": true, "KickTimer": "soon", "UseBlacklist": true,
          "BlacklistedGroups": ["Cheaters"]})",
      R"({"UseBlacklist": true, "BlacklistedGroups": ["Cheaters"], "BlacklistKickMessage": false})",
      R"({"UseBlacklist": "yes", "OnlyWhitelisted": false})",
  };
  LoadPlugin(configs.front());
  for (const std::string& config : configs) {
    UseConfig(config);
    for (const std::string id : {"alice", "vip", "cheat", "zed"}) {
      SCOPED_TRACE(config + " joined by " + id);
      std::vector<std::string> joined;
      {
        const SettingReadLog log;
        CapturingConsole([&] { Game().Join(id); });
        joined = log.keys;
      }
      Game().Leave(id);
      std::vector<std::string> explained;
      {
        const SettingReadLog log;
        ExplainJoin(FString(id.c_str()));
        explained = log.keys;
      }
      EXPECT_EQ(FirstReads(joined), FirstReads(explained));
      EXPECT_FALSE(FirstReads(joined).empty());
    }
  }
}

}  // namespace gatehouse
