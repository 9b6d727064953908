#pragma once

#include <string>
#include <vector>

namespace sim::op {

// What the loaded plugin knows of its configuration.
enum class PluginState { unloaded, idle, running };

// What the plugin would decide for the player with this unique net id (UTF-8)
// if the player joined now: at pre-login (capacity bypass or not, and why) and
// at post-login (kept or kicked, for the whitelist and the blacklist step), as
// lines that begin "explain ID: ". With the plugin running, the decisions come
// from the plugin's own setting reads and list tests on the configuration the
// mirror holds; a configuration error that a hook would meet is named. Nothing
// is armed, scheduled or printed; the permissions plugin may be asked.
std::vector<std::string> Explain(const std::string& id, PluginState state);

}  // namespace sim::op
