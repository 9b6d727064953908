#include <ctime>
#include <regex>
#include <string>

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include "console/ConsolePrint.h"
#include "console/ConsoleTimestamp.h"
#include "harness/InProcessServer.h"
#include "plugin/PluginState.h"

namespace gatehouse {

namespace {

constexpr auto* Captured = &harness::console::Capture;

const std::regex kLine(R"(\x1b\[(\d\d)m(\d\d/\d\d/\d\d \d\d:\d\d) ([^\x1b]*)\x1b\[0m\n)");

}  // namespace

// Each test starts from a plugin with no state: the console logger is set up
// by the test's first print, and goes with the state at the end.
class ConsolePrint : public ::testing::Test {
 protected:
  void SetUp() override { EndPluginState(); }
  void TearDown() override { EndPluginState(); }
};

TEST_F(ConsolePrint, FirstPrintSetsUpTheLoggerOnceAndTheEndOfTheStateRemovesIt) {
  ASSERT_EQ(spdlog::get("custom"), nullptr);
  const std::string first = Captured([] { ConsolePrintInfo("[GH] first - a"); });
  EXPECT_TRUE(std::regex_match(first, kLine)) << first;
  const auto logger = spdlog::get("custom");
  ASSERT_NE(logger, nullptr);

  const std::string second = Captured([] { ConsolePrintAlert("[GH][kick] second - b"); });
  EXPECT_TRUE(std::regex_match(second, kLine)) << second;
  EXPECT_EQ(spdlog::get("custom"), logger);

  const std::string after = Captured([] { ConsolePrintInfo("still here"); });
  EXPECT_TRUE(std::regex_match(after, kLine)) << after;

  // The logger's name is free again, as when the library has left the process.
  EndPluginState();
  EXPECT_EQ(spdlog::get("custom"), nullptr);
  const std::string again = Captured([] { ConsolePrintInfo("set up again"); });
  EXPECT_TRUE(std::regex_match(again, kLine)) << again;
  EXPECT_NE(spdlog::get("custom"), nullptr);
}

TEST_F(ConsolePrint, LineBytesForInfoAndAlert) {
  const struct {
    void (*print)(std::string);
    const char* message;
    const char* code;
  } cases[] = {
      {&ConsolePrintInfo, "[GH] PreLogin Identifier - abc", "36"},
      {&ConsolePrintAlert, "[GH][kick] Blacklisted - abc", "33"},
      {&ConsolePrintInfo, "", "36"},
      {&ConsolePrintAlert, "{} {0} {:>8} { }", "33"},
      {&ConsolePrintInfo, "%v %n [%l] 100%", "36"},
      {&ConsolePrintInfo, "j\xC3\xB6rg", "36"},
  };
  for (const auto& c : cases) {
    std::string stamp;
    const std::string out = Captured([&] {
      stamp = ConsoleTimestamp();
      c.print(c.message);
    });
    const auto line = [&](const std::string& at) {
      return "\x1b[" + std::string(c.code) + "m" + at + " " + c.message + "\x1b[0m\n";
    };
    // The minute may turn between the stamp taken here and the print's own.
    EXPECT_TRUE(out == line(stamp) || out == line(ConsoleTimestamp()))
        << '"' << c.message << "\" gave: " << out;
  }
}

TEST(ConsoleTimestamp, FollowsTheLocalTimeZone) {
  // Fourteen hours east of UTC: a stamp in UTC would show another hour.
  ::setenv("TZ", "<+14>-14", 1);
  ::tzset();
  const std::time_t now = std::time(nullptr);
  const std::string stamp = ConsoleTimestamp();
  const std::time_t shifted = now + 14 * 3600;
  std::tm utc{};
  gmtime_r(&shifted, &utc);
  char expected[80];
  std::strftime(expected, sizeof(expected), "%m/%d/%y %H:%M", &utc);
  ::unsetenv("TZ");
  ::tzset();
  EXPECT_EQ(stamp, expected);
}

}  // namespace gatehouse
