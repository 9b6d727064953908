#pragma once

#include <memory>

namespace gatehouse {

// The part of the plugin's state (plugin/PluginState.h) that only the stand-in
// host's code keeps: the permissions binding (host/standin). It is held
// type-erased, so that a build for a real host, which leaves that folder out,
// has nothing of it to build; it ends with the rest of the state.
std::shared_ptr<void>& PermissionsBindingPart();

}  // namespace gatehouse
