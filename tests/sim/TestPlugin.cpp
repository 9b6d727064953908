// A minimal plugin that proves the simulator's loading path: on load it installs
// a post-login hook, adds a console command and an RCON command and schedules a
// callable far ahead; on unload it takes the command and hook away again
// (unless GATEHOUSE_TEST_PLUGIN_LEAVE is set, to play a plugin that forgets).
// The pending callable is left to the host, which must drop it before the
// library goes.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/Commands.h"
#include "host/FString.h"
#include "host/Hooks.h"
#include "host/Timer.h"
#include "platform/Platform.h"

namespace {

constexpr const char* kPostLogin = "AShooterGameMode.PostLogin(APlayerController*)";
constexpr const char* kCommand = "Test.Ping";

using PostLoginFunction = void(AShooterGameMode*, APlayerController*);
PostLoginFunction* post_login_original = nullptr;

void Say(const char* text) {
  std::printf("test plugin: %s\n", text);
  std::fflush(stdout);
}

void PostLoginHook(AShooterGameMode* game_mode, APlayerController* controller) {
  post_login_original(game_mode, controller);
  Say("post-login");
}

void Ping(APlayerController* /*player*/, FString* /*line*/, bool /*log*/) {
  Say("pong");
}

void RconPing(RCONClientConnection* /*connection*/, RCONPacket* /*packet*/, UWorld* /*world*/) {
  Say("rcon pong");
}

struct Entry {
  Entry() {
    SetHook(kPostLogin, &PostLoginHook, &post_login_original);
    AsaApi::GetCommands().AddConsoleCommand(FString(kCommand), &Ping);
    AsaApi::GetCommands().AddRconCommand(FString(kCommand), &RconPing);
    const std::string path = gatehouse::Platform::OwnLibraryPath();
    API::Timer::Get().DelayExecuteInternal([] { Say("timer"); }, 1000, path + "_0", path);
  }

  ~Entry() {
    if (std::getenv("GATEHOUSE_TEST_PLUGIN_LEAVE") != nullptr) {
      return;
    }
    AsaApi::GetCommands().RemoveRconCommand(FString(kCommand));
    AsaApi::GetCommands().RemoveConsoleCommand(FString(kCommand));
    DisableHook(kPostLogin, &PostLoginHook);
  }
} entry;

}  // namespace
