#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "admission/GroupList.h"
#include "admission/PlayerIndex.h"

namespace gatehouse {

// The three lists of the settings document in force, ready for the list
// tests. They are prepared at the first test after each successful ReadConfig,
// from the document that read put in force, and point into it: only ReadConfig
// replaces PluginConfig, and every read counts in PluginConfigGeneration, so
// the prepared form is never older than the document. A failed read changes
// neither.
struct PreparedLists {
  GroupList whitelisted_groups;
  PlayerIndex whitelisted_players;
  GroupList blacklisted_groups;

  size_t MemoryBytes() const;
};

// The lists of the document in force, prepared now if it is new.
const PreparedLists& CurrentLists();

// The prepared lists and the generation of the document they point into: a
// part of the plugin's state (plugin/PluginState.h), which ends it before the
// document.
struct CurrentPreparedLists {
  std::unique_ptr<const PreparedLists> lists;
  uint64_t generation = 0;
};
CurrentPreparedLists& ThePreparedLists();

}  // namespace gatehouse
