#include "admission/PreparedLists.h"

#include <cstdint>
#include <memory>

#include "config/PluginConfig.h"
#include "config/Settings.h"

namespace gatehouse {

namespace {

// The member under this key, or null (no entries) when it is absent or the
// document is not an object; the reads raise that error themselves.
const nlohmann::json& ListIn(const nlohmann::json& document, const char* key) {
  static const nlohmann::json kNoEntries;
  if (!document.is_object()) {
    return kNoEntries;
  }
  const auto found = document.find(key);
  return found != document.end() ? *found : kNoEntries;
}

}  // namespace

size_t PreparedLists::MemoryBytes() const {
  return whitelisted_groups.MemoryBytes() + whitelisted_players.MemoryBytes() +
         blacklisted_groups.MemoryBytes();
}

const PreparedLists& CurrentLists() {
  const nlohmann::json& document = PluginConfig();
  CurrentPreparedLists& prepared = ThePreparedLists();
  if (!prepared.lists || prepared.generation != PluginConfigGeneration()) {
    // The lists before point into a document that is gone.
    prepared.lists.reset();
    prepared.lists = std::make_unique<const PreparedLists>(PreparedLists{
        GroupList(ListIn(document, Settings::kWhitelistedGroups)),
        PlayerIndex(ListIn(document, Settings::kWhitelistedPlayers)),
        GroupList(ListIn(document, Settings::kBlacklistedGroups)),
    });
    prepared.generation = PluginConfigGeneration();
  }
  return *prepared.lists;
}

}  // namespace gatehouse
