#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "admission/CapacityBypass.h"
#include "admission/HookSlots.h"
#include "config/ReadConfig.h"
#include "sim/game/EngineObjects.h"

namespace gatehouse {

namespace {

// The game's side of the two hooks, standing in for the game's own functions
// behind the call-through slots: a pre-login that only records its arguments,
// and a capacity check that always finds the server full.
struct GameSide {
  int capacity_checks = 0;
  int pre_logins = 0;
  bool refuse = false;  // the game's pre-login refuses (as for a ban)
  std::vector<const void*> pre_login_arguments;
};
GameSide game_side;

void RecordingPreLogin(AShooterGameMode* game_mode, FString& options, FString& address,
                       FUniqueNetIdRepl* unique_id, FString& error_message) {
  ++game_side.pre_logins;
  game_side.pre_login_arguments = {game_mode, &options, &address, unique_id, &error_message};
  if (game_side.refuse) {
    error_message = FString("Refused.");
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

  // 'B' when the check was answered without the game, 'G' when the game answered.
  char Check() {
    FString text("x");
    int number = 0;
    const int before = game_side.capacity_checks;
    const bool full = AtCapacityHook(Game().Session(), false, text, false, &number);
    if (game_side.capacity_checks == before) {
      EXPECT_FALSE(full);
      return 'B';
    }
    EXPECT_TRUE(full);
    return 'G';
  }

  // Plays events: 'W' a whitelisted pre-login, 'N' one that is not, 'R' and
  // 'r' the same that the game refuses, 'c' a capacity check. Gives the
  // answers of the checks.
  std::string Play(const std::string& events) {
    std::string answers;
    for (const char event : events) {
      game_side.refuse = event == 'R' || event == 'r';
      if (event == 'W' || event == 'R') {
        PreLogin("alice");
      } else if (event == 'N' || event == 'r') {
        PreLogin("mallory");
      } else {
        answers += Check();
      }
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
      {"Wcrccc", "BBGG"},  // a refused player who armed nothing disarms nothing
  };
  for (const auto& c : cases) {
    gatehouse::Bypass() = {};
    EXPECT_EQ(Play(c.events), c.answers) << c.events;
  }
  EXPECT_EQ(game_side.pre_logins, 17);
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
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{
                "PreLoginHook: AllowJoinFullServer: [json.exception.type_error.302] type must be "
                "boolean, but is string"}));
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
    const char* message;
  } cases[] = {
      {R"({"AllowJoinFullServer": 1})",
       "PreLoginHook: AllowJoinFullServer: [json.exception.type_error.302] type must be boolean, "
       "but is number"},
      {R"({"DebugPreLogin": "on"})",
       "PreLoginHook: DebugPreLogin: [json.exception.type_error.302] type must be boolean, but is "
       "string"},
      {R"({"WhitelistedPlayers": ["alice", null]})",
       "PreLoginHook: WhitelistedPlayers: [json.exception.type_error.302] type must be string, but "
       "is null"},
      {R"({"WhitelistedGroups": [["Staff"]], "WhitelistedPlayers": ["alice"]})",
       "PreLoginHook: WhitelistedGroups: [json.exception.type_error.302] type must be string, but "
       "is array"},
      {R"(["AllowJoinFullServer"])",
       "PreLoginHook: AllowJoinFullServer: [json.exception.type_error.306] cannot use value() with "
       "array"},
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
      EXPECT_EQ(LogMessages().back(), c.message);
    }
  }
}

}  // namespace gatehouse
