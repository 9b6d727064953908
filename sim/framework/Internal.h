#pragma once

// What the framework's parts call of each other; not for the simulator or tests.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

// The one object of this type, made at its first use and never destroyed: the
// framework's state serves plugins and static objects to the process's end.
template <class T>
T& NeverDestroyed() {
  static T* const only = new T();
  return *only;
}

inline constexpr const char* kMallocSignature = "FMemory.Malloc(unsigned__int64,unsignedint)";
inline constexpr const char* kFreeSignature = "FMemory.Free(void*)";

void* EngineMalloc(uint64_t size, uint32_t alignment);
void EngineFree(void* block);

// Runs code a plugin handed over: whatever it throws is the plugin's fault,
// logged as "WHAT failed[: why]", and the server goes on.
void RunContained(const std::string& what, const std::function<void()>& run);

// The server's folder moved: the log file follows it.
void MoveLogTo(const std::string& dir);

// Hooks counted as a library's (see sim::SetLoadingLibrary).
void SetHooksOwner(const std::string& library_path);
std::vector<std::string> RemoveLeftoverHooks(const std::string& library_path);
bool HasHooksOf(const std::string& library_path);

// Parts of a host reset that live in other files.
void ClearGameFunctions();
void ClearHooks();
void ClearCommands();
void ClearTimer();
void ClearApiUtils();
void ResetTools();
void ClearFaults();
void ShowAllGameFunctions();

}  // namespace sim
