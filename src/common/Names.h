#pragma once

namespace gatehouse {

// The names under which the plugin meets the host: its own name (the log
// channel's name and the folder of its configuration), its command and the game
// functions it hooks. Each is written here once.
namespace Names {

constexpr char kPlugin[] = "Gatehouse";
constexpr char kReloadCommand[] = "Gatehouse.Reload";

constexpr char kPreLoginTarget[] =
    "AShooterGameMode.PreLogin(FString&,FString&,FUniqueNetIdRepl&,FString&)";
constexpr char kPostLoginTarget[] = "AShooterGameMode.PostLogin(APlayerController*)";
constexpr char kAtCapacityTarget[] = "AGameSession.AtCapacity(bool,FString&,bool,int*)";

}  // namespace Names

}  // namespace gatehouse
