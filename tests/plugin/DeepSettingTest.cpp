#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "config/ReadConfig.h"

namespace gatehouse {

namespace {

// Far deeper than any thread's stack allows a recursive walk to go.
constexpr int kDepth = 100000;

std::string ArrayOfArrays() {
  return std::string(kDepth, '[') + std::string(kDepth, ']');
}

std::string ObjectOfObjects() {
  std::string text;
  for (int i = 0; i < kDepth; ++i) {
    text += R"({"a":)";
  }
  text += "0";
  text += std::string(kDepth, '}');
  return text;
}

}  // namespace

class DeepSetting : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadPlugin("{}");
  }
};

// A setting holding a value nested 100 000 levels deep is read, used at a join
// and replaced by the next read without a walk down its depth: the join meets
// the type error of any entry of the wrong type, contained in the hook.
TEST_F(DeepSetting, JoinMeetsTheTypeErrorWhateverTheDepth) {
  const struct {
    const char* key;
    std::string value;
    std::vector<std::string> hooks;  // that log the error, in order
    const char* wanted;
    const char* found;
  } cases[] = {
      {"WhitelistedGroups", ArrayOfArrays(), {"PreLoginHook", "PostLoginHook"}, "string", "array"},
      {"WhitelistedPlayers",
       ObjectOfObjects(),
       {"PreLoginHook", "PostLoginHook"},
       "string",
       "object"},
      {"BlacklistedGroups", ObjectOfObjects(), {"PostLoginHook"}, "string", "object"},
      {"KickTimer", ArrayOfArrays(), {"PostLoginHook"}, "number", "array"},
  };
  for (const auto& c : cases) {
    // Not whitelisted and kicked: every setting above is read at this join.
    UseConfig(std::string(R"({"OnlyWhitelisted": true, "UseBlacklist": true, ")") + c.key +
              "\": " + c.value + "}");
    std::vector<std::string> records;
    for (const std::string& hook : c.hooks) {
      records.push_back(hook + ": " + c.key + ": " + MustBe(c.wanted, c.found));
    }
    const size_t before = LogMessages().size();
    CapturingConsole([&] { Game().Join("p"); });
    const std::vector<std::string> messages = LogMessages();
    EXPECT_EQ(
        std::vector<std::string>(messages.begin() + static_cast<ptrdiff_t>(before), messages.end()),
        records)
        << c.key;
    EXPECT_EQ(Game().Players(), std::vector<std::string>{"p"}) << c.key;
    Game().Leave("p");
  }
  // Replacing the last deep document lets it go, as the process's exit would.
  UseConfig("{}");
}

}  // namespace gatehouse
