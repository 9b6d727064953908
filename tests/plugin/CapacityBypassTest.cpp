#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/AtCapacityHook.h"
#include "admission/HookSlots.h"
#include "admission/PreLoginHook.h"
#include "config/ReadConfig.h"
#include "sim/game/EngineObjects.h"

namespace gatehouse {

namespace {

// The game's side of the two hooks, standing in for the game's own functions
// behind the call-through slots: a pre-login that only records its arguments,
// and a capacity check that always finds the server full.
enum class Ending {
  admit,
  refuse,              // the game's pre-login refuses (as for a ban)
  throws,              // it throws before any capacity check
  checks_then_throws,  // it asks the first capacity check, then throws
};
struct GameSide {
  int capacity_checks = 0;
  int pre_logins = 0;
  Ending ending = Ending::admit;
  std::vector<const void*> pre_login_arguments;
  std::string inner_check;  // how the check asked by the pre-login was answered
};
GameSide game_side;

// Thrown by the game's pre-login; no standard exception, so that only the
// very object passing on unchanged is caught by the test.
struct GameFault {
  int pre_login;
};

// Asks the capacity hook once: 'B' when it answered without the game (room),
// 'G' when the game answered (full).
char AskCapacity(AGameSession* session) {
  FString text("x");
  int number = 0;
  const int before = game_side.capacity_checks;
  const bool full = AtCapacityHook(session, false, text, false, &number);
  const bool bypassed = game_side.capacity_checks == before;
  EXPECT_NE(full, bypassed);
  return bypassed ? 'B' : 'G';
}

void RecordingPreLogin(AShooterGameMode* game_mode, FString& options, FString& address,
                       FUniqueNetIdRepl* unique_id, FString& error_message) {
  ++game_side.pre_logins;
  game_side.pre_login_arguments = {game_mode, &options, &address, unique_id, &error_message};
  switch (game_side.ending) {
    case Ending::admit:
      break;
    case Ending::refuse:
      error_message = FString("Refused.");
      break;
    case Ending::checks_then_throws:
      game_side.inner_check = AskCapacity(sim::Game::Current()->Session());
      throw GameFault{game_side.pre_logins};
    case Ending::throws:
      throw GameFault{game_side.pre_logins};
  }
}

bool AlwaysFull(AGameSession*, bool, FString&, bool, int*) {
  ++game_side.capacity_checks;
  return true;
}

}  // namespace

class Bypass : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    game_side = {};
    gatehouse::Bypass() = {};
    PreLoginTrampoline() = &RecordingPreLogin;
    AtCapacityTrampoline() = &AlwaysFull;
    recording_permissions::AddMember("staff-member", "Staff");
    UseConfig(R"({"WhitelistedPlayers": ["alice", "bob"], "WhitelistedGroups": ["Staff"]})");
  }

  // A pre-login of this id, or one without a unique id for nullptr.
  void PreLogin(const char* id) {
    FUniqueNetIdRepl unique_id{id == nullptr ? "" : id};
    FString options("");
    FString address("127.0.0.1");
    FString error_message;
    PreLoginHook(Game().GameMode(), options, address, id == nullptr ? nullptr : &unique_id,
                 error_message);
  }

  // Plays events: 'W' a whitelisted pre-login, 'N' one that is not, 'R' and
  // 'r' the same that the game refuses, 'T' and 't' the same that the game
  // ends by throwing, 'X' and 'x' that it ends by throwing after asking the
  // first capacity check, 'c' a capacity check. Gives the answers of the
  // checks; a throw must reach the caller as the game threw it.
  std::string Play(const std::string& events) {
    static const std::string kWhitelisted = "WRTX";
    std::string answers;
    for (const char event : events) {
      if (event == 'c') {
        answers += AskCapacity(Game().Session());
        continue;
      }
      const bool whitelisted = kWhitelisted.find(event) != std::string::npos;
      const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(event)));
      game_side.ending = upper == 'R'   ? Ending::refuse
                         : upper == 'T' ? Ending::throws
                         : upper == 'X' ? Ending::checks_then_throws
                                        : Ending::admit;
      const bool throws = upper == 'T' || upper == 'X';
      try {
        PreLogin(whitelisted ? "alice" : "mallory");
        EXPECT_FALSE(throws) << event << " did not throw";
      } catch (const GameFault& fault) {
        EXPECT_TRUE(throws) << event;
        EXPECT_EQ(fault.pre_login, game_side.pre_logins) << event;
      }
      answers += game_side.inner_check;
      game_side.inner_check.clear();
    }
    return answers;
  }
};

TEST_F(Bypass, StateMachine) {
  const struct {
    const char* events;
    const char* answers;
  } cases[] = {
      {"ccc", "GGG"},        // nothing armed: the game decides
      {"Wccc", "BBG"},       // two checks per whitelisted pre-login
      {"WWccc", "BBG"},      // two pre-logins before any check: still two
      {"WcWcccc", "BBBGG"},  // re-armed between the first and second: three in a row
      {"Nccc", "GGG"},       // not whitelisted: nothing armed
      {"WNccc", "BBG"},      // and nothing disarmed either
      {"WcNccc", "BBGG"},
      {"Rccc", "GGG"},   // refused by the game: what it armed goes with it
      {"WRccc", "BBG"},  // and only that: what was armed before stays
      {"WcRccc", "BBGG"},
      {"Wcrccc", "BBGG"},  // a refused player who armed nothing disarms
                           // nothing
      {"Tccc", "GGG"},     // the game's pre-login throws: what it armed goes too
      {"WTccc", "BBG"},
      {"WcTccc", "BBGG"},
      {"Wctccc", "BBGG"},
      {"Xccc", "BGGG"},     // thrown after the first check: the second is not left
      {"WcXccc", "BBBGG"},  // what was armed before comes back, as it was
      {"Wcxccc", "BBGGG"},  // a player who armed nothing disarms nothing
  };
  for (const auto& c : cases) {
    gatehouse::Bypass() = {};
    EXPECT_EQ(Play(c.events), c.answers) << c.events;
  }
  EXPECT_EQ(game_side.pre_logins, 29);
}

TEST_F(Bypass, ArmedBypassOutlivesAReloadThatTurnsItOff) {
  PreLogin("alice");
  UseConfig(R"({"AllowJoinFullServer": false})");
  EXPECT_EQ(Play("ccc"), "BBG");
}

TEST_F(Bypass, SwitchedOffItPrintsAndAsksNothing) {
  UseConfig(R"({"AllowJoinFullServer": false, "DebugPreLogin": true,
                "WhitelistedGroups": ["Staff"], "WhitelistedPlayers": ["alice"]})");
  const std::string out = CapturingConsole([&] {
    PreLogin("alice");
    PreLogin("staff-member");
  });
  EXPECT_EQ(out, "");
  EXPECT_TRUE(recording_permissions::Queries().empty());
  EXPECT_EQ(game_side.pre_logins, 2);
  EXPECT_EQ(Play("cc"), "GG");
}

// Without a unique id only AllowJoinFullServer is read: the other settings
// may be broken without anything showing.
TEST_F(Bypass, MissingUniqueIdReadsOnlyTheSwitch) {
  UseConfig(R"({"DebugPreLogin": 1, "WhitelistedPlayers": [7], "WhitelistedGroups": ["Staff"]})");
  const std::string out = CapturingConsole([&] { PreLogin(nullptr); });
  EXPECT_EQ(out, "");
  EXPECT_TRUE(LogRecords().empty());
  EXPECT_TRUE(recording_permissions::Queries().empty());
  EXPECT_EQ(game_side.pre_logins, 1);
  EXPECT_EQ(Play("c"), "G");

  UseConfig(R"({"AllowJoinFullServer": "yes"})");
  PreLogin(nullptr);
  EXPECT_EQ(LogMessages(), std::vector<std::string>{"PreLoginHook: AllowJoinFullServer: " +
                                                    MustBe("boolean", "string")});
}

TEST_F(Bypass, GamePreLoginGetsTheSameArguments) {
  FUniqueNetIdRepl unique_id{"alice"};
  FString options("opts");
  FString address("10.0.0.1");
  FString error_message("before");
  PreLoginHook(Game().GameMode(), options, address, &unique_id, error_message);
  EXPECT_EQ(game_side.pre_login_arguments,
            (std::vector<const void*>{Game().GameMode(), &options, &address, &unique_id,
                                      &error_message}));
  EXPECT_EQ(std::u16string(*error_message), u"before");
}

// A configuration error is logged under the hook's name; the bypass stays as
// it was and the game's own pre-login still runs, once.
TEST_F(Bypass, ConfigurationErrorsAreContained) {
  const struct {
    const char* config;
    std::string message;  // after "PreLoginHook: "
  } cases[] = {
      {R"({"AllowJoinFullServer": 1})", "AllowJoinFullServer: " + MustBe("boolean", "number")},
      {R"({"DebugPreLogin": "on"})", "DebugPreLogin: " + MustBe("boolean", "string")},
      {R"({"WhitelistedPlayers": ["alice", null]})",
       "WhitelistedPlayers: " + MustBe("string", "null")},
      {R"({"WhitelistedGroups": [["Staff"]], "WhitelistedPlayers": ["alice"]})",
       "WhitelistedGroups: " + MustBe("string", "array")},
      {R"(["AllowJoinFullServer"])", "AllowJoinFullServer: " + NoValueIn("array")},
  };
  for (const auto& c : cases) {
    UseConfig(c.config);
    for (const bool armed : {false, true}) {
      gatehouse::Bypass() = {armed, false};
      const int pre_logins = game_side.pre_logins;
      const size_t records = LogMessages().size();
      PreLogin("alice");
      EXPECT_EQ(game_side.pre_logins, pre_logins + 1) << c.config;
      EXPECT_EQ(gatehouse::Bypass().IgnoreCapacity, armed) << c.config;
      ASSERT_EQ(LogMessages().size(), records + 1) << c.config;
      EXPECT_EQ(LogMessages().back(), "PreLoginHook: " + c.message);
    }
  }
}

}  // namespace gatehouse
