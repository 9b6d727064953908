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
    WriteConfig("{}");
    LoadPlugin();
  }
};

// A setting holding a value nested 100 000 levels deep is read, used at a join
// and replaced by the next read without a walk down its depth: the join meets
// the type error of any entry of the wrong type, contained in the hook.
TEST_F(DeepSetting, JoinMeetsTheTypeErrorWhateverTheDepth) {
  const struct {
    const char* key;
    std::string value;
    std::vector<std::string> records;
  } cases[] = {
      {"WhitelistedGroups",
       ArrayOfArrays(),
       {"PreLoginHook: WhitelistedGroups: [json.exception.type_error.302] type must be string, "
        "but is array",
        "PostLoginHook: WhitelistedGroups: [json.exception.type_error.302] type must be string, "
        "but is array"}},
      {"WhitelistedPlayers",
       ObjectOfObjects(),
       {"PreLoginHook: WhitelistedPlayers: [json.exception.type_error.302] type must be string, "
        "but is object",
        "PostLoginHook: WhitelistedPlayers: [json.exception.type_error.302] type must be string, "
        "but is object"}},
      {"BlacklistedGroups",
       ObjectOfObjects(),
       {"PostLoginHook: BlacklistedGroups: [json.exception.type_error.302] type must be string, "
        "but is object"}},
      {"KickTimer",
       ArrayOfArrays(),
       {"PostLoginHook: KickTimer: [json.exception.type_error.302] type must be number, but is "
        "array"}},
  };
  for (const auto& c : cases) {
    // Not whitelisted and kicked: every setting above is read at this join.
    UseConfig(std::string(R"({"OnlyWhitelisted": true, "UseBlacklist": true, ")") + c.key +
              "\": " + c.value + "}");
    const size_t before = LogMessages().size();
    CapturingConsole([&] { Game().Join("p"); });
    const std::vector<std::string> messages = LogMessages();
    EXPECT_EQ(
        std::vector<std::string>(messages.begin() + static_cast<ptrdiff_t>(before), messages.end()),
        c.records)
        << c.key;
    EXPECT_EQ(Game().Players(), std::vector<std::string>{"p"}) << c.key;
    Game().Leave("p");
  }
  // Replacing the last deep document lets it go, as the process's exit would.
  UseConfig("{}");
}

}  // namespace gatehouse
