// The whitelist and blacklist tests, which use the prepared lists, against the
// direct walks of the same lists as read: random configurations put in force
// through ReadConfig (failed reloads among them), random Identifiers. With the
// host's services working, both must give the same decision, the same error at
// the same point, and the same permission queries in the same order. With the
// engine's compare missing or its allocator failing, the prepared player test,
// which needs both for fewer entries, may decide where the walk meets the
// failure; nothing else differs.

#include <cstdio>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/ListMembership.h"
#include "admission/PreparedLists.h"
#include "config/ReadConfig.h"
#include "config/SettingRead.h"
#include "config/Settings.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

using nlohmann::json;
using recording_permissions::Query;

namespace {

struct Outcome {
  std::string decision;  // "true", "false", or the error with the list in use
  std::vector<Query> queries;

  bool operator==(const Outcome&) const = default;
};

template <class Test>
Outcome Observe(Test test) {
  const size_t before = recording_permissions::Queries().size();
  Outcome outcome;
  try {
    outcome.decision = test() ? "true" : "false";
  } catch (const json::exception& error) {
    outcome.decision = std::string(SettingInUse()) + ": " + error.what();
  } catch (const std::exception& error) {
    outcome.decision = std::string("error: ") + error.what();
  }
  const std::vector<Query> all = recording_permissions::Queries();
  outcome.queries.assign(all.begin() + static_cast<ptrdiff_t>(before), all.end());
  return outcome;
}

// Every group and the player entry walked in full, as the lists are read.
bool WalkedWhitelist(const FString& identifier) {
  const bool in_group = IsInAnyGroup(identifier, Settings::WhitelistedGroups());
  const bool listed = IsListedPlayer(identifier, Settings::WhitelistedPlayers());
  return in_group || listed;
}

bool WalkedBlacklist(const FString& identifier) {
  return IsInAnyGroup(identifier, Settings::BlacklistedGroups());
}

std::string Print(const Outcome& outcome) {
  std::string text = outcome.decision + " after";
  for (const Query& query : outcome.queries) {
    text += " (" + query.first + ", " + query.second + ")";
  }
  return text;
}

class Generator {
 public:
  explicit Generator(uint32_t seed) : random_(seed) {}

  int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
  bool OneIn(int n) { return Below(n) == 0; }

  // Narrow UTF-8 texts: few letters in both cases, so that entries collide and
  // differ only in case; Latin-1 letters, a character outside the Basic
  // Multilingual Plane, an embedded zero byte, the empty text.
  std::string Text() {
    switch (Below(8)) {
      case 0:
        return "";
      case 1:
        return Pick(
            {"j\xC3\xB6rg", "J\xC3\x96RG", "\xC3\x96", "\xC3\xA9t\xC3\xA9", "\xF0\x9F\x98\x80x"});
      case 2:
        return std::string("ab\0cd", 5);
      default: {
        std::string text;
        const int length = Below(5);
        for (int i = 0; i < length; ++i) {
          text += "aAbB0_"[Below(6)];
        }
        return text;
      }
    }
  }

  json NonString() {
    return Pick<json>({1, nullptr, true, json::array({"a"}), json::object(), 2.5});
  }

  json Entry() { return OneIn(12) ? NonString() : json(Text()); }

  // The four list forms, or no key at all (an absent list is null here).
  json List() {
    switch (Below(6)) {
      case 0:
        return nullptr;
      case 1:
        return Entry();
      case 2: {
        json members = json::object();
        const int length = Below(5);
        for (int i = 0; i < length; ++i) {
          members["k" + std::to_string(Below(100))] = Entry();
        }
        return members;
      }
      default: {
        json entries = json::array();
        const int length = Below(8);
        for (int i = 0; i < length; ++i) {
          entries.push_back(Entry());
        }
        return entries;
      }
    }
  }

  json Document() {
    if (OneIn(25)) {
      return json::array({"WhitelistedPlayers"});
    }
    json document = json::object();
    for (const char* key : {Settings::kWhitelistedGroups, Settings::kWhitelistedPlayers,
                            Settings::kBlacklistedGroups}) {
      const json list = List();
      if (!list.is_null() || OneIn(2)) {
        document[key] = list;
      }
    }
    return document;
  }

  // An Identifier near the entries: an entry as the host's narrow constructor
  // makes it, with letters of either case flipped, one unit more or less, as
  // UTF-16 of its UTF-8, or with a zero unit inside; or empty with or without
  // storage.
  FString Identifier(const std::vector<std::string>& near) {
    const std::string text = near.empty() || OneIn(4) ? Text() : near[Below(int(near.size()))];
    std::u16string units;
    for (const char byte : std::string_view(text.c_str())) {
      units.push_back(static_cast<unsigned char>(byte));
    }
    switch (Below(9)) {
      case 0:
        return FString();
      case 1:
        return FString::EmptyWithStorage();
      case 2:
        return sim::FStringFromUtf8(text);
      case 3:
        units.push_back(u"aA\u00e9"[Below(3)]);
        break;
      case 4:
        if (!units.empty()) {
          units.pop_back();
        }
        break;
      case 5:
        units.insert(units.begin() + Below(int(units.size()) + 1), u'\0');
        break;
      default:
        for (char16_t& unit : units) {
          if (OneIn(2)) {
            unit = FlipCase(unit);
          }
        }
    }
    return FString::FromUnits(units.data(), static_cast<int32_t>(units.size()));
  }

 private:
  template <class T>
  T Pick(std::initializer_list<T> choices) {
    return *(choices.begin() + Below(int(choices.size())));
  }

  static char16_t FlipCase(char16_t unit) {
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7)) {
      return static_cast<char16_t>(unit - 0x20);
    }
    if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
      return static_cast<char16_t>(unit + 0x20);
    }
    return unit;
  }

  std::mt19937 random_;
};

// The string entries of a document's lists, to make Identifiers and group
// members near them.
std::vector<std::string> StringEntries(const json& document) {
  std::vector<std::string> texts;
  if (!document.is_object()) {
    return texts;
  }
  for (const auto& [key, list] : document.items()) {
    for (const json& entry : list) {
      if (entry.is_string()) {
        texts.push_back(entry.get<std::string>());
      }
    }
  }
  return texts;
}

}  // namespace

using PreparedListsTest = PluginTest;

TEST_F(PreparedListsTest, DecideAsTheWalkOfTheListsDoes) {
  Generator generate(20261208);
  for (int round = 0; round < 250; ++round) {
    const json document = generate.Document();
    UseDocument(document);
    if (generate.OneIn(5)) {
      // A failed reload leaves the document, and its prepared form, in force.
      WriteConfig(R"({"WhitelistedPlayers": ["x")");
      EXPECT_ANY_THROW(ReadConfig());
    }
    const std::vector<std::string> near = StringEntries(document);
    for (int i = 0; i < 8; ++i) {
      const FString identifier = generate.Identifier(near);
      recording_permissions::Clear();
      if (!near.empty()) {
        for (int j = generate.Below(3); j > 0; --j) {
          recording_permissions::AddMember(sim::ToUtf8(identifier),
                                           near[generate.Below(int(near.size()))]);
        }
      }
      const Outcome walked = Observe([&] { return WalkedWhitelist(identifier); });
      const Outcome prepared = Observe([&] { return IsWhitelisted(identifier); });
      ASSERT_EQ(Print(prepared), Print(walked))
          << "whitelist, round " << round << ", Identifier \"" << sim::ToUtf8(identifier) << "\" ("
          << identifier.Num() << " units), config " << document.dump();
      const Outcome walked_black = Observe([&] { return WalkedBlacklist(identifier); });
      const Outcome prepared_black = Observe([&] { return IsBlacklisted(identifier); });
      ASSERT_EQ(Print(prepared_black), Print(walked_black))
          << "blacklist, round " << round << ", Identifier \"" << sim::ToUtf8(identifier)
          << "\", config " << document.dump();
    }
  }
}

TEST_F(PreparedListsTest, NeedTheEngineOnlyWhereTheWalkDoes) {
  const std::string compare = "FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)";
  const struct {
    const char* name;
    std::function<void(bool)> fail;  // brings the failure on (true) or takes it away
    std::string met;                 // what a test that meets it ends with
  } failures[] = {
      {"compare missing",
       [&](bool on) { on ? sim::HideGameFunction(compare) : sim::RestoreGameFunction(compare); },
       "error: game function not found: " + compare},
      {"allocator failing",
       [](bool on) { sim::FailAllocationsAfter(on ? std::optional<int64_t>(0) : std::nullopt); },
       "error: std::bad_alloc"},
  };
  Generator generate(20261209);
  int decided_without = 0;  // the prepared lists decided where the walk met the failure
  for (int round = 0; round < 100; ++round) {
    const json document = generate.Document();
    UseDocument(document);
    const std::vector<std::string> near = StringEntries(document);
    for (int i = 0; i < 8; ++i) {
      const FString identifier = generate.Identifier(near);
      for (const auto& failure : failures) {
        failure.fail(true);
        const Outcome walked = Observe([&] { return WalkedWhitelist(identifier); });
        const Outcome prepared = Observe([&] { return IsWhitelisted(identifier); });
        failure.fail(false);
        // Written out only when an assertion fails.
        const auto where = [&] {
          return std::string(failure.name) + ", round " + std::to_string(round) +
                 ", Identifier \"" + sim::ToUtf8(identifier) + "\", config " + document.dump();
        };
        EXPECT_EQ(prepared.queries, walked.queries) << where();
        if (prepared.decision == walked.decision) {
          continue;
        }
        // Only the walk meets the failure: the prepared lists decide, or
        // raise the type error of a list entry before they need the engine.
        ASSERT_EQ(walked.decision, failure.met) << where();
        ASSERT_NE(prepared.decision, failure.met) << where();
        ++decided_without;
      }
    }
  }
  EXPECT_GT(decided_without, 0);
}

// What the index holds stays within three times the list's own bytes in the
// file, for Identifiers of the usual form.
TEST_F(PreparedListsTest, IndexOfALongListIsSmall) {
  json players = json::array();
  for (int i = 0; i < 20000; ++i) {
    char id[33];
    std::snprintf(id, sizeof id, "%032x", i * 2654435761u);
    players.push_back(id);
  }
  const std::string list_text = players.dump();
  UseDocument({{"WhitelistedPlayers", players}});
  const PreparedLists& lists = CurrentLists();
  EXPECT_LE(lists.MemoryBytes(), 3 * list_text.size());
  EXPECT_TRUE(IsWhitelisted(FString(players[123].get<std::string>().c_str())));
}

}  // namespace gatehouse
