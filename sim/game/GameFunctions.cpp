// The game's functions as the host reaches them: registered under their
// signature texts when the game is created, taken away when it goes.

#include "sim/game/GameFunctions.h"

#include <charconv>
#include <string>

#include "host/WeakObjectPtr.h"
#include "sim/framework/SimHost.h"
#include "sim/game/Game.h"

namespace sim {
namespace {

// The game's own pre-login: refuses a banned player, and asks nothing more;
// otherwise refuses when the game session says the server is at capacity (the
// first capacity check of a join).
void GameModePreLogin(AShooterGameMode* game_mode, FString& /*options*/, FString& /*address*/,
                      FUniqueNetIdRepl* unique_id, FString& error_message) {
  Game* game = Game::Current();
  if (game == nullptr || game_mode != game->GameMode()) {
    return;
  }
  const std::string id = unique_id != nullptr ? unique_id->id : std::string();
  if (game->IsBanned(id)) {
    error_message = FString(Game::kBannedMessage);
    return;
  }
  if (game->AskAtCapacity(id)) {
    error_message = FString(Game::kAtCapacityMessage);
  }
}

bool SessionAtCapacity(AGameSession* session, bool /*spectator*/, FString& /*player_id*/,
                       bool /*reconnecting*/, int* /*free_slots*/) {
  Game* game = Game::Current();
  return game != nullptr && session == game->Session() && game->AtCapacity();
}

// The game has counted the player online already; its own post-login has
// nothing more to do here.
void GameModePostLogin(AShooterGameMode* /*game_mode*/, APlayerController* /*controller*/) {}

FString* UniqueNetIdToString(const FUniqueNetIdRepl* unique_id, FString* result) {
  if (unique_id != nullptr && result != nullptr) {
    *result = FStringFromUtf8(unique_id->id);
  }
  return result;
}

FString* GetUniqueNetIdAsString(AShooterPlayerController* controller, FString* result) {
  Game* game = Game::Current();
  AShooterPlayerController* online = game != nullptr ? game->FindController(controller) : nullptr;
  if (online != nullptr && result != nullptr) {
    *result = FStringFromUtf8(online->unique_id.id);
  }
  return result;
}

// Folds ASCII and Latin-1 capitals to small letters (not U+00D7, the
// multiplication sign).
char16_t FoldCase(char16_t unit) {
  if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
    return static_cast<char16_t>(unit + 0x20);
  }
  return unit;
}

int Stricmp(const EngineChar* a, const EngineChar* b) {
  a = a != nullptr ? a : u"";
  b = b != nullptr ? b : u"";
  for (;; ++a, ++b) {
    const int difference = FoldCase(*a) - FoldCase(*b);
    if (difference != 0 || *a == 0) {
      return difference;
    }
  }
}

void KickPlayerController(AShooterGameMode* game_mode, APlayerController* controller,
                          FString& message) {
  Game* game = Game::Current();
  if (game == nullptr || game_mode != game->GameMode()) {
    return;
  }
  game->Kick(controller, ToUtf8(message));
}

void RconSendMessage(RCONClientConnection* connection, int request_id, int type, FString& message) {
  if (connection == nullptr || !connection->reply) {
    return;
  }
  connection->reply(request_id, type, ToUtf8(message));
}

std::string Shortest(float value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

void DirectMessage(AShooterPlayerController* controller, FString& text, FLinearColor color,
                   bool /*from_server*/) {
  Game* game = Game::Current();
  AShooterPlayerController* online = game != nullptr ? game->FindController(controller) : nullptr;
  if (online == nullptr) {
    return;
  }
  const std::string body = ToUtf8(text);
  PrintLine("message " + online->unique_id.id + " [" + Shortest(color.R) + " " + Shortest(color.G) +
            " " + Shortest(color.B) + " " + Shortest(color.A) +
            "]:" + (body.empty() ? "" : " " + body));
}

void WeakAssign(FWeakObjectPtr* weak, UObject* object) {
  Game* game = Game::Current();
  if (weak == nullptr) {
    return;
  }
  *weak = game != nullptr ? game->Objects().WeakOf(object) : FWeakObjectPtr{};
}

UObject* WeakGet(const FWeakObjectPtr* weak) {
  Game* game = Game::Current();
  return game != nullptr && weak != nullptr ? game->Objects().Resolve(*weak) : nullptr;
}

template <class Function>
void* Address(Function* function) {
  return reinterpret_cast<void*>(function);
}

}  // namespace

void Game::RegisterFunctions() {
  pre_login_ =
      RegisterHookable(game::kPreLogin, Address<game::PreLoginFunction>(&GameModePreLogin));
  at_capacity_ =
      RegisterHookable(game::kAtCapacity, Address<game::AtCapacityFunction>(&SessionAtCapacity));
  post_login_ =
      RegisterHookable(game::kPostLogin, Address<game::PostLoginFunction>(&GameModePostLogin));
  RegisterGameFunction(game::kUniqueNetIdToString,
                       Address<game::UniqueNetIdToStringFunction>(&UniqueNetIdToString));
  RegisterGameFunction(game::kGetUniqueNetIdAsString,
                       Address<game::GetUniqueNetIdAsStringFunction>(&GetUniqueNetIdAsString));
  RegisterGameFunction(game::kStricmp, Address<game::StricmpFunction>(&Stricmp));
  RegisterGameFunction(game::kKickPlayerController,
                       Address<game::KickPlayerControllerFunction>(&KickPlayerController));
  RegisterGameFunction(game::kRconSendMessage,
                       Address<game::RconSendMessageFunction>(&RconSendMessage));
  RegisterGameFunction(game::kDirectMessage, Address<game::DirectMessageFunction>(&DirectMessage));
  RegisterGameFunction(game::kWeakAssign, Address<game::WeakAssignFunction>(&WeakAssign));
  RegisterGameFunction(game::kWeakGet, Address<game::WeakGetFunction>(&WeakGet));
}

void Game::UnregisterFunctions() {
  UnregisterHookable(game::kPreLogin);
  UnregisterHookable(game::kAtCapacity);
  UnregisterHookable(game::kPostLogin);
  for (const char* signature : {game::kUniqueNetIdToString, game::kGetUniqueNetIdAsString,
                                game::kStricmp, game::kKickPlayerController, game::kRconSendMessage,
                                game::kDirectMessage, game::kWeakAssign, game::kWeakGet}) {
    UnregisterGameFunction(signature);
  }
}

}  // namespace sim
