#pragma once

// What the simulated server, the game model and the in-process tests need of the
// host framework beyond the plugin's view of it (src/host). Nothing here is
// visible to the plugin.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Commands.h"
#include "host/EngineTypes.h"
#include "host/FString.h"

namespace sim {

// ---- Output ---------------------------------------------------------------
// Every line of the simulated server goes through these writers, so that tests
// can capture them. The default writers use C stdio (standard output, standard
// error) and flush after each line: the plugin's console lines go to C stdout
// too, and both must come out in the order in which they happen.
using LineWriter = std::function<void(std::string_view line)>;

// A null writer restores the default.
void SetOutputWriter(LineWriter writer);
void SetErrorWriter(LineWriter writer);

// One line on standard output (without its line end).
void PrintLine(std::string_view line);
// "error: WHAT" on standard error.
void PrintError(std::string_view what);

// With tracing on, every call that a plugin makes to the hook, command and timer
// services shows as a "host: WHAT" line on standard output.
void SetTrace(bool on);
void Trace(std::string_view what);

// ---- The host's own log ---------------------------------------------------
// Records of the host itself, laid out as "%D %R [host][LEVEL] TEXT" and written
// to the shared log sinks (standard error and DIR/ArkApi/Logs/server.log).
enum class LogLevel { info, warning, error };
void HostLog(LogLevel level, std::string_view text);

// ---- Game functions -------------------------------------------------------
// The table behind AsaApi::GetAddress. Registering a text again replaces it.
void RegisterGameFunction(const std::string& signature, void* address);
void UnregisterGameFunction(const std::string& signature);

// A hookable game function: the game calls it through the returned slot, which
// holds the game's own function until a hook redirects it. The slot's address
// stays valid until UnregisterHookable. The function is also reachable through
// GetAddress (its own entry, unhooked). Hooks still installed when it is
// unregistered are dropped.
void* const* RegisterHookable(const std::string& signature, void* original);
void UnregisterHookable(const std::string& signature);

// The slot of a hookable game function, typed.
template <class Function>
Function* HookedFunction(void* const* slot) {
  return reinterpret_cast<Function*>(*slot);
}

// The hooks installed on a target, bottom first (for tests).
size_t HookCount(const std::string& signature);

// ---- Commands ---------------------------------------------------------------
// Runs the console command whose name is the first word of the line (matched
// ignoring case) for this player. False when no such command is registered.
bool DispatchConsoleCommand(APlayerController* player, const FString& line);
// The same for RCON, on the packet's body.
bool DispatchRconCommand(RCONClientConnection* connection, RCONPacket& packet, UWorld* world);

// ---- Timer ----------------------------------------------------------------
enum class ClockMode { virtual_time, real_time };
// Sets the clock's kind and starts it at zero.
void SetClockMode(ClockMode mode);
ClockMode GetClockMode();
// Milliseconds since the clock started.
int64_t NowMilliseconds();
// Virtual clock: how far it may still move, in seconds. It ends early enough
// that a callable scheduled at its last moment with the longest delay is still
// due at a time it can count to (0 for the real clock).
int64_t SecondsLeftOnClock();
// Virtual clock: moves the clock forward by this many seconds (at most the
// seconds left on it), running each callable whose due time it reaches, in due
// order. Also `wait 0`: runs what is due now. Ignored by the real clock.
void AdvanceSeconds(int64_t seconds);
// One timer pass at the current time: runs the callables due by now that were
// scheduled before the pass began (the real clock's pass).
void RunDueCallables();
// Milliseconds until the next callable is due (0 when one is due now), or
// nothing while none is pending.
std::optional<int64_t> MillisecondsUntilNextDue();
size_t PendingCallables();
// Drops every pending callable that code of this library scheduled (the
// library as the platform loader's handle names it), whatever its tag says,
// without running it. Must happen before the library is closed: the
// callables' code lives in it.
size_t DropCallablesOf(void* library_handle);

// ---- Utilities ------------------------------------------------------------
void SetGameMode(AShooterGameMode* game_mode);
void SetCurrentDir(const std::string& dir);
void SetPermissionsLibraryPath(const std::string& path);

// The engine allocator's blocks that were handed out and not yet freed.
int64_t LiveEngineBlocks();

// ---- Text -----------------------------------------------------------------
// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);
std::string ToUtf8(const FString& text);
// UTF-8 as an engine string (invalid sequences become U+FFFD).
FString FStringFromUtf8(std::string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
// The length of the valid UTF-8 sequence that starts the (non-empty) text, or
// 0 when its first byte starts none.
size_t Utf8SequenceLength(std::string_view text);

// ---- Ownership --------------------------------------------------------------
// The library whose code the loader is running or has loaded last: commands and
// hooks registered while it is set are counted as that library's, so that the
// loader can report (and take away) what an unloaded library left behind.
void SetLoadingLibrary(const std::string& library_path);
struct LeftBehind {
  std::vector<std::string> console_commands;
  std::vector<std::string> rcon_commands;
  std::vector<std::string> hooks;
};
// Whether this library has any command or hook registered now.
bool HasRegistrations(const std::string& library_path);
// Takes away the commands and hooks still registered by this library, without
// calling into its code (which may already be gone), and names them.
LeftBehind RemoveLeftoversOf(const std::string& library_path);

// ---- Faults -----------------------------------------------------------------
// Failures of the host and the game, brought on at will, so that what a plugin
// does when it meets them can be watched. A host reset clears them all.

// The host refuses to install a hook on this target, or to add a console or
// RCON command of this name (matched exactly): SetHookInternal answers false,
// AddConsoleCommand and AddRconCommand throw RefusedRegistration. Until allowed.
struct RefusedRegistration {
  std::string name;
};
void RefuseRegistration(const std::string& name);
void AllowRegistration(const std::string& name);
bool IsRefused(std::string_view name);

// The engine allocator grants this many more blocks, then answers null to
// every request; nothing: it never fails (the default).
void FailAllocationsAfter(std::optional<int64_t> granted);

// GetAddress answers null for this signature until it is restored. Hooks on
// the function and the game's own calls of it are not affected.
void HideGameFunction(const std::string& signature);
void RestoreGameFunction(const std::string& signature);

// ---- Tests ----------------------------------------------------------------
// Back to a fresh host: no commands, hooks, pending callables, game functions
// other than the allocator, game mode or messaging objects; virtual clock at 0;
// default writers; tracing off; no faults. Live blocks are not reset: they are the leak
// count.
void ResetHost();

}  // namespace sim
