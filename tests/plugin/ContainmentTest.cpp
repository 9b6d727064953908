// Every place where the host calls into the plugin is a containment boundary:
// whatever is thrown there, of the standard family or not, ends as one error
// record and the host goes on. Registrations the host refuses are named on the
// log, and the plugin still makes the others.

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <spdlog/spdlog.h>

#include "PluginTest.h"
#include "config/ReloadCommands.h"
#include "plugin/Lifecycle.h"
#include "sim/framework/SimHost.h"
#include "sim/game/EngineObjects.h"
#include "sim/game/GameFunctions.h"

namespace gatehouse {

namespace {

// A game function that fails with something no standard handler catches.
struct NotAStandardError {};

FString* ThrowingToString(const void*, FString*) {
  throw NotAStandardError{};
}
void ThrowingKick(AShooterGameMode*, APlayerController*, FString&) {
  throw NotAStandardError{};
}
void ThrowingSend(RCONClientConnection*, int, int, FString&) {
  throw NotAStandardError{};
}
void ThrowingDirectMessage(AShooterPlayerController*, FString&, FLinearColor, bool) {
  throw NotAStandardError{};
}

template <class Function>
void Replace(const char* signature, Function* function) {
  sim::RegisterGameFunction(signature, reinterpret_cast<void*>(function));
}

}  // namespace

using Containment = PluginTest;

TEST_F(Containment, HooksKickAndReloadsContainAnyException) {
  LoadPlugin(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  void* const to_string = AsaApi::GetAddress(sim::game::kUniqueNetIdToString);
  void* const as_string = AsaApi::GetAddress(sim::game::kGetUniqueNetIdAsString);

  Replace(sim::game::kUniqueNetIdToString, &ThrowingToString);
  Replace(sim::game::kGetUniqueNetIdAsString, &ThrowingToString);
  CapturingConsole([&] { EXPECT_EQ(Game().Join("alice"), sim::Game::JoinOutcome::admitted); });

  sim::RegisterGameFunction(sim::game::kUniqueNetIdToString, to_string);
  sim::RegisterGameFunction(sim::game::kGetUniqueNetIdAsString, as_string);
  CapturingConsole([&] { Game().Join("bob"); });
  Replace(sim::game::kKickPlayerController, &ThrowingKick);
  sim::AdvanceSeconds(1);
  EXPECT_NE(Game().FindPlayer("bob"), nullptr);

  Replace(sim::game::kRconSendMessage, &ThrowingSend);
  RCONClientConnection connection;
  RCONPacket packet;
  RconReload(&connection, &packet, Game().World());
  Replace(sim::game::kDirectMessage, &ThrowingDirectMessage);
  ConsoleReload(Game().FindPlayer("alice"), nullptr, false);

  EXPECT_EQ(LogMessages(), (std::vector<std::string>{
                               "PreLoginHook: unknown error",
                               "PostLoginHook: unknown error",
                               "KickPlayer: unknown error",
                               "Failed to read config! unknown error",
                               "Failed to read config! unknown error",
                           }));
}

// The host answers false for a hook and throws (not a standard exception) for
// a command: each refusal is one record naming what is missing, and the rest
// is registered all the same.
TEST_F(Containment, RefusedRegistrationsAreNamedAndTheRestGoesAhead) {
  WriteConfig(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  sim::RefuseRegistration("Gatehouse.Reload");
  sim::RefuseRegistration(sim::game::kPostLogin);
  LoadPlugin();
  EXPECT_EQ(LogMessages(),
            (std::vector<std::string>{
                "Load: cannot register the RCON command Gatehouse.Reload",
                "Load: cannot register the console command Gatehouse.Reload",
                "Load: the host refused the hook AShooterGameMode.PostLogin(APlayerController*)",
            }));
  EXPECT_EQ(sim::HookCount(sim::game::kPreLogin), 1u);
  EXPECT_EQ(sim::HookCount(sim::game::kPostLogin), 0u);
  EXPECT_EQ(sim::HookCount(sim::game::kAtCapacity), 1u);
}

// With the engine allocator out of blocks, starting and stopping the plugin
// and a pending kick each end on the log; nothing is written through null.
TEST_F(Containment, AllocatorFailureIsContained) {
  LoadPlugin(R"({"OnlyWhitelisted": true, "KickTimer": 1})");
  CapturingConsole([&] { Game().Join("bob"); });
  sim::FailAllocationsAfter(0);
  sim::AdvanceSeconds(1);
  UnloadPlugin();
  LoadPlugin();
  sim::FailAllocationsAfter(std::nullopt);
  EXPECT_NE(Game().FindPlayer("bob"), nullptr);
  // The kick, each of the seven removals, then every registration of the load.
  std::vector<std::string> expected = {"KickPlayer: std::bad_alloc"};
  expected.insert(expected.end(), 7, "Unload: std::bad_alloc");
  for (const char* registration :
       {"RCON command Gatehouse.Reload", "console command Gatehouse.Reload",
        "RCON command Gatehouse.Explain", "RCON command Gatehouse.Status",
        "RCON command Gatehouse.Add", "RCON command Gatehouse.Remove",
        "RCON command Gatehouse.Sweep"}) {
    expected.push_back(std::string("Load: cannot register the ") + registration +
                       ": std::bad_alloc");
  }
  EXPECT_EQ(LogMessages(), expected);
}

}  // namespace gatehouse
