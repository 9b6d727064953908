#pragma once

namespace gatehouse {

// The names under which the plugin meets the host: its own name (the log
// channel's name and the folder of its configuration), its commands and the game
// functions it hooks. Each is written here once.
namespace Names {

constexpr char kPlugin[] = "Gatehouse";
constexpr char kReloadCommand[] = "Gatehouse.Reload";
// The operator's commands, over RCON only.
constexpr char kExplainCommand[] = "Gatehouse.Explain";
constexpr char kStatusCommand[] = "Gatehouse.Status";
constexpr char kAddCommand[] = "Gatehouse.Add";
constexpr char kRemoveCommand[] = "Gatehouse.Remove";
constexpr char kSweepCommand[] = "Gatehouse.Sweep";

constexpr char kPreLoginTarget[] =
    "AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)";
constexpr char kPostLoginTarget[] = "AShooterGameMode.PostLogin(APlayerController*)";
constexpr char kAtCapacityTarget[] = "AGameSession.AtCapacity(bool,FString&,bool,int*)";

}  // namespace Names

}  // namespace gatehouse
