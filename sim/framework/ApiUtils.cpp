// The utilities service: the running game mode and each plugin's messaging
// object, which shows texts to players through the game's own chat function.

#include <map>
#include <memory>
#include <string>

#include "host/ApiUtils.h"
#include "host/GameFunction.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

// The game's direct chat message to one player; the game registers it.
constexpr const char* kDirectMessageSignature =
    "AShooterPlayerController.ClientServerChatDirectMessage(FString&,FLinearColor,bool)";
using DirectMessageFunction = void(AShooterPlayerController*, FString&, FLinearColor, bool);

class MessagingManager final : public AsaApi::IMessagingManager {
 public:
  void SendServerMessage(AShooterPlayerController* player, FLinearColor color,
                         const FString& text) override {
    // A missing chat function is logged by the lookup; the text is lost.
    void* address = AsaApi::GetAddress(kDirectMessageSignature);
    if (address == nullptr) {
      return;
    }
    FString message(text);
    reinterpret_cast<DirectMessageFunction*>(address)(player, message, color, false);
  }
};

class ApiUtils final : public AsaApi::IApiUtils {
 public:
  AShooterGameMode* GetShooterGameMode() const override { return game_mode; }

  std::shared_ptr<AsaApi::IMessagingManager> GetMessagingManager(
      const FString& library_path) const override {
    auto& manager = managers[ToUtf8(library_path)];
    if (!manager) {
      manager = std::make_shared<MessagingManager>();
    }
    return manager;
  }

  AShooterGameMode* game_mode = nullptr;
  mutable std::map<std::string, std::shared_ptr<AsaApi::IMessagingManager>> managers;
};

constexpr auto& TheUtils = NeverDestroyed<ApiUtils>;

}  // namespace

void SetGameMode(AShooterGameMode* game_mode) {
  TheUtils().game_mode = game_mode;
}

void ClearApiUtils() {
  TheUtils().game_mode = nullptr;
  TheUtils().managers.clear();
}

}  // namespace sim

AsaApi::IApiUtils& AsaApi::GetApiUtils() {
  return sim::TheUtils();
}
