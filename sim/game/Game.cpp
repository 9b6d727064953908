#include "sim/game/Game.h"

#include <algorithm>
#include <stdexcept>

#include "sim/framework/SimHost.h"
#include "sim/game/GameFunctions.h"

namespace sim {
namespace {

Game* current_game = nullptr;

}  // namespace

Game::Game(int32_t capacity) : capacity_(capacity) {
  if (current_game != nullptr) {
    throw std::logic_error("a game exists already");
  }
  current_game = this;
  objects_.Add(&world_);
  objects_.Add(&game_mode_);
  objects_.Add(&session_);
  RegisterFunctions();
  SetGameMode(&game_mode_);
}

Game::~Game() {
  SetGameMode(nullptr);
  UnregisterFunctions();
  current_game = nullptr;
}

Game* Game::Current() {
  return current_game;
}

bool Game::AskAtCapacity(const std::string& id) {
  FString player_id = FStringFromUtf8(id);
  int free_slots = 0;
  return HookedFunction<game::AtCapacityFunction>(at_capacity_)(&session_, false, player_id, false,
                                                                &free_slots);
}

Game::JoinOutcome Game::Join(const std::string& id) {
  if (FindPlayer(id) != nullptr) {
    return JoinOutcome::already_online;
  }
  FString options("");
  FString address("127.0.0.1");
  FString error_message;
  FUniqueNetIdRepl unique_id{id};
  HookedFunction<game::PreLoginFunction>(pre_login_)(&game_mode_, options, address, &unique_id,
                                                     error_message);
  if (error_message.IsEmpty() && AskAtCapacity(id)) {
    error_message = FString(kAtCapacityMessage);
  }
  if (!error_message.IsEmpty()) {
    PrintLine("join " + id + ": refused: " + ToUtf8(error_message));
    return JoinOutcome::refused;
  }
  auto controller = std::make_unique<AShooterPlayerController>();
  controller->unique_id.id = id;
  AShooterPlayerController* joined = controller.get();
  objects_.Add(joined);
  players_.push_back({id, std::move(controller)});
  HookedFunction<game::PostLoginFunction>(post_login_)(&game_mode_, joined);
  PrintLine("join " + id + ": admitted");
  return JoinOutcome::admitted;
}

bool Game::Leave(const std::string& id) {
  AShooterPlayerController* player = FindPlayer(id);
  if (player == nullptr) {
    return false;
  }
  PrintLine("leave " + id);
  Remove(player);
  return true;
}

bool Game::Kick(const APlayerController* controller, const std::string& message_utf8) {
  AShooterPlayerController* player = FindController(controller);
  if (player == nullptr) {
    return false;
  }
  PrintLine("kick " + player->unique_id.id + ":" +
            (message_utf8.empty() ? "" : " " + message_utf8));
  Remove(player);
  return true;
}

void Game::Remove(AShooterPlayerController* controller) {
  objects_.Remove(controller);
  std::erase_if(players_, [&](const Player& p) { return p.controller.get() == controller; });
}

std::vector<std::string> Game::Players() const {
  std::vector<std::string> ids(players_.size());
  std::ranges::transform(players_, ids.begin(), &Player::id);
  return ids;
}

std::string Game::PlayersLine() const {
  std::string line =
      "players " + std::to_string(players_.size()) + "/" + std::to_string(capacity_) + ":";
  for (const auto& player : players_) {
    line += " " + player.id;
  }
  return line;
}

AShooterPlayerController* Game::FindPlayer(const std::string& id) const {
  const auto player = std::ranges::find(players_, id, &Player::id);
  return player != players_.end() ? player->controller.get() : nullptr;
}

AShooterPlayerController* Game::FindController(const APlayerController* controller) const {
  const auto player = std::find_if(players_.begin(), players_.end(), [&](const Player& p) {
    return p.controller.get() == controller;
  });
  return player != players_.end() ? player->controller.get() : nullptr;
}

}  // namespace sim
