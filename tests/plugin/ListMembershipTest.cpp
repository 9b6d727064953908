#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/EqualsIgnoreCase.h"
#include "admission/ListMembership.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

using nlohmann::json;
using recording_permissions::Query;

namespace {

FString Text(const std::string& utf8) {
  return sim::FStringFromUtf8(utf8);
}

std::string TypeErrorOf(const std::function<void()>& test) {
  try {
    test();
  } catch (const json::type_error& error) {
    return error.what();
  }
  return "no error";
}

}  // namespace

using Comparison = PluginTest;

TEST_F(Comparison, CaseIsIgnoredButNothingElse) {
  const struct {
    const char* entry;
    const char* identifier;
    bool equal;
  } cases[] = {
      {"Alice", "alice", true},   {"JÖRG", "jörg", true},     {"alice", "alice ", false},
      {"alice ", "alice", false}, {"alic", "alice", false},   {"alice", "alicf", false},
      {"", "alice", false},       {" alice", "alice", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EqualsIgnoreCase(Text(c.entry), Text(c.identifier)), c.equal)
        << '"' << c.entry << "\" vs \"" << c.identifier << '"';
  }
}

TEST_F(Comparison, EmptyStringsAreEqualWithOrWithoutStorage) {
  const FString empty[] = {FString(), FString::EmptyWithStorage()};
  for (const FString& a : empty) {
    for (const FString& b : empty) {
      EXPECT_TRUE(EqualsIgnoreCase(a, b));
    }
  }
  EXPECT_FALSE(EqualsIgnoreCase(empty[0], Text("a")));
  EXPECT_FALSE(EqualsIgnoreCase(Text("a"), empty[1]));
}

// The engine's compare runs only when the counts agree: with different counts
// a host without it does not matter, with equal counts it is required.
TEST_F(Comparison, EngineCompareOnlyForEqualCounts) {
  sim::UnregisterGameFunction("FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)");
  EXPECT_FALSE(EqualsIgnoreCase(Text("alice"), Text("bob")));
  EXPECT_THROW(EqualsIgnoreCase(Text("alice"), Text("ALICE")), std::runtime_error);
}

using Lists = PluginTest;

TEST_F(Lists, EveryShapeIsWalkedInItsOwnOrder) {
  const FString player = Text("p");
  const struct {
    const char* name;
    json groups;
    std::vector<std::string> asked;
  } cases[] = {
      {"array", json::array({"b", "a", "c"}), {"b", "a", "c"}},
      {"object values by member name",
       json({{"z", "first?"}, {"a", "second?"}}),
       {"second?", "first?"}},
      {"single string", "Vip", {"Vip"}},
      {"null", nullptr, {}},
      {"empty array", json::array(), {}},
      {"empty object", json::object(), {}},
  };
  for (const auto& c : cases) {
    recording_permissions::Clear();
    EXPECT_FALSE(IsInAnyGroup(player, c.groups)) << c.name;
    std::vector<std::string> asked;
    for (const Query& query : recording_permissions::Queries()) {
      EXPECT_EQ(query.first, "p");
      asked.push_back(query.second);
    }
    EXPECT_EQ(asked, c.asked) << c.name;
  }
}

TEST_F(Lists, EveryGroupIsAskedOnceAlsoAfterAMatch) {
  recording_permissions::AddMember("p", "a");
  EXPECT_TRUE(IsInAnyGroup(Text("p"), json::array({"a", "b", "a"})));
  EXPECT_EQ(recording_permissions::Queries(),
            (std::vector<Query>{{"p", "a"}, {"p", "b"}, {"p", "a"}}));
}

TEST_F(Lists, PlayerListMatchesAnyEntry) {
  EXPECT_TRUE(IsListedPlayer(Text("Alice"), json::array({"bob", "ALICE"})));
  EXPECT_TRUE(IsListedPlayer(Text("alice"), "alice"));
  EXPECT_TRUE(IsListedPlayer(Text("alice"), json({{"x", "bob"}, {"y", "Alice"}})));
  EXPECT_FALSE(IsListedPlayer(Text("alice"), json::array({"bob", "alice "})));
  EXPECT_FALSE(IsListedPlayer(Text("alice"), nullptr));
  EXPECT_TRUE(IsListedPlayer(FString(), json::array({"x", ""})));
  EXPECT_TRUE(IsListedPlayer(FString::EmptyWithStorage(), json::array({""})));
  EXPECT_FALSE(IsListedPlayer(FString(), json::array({"x"})));
}

// A non-string entry raises the library's type error naming its type, also
// when an entry before it matched.
TEST_F(Lists, NonStringEntryIsAnErrorEvenAfterAMatch) {
  recording_permissions::AddMember("p", "Vip");
  const FString player = Text("p");
  const std::pair<json, std::string> entries[] = {
      {1, "number"},
      {nullptr, "null"},
      {true, "boolean"},
      {json::array(), "array"},
      {json::object(), "object"},
  };
  for (const auto& [entry, type] : entries) {
    recording_permissions::Clear();
    recording_permissions::AddMember("p", "Vip");
    const std::string expected = MustBe("string", type);
    EXPECT_EQ(TypeErrorOf([&] { IsInAnyGroup(player, json::array({"Vip", entry})); }), expected);
    EXPECT_EQ(recording_permissions::Queries(), (std::vector<Query>{{"p", "Vip"}}));
    EXPECT_EQ(TypeErrorOf([&] { IsListedPlayer(player, json::array({"p", entry})); }), expected);
  }
  EXPECT_EQ(TypeErrorOf([&] { IsInAnyGroup(player, 5); }), MustBe("string", "number"));
}

TEST_F(Lists, WhitelistAsksEveryGroupThenEveryPlayerEntry) {
  recording_permissions::AddMember("p", "Vip");
  UseDocument({{"WhitelistedGroups", {"Vip", "Staff"}}, {"WhitelistedPlayers", {"q", "p"}}});
  EXPECT_TRUE(IsWhitelisted(Text("p")));
  EXPECT_EQ(recording_permissions::Queries(), (std::vector<Query>{{"p", "Vip"}, {"p", "Staff"}}));

  UseDocument({{"WhitelistedGroups", {"Vip", "Staff"}}, {"WhitelistedPlayers", {"q", 7}}});
  EXPECT_EQ(TypeErrorOf([&] { IsWhitelisted(Text("p")); }), MustBe("string", "number"));

  UseDocument({{"WhitelistedPlayers", {"P"}}});
  recording_permissions::Clear();
  EXPECT_TRUE(IsWhitelisted(Text("p")));
  EXPECT_FALSE(IsWhitelisted(Text("q")));
  EXPECT_TRUE(recording_permissions::Queries().empty());
}

TEST_F(Lists, BlacklistAsksOnlyTheBlacklistedGroups) {
  recording_permissions::AddMember("p", "Banned");
  UseDocument({{"WhitelistedGroups", {"Vip"}}, {"BlacklistedGroups", {"Banned", "Cheats"}}});
  EXPECT_TRUE(IsBlacklisted(Text("p")));
  EXPECT_FALSE(IsBlacklisted(Text("q")));
  EXPECT_EQ(
      recording_permissions::Queries(),
      (std::vector<Query>{{"p", "Banned"}, {"p", "Cheats"}, {"q", "Banned"}, {"q", "Cheats"}}));

  UseDocument(json::array());
  EXPECT_EQ(TypeErrorOf([&] { IsBlacklisted(Text("p")); }), NoValueIn("array"));
}

}  // namespace gatehouse
