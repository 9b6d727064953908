#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim::app {

// `fault ...`: brings on a failure of the host or the game, or takes it away
// again (words[0] is "fault").
//   fault refuse NAME | fault accept NAME      hook target or command name
//   fault alloc fail | fault alloc after N | fault alloc off
//   fault unresolve SIGNATURE | fault resolve SIGNATURE
//   fault permissions missing | fault permissions present
// permissions_path: the library that `present` makes available again.
void RunFaultCommand(const std::vector<std::string_view>& words,
                     const std::string& permissions_path);

}  // namespace sim::app
