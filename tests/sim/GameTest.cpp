#include <string>

#include "host/ApiUtils.h"
#include "host/GameFunction.h"
#include "host/Hooks.h"
#include "host/WeakObjectPtr.h"
#include "sim/game/Game.h"
#include "sim/game/GameFunctions.h"
#include "tests/sim/HostFixture.h"

namespace {

using namespace sim::game;

// What the hooks below saw and how they answer.
struct Seen {
  int capacity_checks = 0;
  bool room_for_everyone = false;
  std::string options, address, id_text, error_message;
  int post_logins = 0;
  bool controller_online_at_post_login = false;
};
Seen seen;

AtCapacityFunction* at_capacity_original = nullptr;
PreLoginFunction* pre_login_original = nullptr;
PostLoginFunction* post_login_original = nullptr;

bool CountingAtCapacity(AGameSession* session, bool spectator, FString& id, bool reconnecting,
                        int* free_slots) {
  ++seen.capacity_checks;
  if (seen.room_for_everyone) {
    return false;
  }
  return at_capacity_original(session, spectator, id, reconnecting, free_slots);
}

void RecordingPreLogin(AShooterGameMode* game_mode, FString& options, FString& address,
                       FUniqueNetIdRepl* unique_id, FString& error_message) {
  seen.options = sim::ToUtf8(options);
  seen.address = sim::ToUtf8(address);
  FString id_text;
  GameFunction<UniqueNetIdToStringFunction>(kUniqueNetIdToString)(unique_id, &id_text);
  seen.id_text = sim::ToUtf8(id_text);
  pre_login_original(game_mode, options, address, unique_id, error_message);
  seen.error_message = sim::ToUtf8(error_message);
}

void RefusingPreLogin(AShooterGameMode*, FString&, FString&, FUniqueNetIdRepl*,
                      FString& error_message) {
  error_message = FString("Banned.");
}

void RecordingPostLogin(AShooterGameMode* game_mode, APlayerController* controller) {
  ++seen.post_logins;
  seen.controller_online_at_post_login = sim::Game::Current()->FindController(controller);
  post_login_original(game_mode, controller);
}

class GameTest : public HostFixture {
 protected:
  void SetUp() override { seen = Seen{}; }

  sim::Game game{1};
};

TEST_F(GameTest, EveryJoinAsksTwiceThroughTheCapacityHookAndAHookMayAnswerForBoth) {
  ASSERT_TRUE(SetHook(kAtCapacity, &CountingAtCapacity, &at_capacity_original));
  EXPECT_EQ(game.Join("alice"), sim::Game::JoinOutcome::admitted);
  EXPECT_EQ(seen.capacity_checks, 2);

  // Full: the first check refuses at pre-login, and there is no second.
  EXPECT_EQ(game.Join("bob"), sim::Game::JoinOutcome::refused);
  EXPECT_EQ(seen.capacity_checks, 3);
  EXPECT_EQ(lines, (std::vector<std::string>{"join alice: admitted",
                                             "join bob: refused: Server is at capacity."}));
  seen.room_for_everyone = true;
  EXPECT_EQ(game.Join("bob"), sim::Game::JoinOutcome::admitted);
  EXPECT_EQ(game.PlayersLine(), "players 2/1: alice bob");
}

TEST_F(GameTest, LoginHooksGetTheJoinsArgumentsAndTheControllerOnline) {
  ASSERT_TRUE(SetHook(kPreLogin, &RecordingPreLogin, &pre_login_original));
  ASSERT_TRUE(SetHook(kPostLogin, &RecordingPostLogin, &post_login_original));
  game.Join("alice");
  EXPECT_EQ(seen.options, "");
  EXPECT_EQ(seen.address, "127.0.0.1");
  EXPECT_EQ(seen.id_text, "alice");
  EXPECT_EQ(seen.error_message, "");
  EXPECT_EQ(seen.post_logins, 1);
  EXPECT_TRUE(seen.controller_online_at_post_login);
}

TEST_F(GameTest, AnErrorMessageSetAtPreLoginRefusesTheJoin) {
  ASSERT_TRUE(SetHook(kPreLogin, &RefusingPreLogin, &pre_login_original));
  EXPECT_EQ(game.Join("alice"), sim::Game::JoinOutcome::refused);
  EXPECT_EQ(lines, std::vector<std::string>{"join alice: refused: Banned."});
  EXPECT_TRUE(game.Players().empty());
}

TEST_F(GameTest, ABannedPlayerIsRefusedBeforeAnyCapacityCheckUntilUnbanned) {
  ASSERT_TRUE(SetHook(kAtCapacity, &CountingAtCapacity, &at_capacity_original));
  game.Ban("alice");
  EXPECT_EQ(game.Join("alice"), sim::Game::JoinOutcome::refused);
  EXPECT_EQ(seen.capacity_checks, 0);
  EXPECT_TRUE(game.Unban("alice"));
  EXPECT_FALSE(game.Unban("alice"));
  EXPECT_EQ(game.Join("alice"), sim::Game::JoinOutcome::admitted);
  // A ban leaves a player who is online where it is.
  game.Ban("alice");
  EXPECT_EQ(game.Players(), std::vector<std::string>{"alice"});
  EXPECT_EQ(lines,
            (std::vector<std::string>{"join alice: refused: You are banned from this server.",
                                      "join alice: admitted"}));
}

TEST_F(GameTest, AWeakReferenceToADestroyedControllerReadsAsGone) {
  game.SetCapacity(10);
  game.Join("alice");
  auto* alice = game.FindPlayer("alice");
  const FWeakObjectPtr weak = FWeakObjectPtr::To(AsObject(alice));
  EXPECT_EQ(weak.Get(), AsObject(alice));

  game.Leave("alice");
  EXPECT_EQ(weak.Get(), nullptr);
  // A newcomer takes the freed slot; the old reference still reads as gone.
  game.Join("bob");
  EXPECT_EQ(weak.Get(), nullptr);
  EXPECT_NE(FWeakObjectPtr::To(AsObject(game.FindPlayer("bob"))).Get(), nullptr);
}

TEST_F(GameTest, KickPrintsTheMessageRemovesThePlayerAndIgnoresAControllerThatIsGone) {
  game.SetCapacity(10);
  game.Join("alice");
  game.Join("bob");
  auto* kick = GameFunction<KickPlayerControllerFunction>(kKickPlayerController);
  auto* game_mode = AsaApi::GetApiUtils().GetShooterGameMode();
  APlayerController* alice = game.FindPlayer("alice");
  FString message("Bye.");
  kick(game_mode, alice, message);
  FString empty;
  kick(game_mode, game.FindPlayer("bob"), empty);
  kick(game_mode, alice, message);
  kick(nullptr, alice, message);
  EXPECT_EQ(lines, (std::vector<std::string>{"join alice: admitted", "join bob: admitted",
                                             "kick alice: Bye.", "kick bob:"}));
  EXPECT_TRUE(game.Players().empty());
}

TEST_F(GameTest, TextFunctionsFollowTheReturnedObjectConvention) {
  game.Join("jörg");
  auto* controller = game.FindPlayer("jörg");
  FString id;
  FString* returned =
      GameFunction<GetUniqueNetIdAsStringFunction>(kGetUniqueNetIdAsString)(controller, &id);
  EXPECT_EQ(returned, &id);
  EXPECT_EQ(sim::ToUtf8(id), "jörg");
  EXPECT_EQ(id.Len(), 4);
}

TEST_F(GameTest, StricmpFoldsAsciiAndLatinLetters) {
  auto* stricmp = GameFunction<StricmpFunction>(kStricmp);
  EXPECT_EQ(stricmp(u"JÖRG", u"jörg"), 0);
  EXPECT_NE(stricmp(u"alice", u"alice "), 0);
  EXPECT_LT(stricmp(u"a", u"B"), 0);
  EXPECT_NE(stricmp(u"\u00D7", u"\u00F7"), 0);
}

TEST_F(GameTest, MessagesShowTheColourInShortestForm) {
  game.Join("alice");
  auto messaging = AsaApi::GetApiUtils().GetMessagingManager(FString("/plugins/a.so"));
  auto* alice = game.FindPlayer("alice");
  messaging->SendServerMessage(alice, FLinearColor{0, 1, 0.5f, 1}, FString("Reloaded Config!"));
  messaging->SendServerMessage(alice, FLinearColor{0.25f, 0, 0, 1}, FString(""));
  EXPECT_EQ(lines[1], "message alice [0 1 0.5 1]: Reloaded Config!");
  EXPECT_EQ(lines[2], "message alice [0.25 0 0 1]:");
}

TEST(GameLifetime, DestroyingTheGameTakesItsFunctionsAway) {
  sim::ResetHost();
  {
    sim::Game game;
    EXPECT_NE(AsaApi::GetAddress(kKickPlayerController), nullptr);
    EXPECT_EQ(AsaApi::GetApiUtils().GetShooterGameMode(), game.GameMode());
  }
  EXPECT_EQ(AsaApi::GetApiUtils().GetShooterGameMode(), nullptr);
  EXPECT_FALSE(SetHook(kPostLogin, &RecordingPostLogin, &post_login_original));
  sim::ResetHost();
}

}  // namespace
