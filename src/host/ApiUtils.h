#pragma once

#include <memory>

#include "host/EngineTypes.h"
#include "host/FString.h"

namespace AsaApi {

// Shows texts to players on behalf of one plugin.
class IMessagingManager {
 public:
  virtual ~IMessagingManager() = default;
  virtual void SendServerMessage(AShooterPlayerController* player, FLinearColor color,
                                 const FString& text) = 0;
};

class IApiUtils {
 public:
  virtual ~IApiUtils() = default;
  // The running game mode; null while there is none.
  virtual AShooterGameMode* GetShooterGameMode() const = 0;
  // The messaging object of the plugin whose library file has this full path.
  virtual std::shared_ptr<IMessagingManager> GetMessagingManager(
      const FString& library_path) const = 0;
};

IApiUtils& GetApiUtils();

}  // namespace AsaApi
