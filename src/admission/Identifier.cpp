#include "admission/Identifier.h"

#include "host/GameFunction.h"

namespace gatehouse {

// Game functions that return an FString fill the result passed right after
// their object and return it; the filled result is what counts.

FString GetIdentifier(const FUniqueNetIdRepl& unique_id) {
  FString identifier;
  GameFunction<FString*(const FUniqueNetIdRepl*, FString*)>("FUniqueNetIdWrapper.ToString()")(
      &unique_id, &identifier);
  return identifier;
}

FString GetIdentifier(AShooterPlayerController* controller) {
  FString identifier("");
  GameFunction<FString*(AShooterPlayerController*, FString*)>(
      "AShooterPlayerController.GetUniqueNetIdAsString()")(controller, &identifier);
  return identifier;
}

}  // namespace gatehouse
