#pragma once

#include <functional>

#include "host/EngineTypes.h"
#include "host/FString.h"

using ConsoleCommandCallback = std::function<void(APlayerController*, FString*, bool)>;
using RconCommandCallback = std::function<void(RCONClientConnection*, RCONPacket*, UWorld*)>;

namespace AsaApi {

// The host's command service. The host keeps its own copies of the names and
// callables; a command line is matched on its first word, ignoring case.
// Adding a command answers nothing: a host that refuses one throws, and the
// exception need not be of the standard family.
class ICommands {
 public:
  virtual ~ICommands() = default;
  virtual void AddConsoleCommand(const FString& command,
                                 const ConsoleCommandCallback& callback) = 0;
  virtual void AddRconCommand(const FString& command, const RconCommandCallback& callback) = 0;
  virtual bool RemoveConsoleCommand(const FString& command) = 0;
  virtual bool RemoveRconCommand(const FString& command) = 0;
};

ICommands& GetCommands();

}  // namespace AsaApi
