#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "config/Settings.h"

namespace gatehouse {

using nlohmann::json;

namespace {

// What a read gives, or the text of the type error it raises.
template <class T>
std::string ReadOutcome(const std::function<T()>& read) {
  try {
    if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, json>) {
      return "value " + json(read()).dump();
    } else {
      return "value " + std::to_string(read());
    }
  } catch (const json::type_error& error) {
    return error.what();
  }
}

// Every setting's read, by its key.
const std::map<std::string, std::function<std::string()>> kReads = {
    {"OnlyWhitelisted", [] { return ReadOutcome<bool>(&Settings::OnlyWhitelisted); }},
    {"DebugPostLogin", [] { return ReadOutcome<bool>(&Settings::DebugPostLogin); }},
    {"UseBlacklist", [] { return ReadOutcome<bool>(&Settings::UseBlacklist); }},
    {"AllowJoinFullServer", [] { return ReadOutcome<bool>(&Settings::AllowJoinFullServer); }},
    {"DebugPreLogin", [] { return ReadOutcome<bool>(&Settings::DebugPreLogin); }},
    {"KickTimer", [] { return ReadOutcome<int32_t>(&Settings::KickTimer); }},
    {"KickMessage", [] { return ReadOutcome<std::string>(&Settings::KickMessage); }},
    {"BlacklistKickMessage",
     [] { return ReadOutcome<std::string>(&Settings::BlacklistKickMessage); }},
    {"WhitelistedGroups", [] { return ReadOutcome<json>(&Settings::WhitelistedGroups); }},
    {"WhitelistedPlayers", [] { return ReadOutcome<json>(&Settings::WhitelistedPlayers); }},
    {"BlacklistedGroups", [] { return ReadOutcome<json>(&Settings::BlacklistedGroups); }},
};

}  // namespace

using SettingRead = PluginTest;

TEST_F(SettingRead, EmptyObjectGivesEveryDefault) {
  UseDocument(json::object());
  std::string outcomes;
  for (const auto& [key, read] : kReads) {
    outcomes += key + " " + read() + "\n";
  }
  EXPECT_EQ(outcomes,
            "AllowJoinFullServer value 1\nBlacklistKickMessage value \"You are blacklisted on this "
            "server!\"\nBlacklistedGroups value []\nDebugPostLogin value 0\nDebugPreLogin value "
            "0\nKickMessage value \"You are not whitelisted on this server!\"\nKickTimer value "
            "5\nOnlyWhitelisted value 0\nUseBlacklist value 0\nWhitelistedGroups value "
            "[]\nWhitelistedPlayers value []\n");
}

TEST_F(SettingRead, KickTimerConversions) {
  const struct {
    json value;
    std::string outcome;
  } cases[] = {
      {30, "value 30"},
      {0, "value 0"},
      {-4, "value -4"},
      {2.9, "value 2"},
      {-2.9, "value -2"},
      {true, "value 1"},
      {false, "value 0"},
      // Integers keep their low 32 bits.
      {int64_t{4294967297}, "value 1"},
      {int64_t{2147483648}, "value -2147483648"},
      {uint64_t{18446744073709551615u}, "value -1"},
      // Floating-point values outside the 32-bit range clamp to its ends.
      {1e300, "value 2147483647"},
      {-3e9, "value -2147483648"},
      {2147483647.9, "value 2147483647"},
      {"30", MustBe("number", "string")},
      {nullptr, MustBe("number", "null")},
      {json::array({5}), MustBe("number", "array")},
      {json::object(), MustBe("number", "object")},
  };
  for (const auto& c : cases) {
    UseDocument({{"KickTimer", c.value}});
    EXPECT_EQ(ReadOutcome<int32_t>(&Settings::KickTimer), c.outcome) << c.value.dump();
  }
}

// Each kind of read takes only its own JSON type and names the type it found.
TEST_F(SettingRead, WrongTypesNameTheTypeFound) {
  const struct {
    const char* key;
    json value;
    std::string outcome;
  } cases[] = {
      {"OnlyWhitelisted", true, "value 1"},
      {"OnlyWhitelisted", 1, MustBe("boolean", "number")},
      {"DebugPostLogin", "true", MustBe("boolean", "string")},
      {"UseBlacklist", nullptr, MustBe("boolean", "null")},
      {"AllowJoinFullServer", false, "value 0"},
      {"AllowJoinFullServer", 0.0, MustBe("boolean", "number")},
      {"DebugPreLogin", json::array(), MustBe("boolean", "array")},
      {"KickMessage", "", "value \"\""},
      {"KickMessage", 7, MustBe("string", "number")},
      {"BlacklistKickMessage", "Tschüss", "value \"Tschüss\""},
      {"BlacklistKickMessage", false, MustBe("string", "boolean")},
  };
  for (const auto& c : cases) {
    UseDocument({{c.key, c.value}});
    EXPECT_EQ(kReads.at(c.key)(), c.outcome) << c.key << " = " << c.value.dump();
  }
}

// Every read of a document that is not an object names the document's type.
TEST_F(SettingRead, DocumentThatIsNotAnObjectFailsEveryRead) {
  const std::pair<json, std::string> documents[] = {
      {json::array({"OnlyWhitelisted", true}), "array"},
      {nullptr, "null"},
      {42, "number"},
      {"text", "string"},
      {true, "boolean"},
  };
  for (const auto& [document, type] : documents) {
    UseDocument(document);
    const std::string expected = NoValueIn(type);
    for (const auto& [key, read] : kReads) {
      EXPECT_EQ(read(), expected) << key;
    }
  }
}

}  // namespace gatehouse
