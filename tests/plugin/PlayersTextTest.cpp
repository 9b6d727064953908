// The rewrite of WhitelistedPlayers in the text of config.json keeps every
// other byte: the layout of the list itself, the other keys, a byte order mark
// and whatever follows the first value.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/PlayersText.h"

namespace gatehouse {

TEST(PlayersText, AddKeepsTheFileAndTheListsLayout) {
  const struct {
    const char* name;
    std::string before;
    std::string after;
  } cases[] = {
      {"list on one line", R"({"A": 1, "WhitelistedPlayers": ["a", "b"], "Z": 2})",
       R"({"A": 1, "WhitelistedPlayers": ["a", "b", "new"], "Z": 2})"},
      {"list of one entry a line", "{\n  \"WhitelistedPlayers\": [\n    \"a\",\n    \"b\"\n  ]\n}",
       "{\n  \"WhitelistedPlayers\": [\n    \"a\",\n    \"b\",\n    \"new\"\n  ]\n}"},
      {"one entry on its line", "{\"WhitelistedPlayers\": [\n\t\"a\"\n]}",
       "{\"WhitelistedPlayers\": [\n\t\"a\",\n\t\"new\"\n]}"},
      {"empty list", R"({"WhitelistedPlayers": [ ]})", R"({"WhitelistedPlayers": ["new"]})"},
      {"single string", R"({"WhitelistedPlayers": "a"})",
       R"({"WhitelistedPlayers": ["a", "new"]})"},
      {"null", R"({"WhitelistedPlayers": null})", R"({"WhitelistedPlayers": ["new"]})"},
      {"no list, one line", R"({"OnlyWhitelisted": true})",
       R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["new"]})"},
      {"no list, lines", "{\n    \"OnlyWhitelisted\": true\n}\n",
       "{\n    \"OnlyWhitelisted\": true,\n    \"WhitelistedPlayers\": [\"new\"]\n}\n"},
      {"empty object", " {} ", R"( {"WhitelistedPlayers": ["new"]} )"},
      {"byte order mark and trailing text", "\xEF\xBB\xBF{\"WhitelistedPlayers\": []} // x",
       "\xEF\xBB\xBF{\"WhitelistedPlayers\": [\"new\"]} // x"},
      {"the last of two keys, nested ones ignored",
       R"({"WhitelistedPlayers": ["x"], "N": {"WhitelistedPlayers": []}, "WhitelistedPlayers": []})",
       R"({"WhitelistedPlayers": ["x"], "N": {"WhitelistedPlayers": []}, "WhitelistedPlayers": ["new"]})"},
      {"key written with an escape, strings with brackets",
       R"({"K": "]}\"[", "\u0057hitelistedPlayers": ["a]\"", "b"]})",
       R"({"K": "]}\"[", "\u0057hitelistedPlayers": ["a]\"", "b", "new"]})"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlayersText(c.before).Appended("\"new\""), c.after) << c.name;
  }
}

TEST(PlayersText, RemoveKeepsTheSeparatorsOfTheEntriesThatStay) {
  const std::string lines =
      "{\n  \"WhitelistedPlayers\": [\n    \"a\",\n    \"b\",\n    \"c\"\n  ]\n}";
  const struct {
    std::string before;
    std::vector<size_t> positions;
    std::string after;
  } cases[] = {
      {lines, {1}, "{\n  \"WhitelistedPlayers\": [\n    \"a\",\n    \"c\"\n  ]\n}"},
      {lines, {0}, "{\n  \"WhitelistedPlayers\": [\n    \"b\",\n    \"c\"\n  ]\n}"},
      {lines, {2}, "{\n  \"WhitelistedPlayers\": [\n    \"a\",\n    \"b\"\n  ]\n}"},
      {lines, {0, 2}, "{\n  \"WhitelistedPlayers\": [\n    \"b\"\n  ]\n}"},
      {lines, {0, 1, 2}, "{\n  \"WhitelistedPlayers\": []\n}"},
      {R"({"WhitelistedPlayers":["a","b","a"],"Z":0})",
       {0, 2},
       R"({"WhitelistedPlayers":["b"],"Z":0})"},
      {R"({"WhitelistedPlayers": "a"})", {0}, R"({"WhitelistedPlayers": []})"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlayersText(c.before).Without(c.positions), c.after) << c.before;
  }
}

TEST(PlayersText, CountsTheEntriesAndRefusesWhatIsNoObject) {
  EXPECT_EQ(PlayersText(R"({"WhitelistedPlayers": [[1, [2]], {"a": "]"}, "x"]})").EntryCount(), 3u);
  EXPECT_EQ(PlayersText(R"({"WhitelistedPlayers": null})").EntryCount(), 0u);
  EXPECT_EQ(PlayersText("{}").EntryCount(), 0u);
  EXPECT_THROW(PlayersText("[1]"), std::runtime_error);
}

}  // namespace gatehouse
