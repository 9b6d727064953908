#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sim/game/EngineObjects.h"
#include "sim/game/ObjectTable.h"

namespace sim {

// The simulated game: game mode, game session, world, the players online and
// the engine's object table. Constructing it registers the game's functions
// (sim/game/GameFunctions.h) with the host and sets the host's game mode;
// destroying it takes them away again. One game exists at a time.
//
// Its lines ("join ID: admitted", "kick ID: ...", ...) go through
// sim::PrintLine, so a test captures them with sim::SetOutputWriter.
class Game {
 public:
  static constexpr int32_t kDefaultCapacity = 70;
  static constexpr const char* kAtCapacityMessage = "Server is at capacity.";
  static constexpr const char* kBannedMessage = "You are banned from this server.";

  explicit Game(int32_t capacity = kDefaultCapacity);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The game that exists now, or null.
  static Game* Current();

  enum class JoinOutcome { admitted, refused, already_online };
  // The join protocol: pre-login, the capacity checks, the controller, the
  // post-login, each called through the hook table. Prints "join ID: admitted"
  // or "join ID: refused: MESSAGE"; a player already online is not joined again.
  JoinOutcome Join(const std::string& id);
  // Prints "leave ID" and destroys the controller. False for a player not online.
  bool Leave(const std::string& id);
  // Prints "kick ID: MESSAGE" and destroys the controller. False for a
  // controller that is not online (a stale pointer is never followed).
  bool Kick(const APlayerController* controller, const std::string& message_utf8);

  // The game's own pre-login refuses a banned player before it asks about
  // capacity. Banning changes nothing for a player already online. Unban is
  // false for an id that is not banned.
  void Ban(const std::string& id) { banned_.insert(id); }
  bool Unban(const std::string& id) { return banned_.erase(id) > 0; }
  bool IsBanned(const std::string& id) const { return banned_.count(id) > 0; }

  void SetCapacity(int32_t capacity) { capacity_ = capacity; }
  bool AtCapacity() const { return static_cast<int64_t>(players_.size()) >= capacity_; }

  // The ids online, in join order.
  std::vector<std::string> Players() const;
  // "players N/CAPACITY: ID ID ..."
  std::string PlayersLine() const;

  AShooterPlayerController* FindPlayer(const std::string& id) const;
  // The controller if it is online, found by address without following it.
  AShooterPlayerController* FindController(const APlayerController* controller) const;

  AShooterGameMode* GameMode() { return &game_mode_; }
  AGameSession* Session() { return &session_; }
  UWorld* World() { return &world_; }
  ObjectTable& Objects() { return objects_; }

  // The game's own functions, as the hook table's originals and through
  // GetAddress.
  bool AskAtCapacity(const std::string& id);

 private:
  struct Player {
    std::string id;
    std::unique_ptr<AShooterPlayerController> controller;
  };

  void RegisterFunctions();
  void UnregisterFunctions();
  void Remove(AShooterPlayerController* controller);

  int32_t capacity_;
  AShooterGameMode game_mode_;
  AGameSession session_;
  UWorld world_;
  ObjectTable objects_;
  std::vector<Player> players_;
  std::set<std::string> banned_;

  void* const* pre_login_ = nullptr;
  void* const* at_capacity_ = nullptr;
  void* const* post_login_ = nullptr;
};

}  // namespace sim
