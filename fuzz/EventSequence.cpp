// Event sequences decoded from the input: joins, leaves, waits, reloads with
// one of several configurations, group changes, capacity changes, load and
// unload, and the engine allocator failing for a while. The invariant checked
// on top of "no crash, no leak": a kick only ever reaches the login it was
// scheduled for. The game's kick is wrapped: the controller it is given must
// be online, and its login may not receive more kicks than were scheduled
// during its post-login or by a sweep since. Configurations are also written
// without a reload, for ReloadOnChange to find.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzServer.h"
#include "common/Names.h"
#include "sim/framework/SimHost.h"
#include "sim/game/GameFunctions.h"
#include "sim/permissions/PermissionGroups.h"

namespace {

constexpr const char* kConfigurations[] = {
    "{}",
    R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["p0", "P1"], "WhitelistedGroups": ["Vip"],
        "KickTimer": 2, "AuditLog": true})",
    R"({"UseBlacklist": true, "BlacklistedGroups": ["Bad"], "KickTimer": 0,
        "AllowJoinFullServer": false})",
    R"({"OnlyWhitelisted": true, "UseBlacklist": true, "WhitelistedGroups": ["Vip"],
        "BlacklistedGroups": ["Vip", "Bad"], "KickTimer": 1, "KickMessage": "bye",
        "AuditLog": true})",
    R"({"OnlyWhitelisted": true, "KickTimer": -3, "DebugPostLogin": true, "DebugPreLogin": true})",
    R"({"OnlyWhitelisted": "yes", "WhitelistedPlayers": [1], "KickTimer": 1, "AuditLog": 1})",
    R"({"KickTimer": )",
    R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["p0"], "UseBlacklist": true,
        "BlacklistedGroups": ["Bad"], "ReloadOnChange": true, "KickTimer": 1})",
    R"({"ReloadOnChange": 1, "OnlyWhitelisted": true})",
};
constexpr size_t kConfigurationCount = std::size(kConfigurations);
constexpr const char* kGroups[] = {"Vip", "Bad"};

struct Login {
  int scheduled = 0;
  int delivered = 0;
};

// The login each controller belongs to now: a controller's address may be
// reused by a later login, which must never receive an earlier login's kick.
std::map<const APlayerController*, Login> logins;
sim::Game* game = nullptr;
sim::game::KickPlayerControllerFunction* game_kick = nullptr;

[[noreturn]] void Violation(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void CheckedKick(AShooterGameMode* game_mode, APlayerController* controller, FString& message) {
  if (game->FindController(controller) == nullptr) {
    Violation("a kick reached a controller that is not online");
  }
  Login& login = logins[controller];
  if (++login.delivered > login.scheduled) {
    Violation("a login received a kick that was not scheduled for it");
  }
  game_kick(game_mode, controller, message);
}

std::string PlayerId(FuzzedDataProvider& input) {
  return "p" + std::to_string(input.ConsumeIntegralInRange(0, 5));
}

void Join(FuzzedDataProvider& input) {
  const std::string id = PlayerId(input);
  const size_t pending_before = sim::PendingCallables();
  if (game->Join(id) != sim::Game::JoinOutcome::admitted) {
    return;
  }
  const auto* controller = reinterpret_cast<const APlayerController*>(game->FindPlayer(id));
  logins[controller] = {static_cast<int>(sim::PendingCallables() - pending_before), 0};
}

void ChangeConfig(gatehouse::fuzz::Server& server, FuzzedDataProvider& input) {
  const size_t which = input.ConsumeIntegralInRange<size_t>(0, kConfigurationCount);
  if (which == kConfigurationCount) {
    server.DeleteConfig();
  } else {
    server.WriteConfig(kConfigurations[which]);
  }
}

void Reload(gatehouse::fuzz::Server& server, FuzzedDataProvider& input) {
  ChangeConfig(server, input);
  if (input.ConsumeBool() || !server.Console(PlayerId(input), gatehouse::Names::kReloadCommand)) {
    server.Rcon(gatehouse::Names::kReloadCommand);
  }
}

// An operator's command over RCON; a sweep may schedule one kick for each
// login online.
void Operator(gatehouse::fuzz::Server& server, FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      server.Rcon("Gatehouse.Sweep preview");
      break;
    case 1:
      for (const std::string& id : game->Players()) {
        ++logins[reinterpret_cast<const APlayerController*>(game->FindPlayer(id))].scheduled;
      }
      server.Rcon("Gatehouse.Sweep");
      break;
    case 2:
      server.Rcon((input.ConsumeBool() ? "Gatehouse.Add " : "Gatehouse.Remove ") + PlayerId(input));
      break;
    default:
      ChangeConfig(server, input);
      break;
  }
}

void Step(gatehouse::fuzz::Server& server, FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 10)) {
    case 0:
    case 1:
      Join(input);
      break;
    case 2:
      game->Leave(PlayerId(input));
      break;
    case 3:
      sim::AdvanceSeconds(input.ConsumeIntegralInRange(0, 6));
      break;
    case 4:
      Reload(server, input);
      break;
    case 5:
      sim::permissions::AddMember(PlayerId(input), kGroups[input.ConsumeBool()]);
      break;
    case 6:
      sim::permissions::RemoveMember(PlayerId(input), kGroups[input.ConsumeBool()]);
      break;
    case 7:
      game->SetCapacity(input.ConsumeIntegralInRange(0, 4));
      break;
    case 8:
      if (server.Loaded()) {
        server.Unload();
      } else {
        server.Load();
      }
      break;
    case 9:
      Operator(server, input);
      break;
    default:
      // The allocator grants a few more blocks, then fails until the next
      // step: the game's own work fails as well as the plugin's.
      sim::FailAllocationsAfter(input.ConsumeIntegralInRange(0, 8));
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  gatehouse::fuzz::Server server(input.ConsumeIntegralInRange(0, 4));
  game = &server.Game();
  logins.clear();
  game_kick = reinterpret_cast<sim::game::KickPlayerControllerFunction*>(
      AsaApi::GetAddress(sim::game::kKickPlayerController));
  sim::RegisterGameFunction(sim::game::kKickPlayerController,
                            reinterpret_cast<void*>(&CheckedKick));
  server.WriteConfig(kConfigurations[1]);
  server.Load();
  int steps = 0;
  for (; steps < 256 && input.remaining_bytes() > 0; ++steps) {
    try {
      Step(server, input);
    } catch (const std::bad_alloc&) {
      // The game's own work ran out of blocks: the simulator reports that
      // command as failed and goes on.
    }
    sim::FailAllocationsAfter(std::nullopt);
  }
  sim::AdvanceSeconds(60);
  gatehouse::fuzz::Count("events", static_cast<uint64_t>(steps));
  return 0;
}
