#pragma once

namespace gatehouse {

// Start: resolves the library's own path, opens the log channel, reads the
// configuration and, when it was read, sets up the console print, registers the
// reload commands and the operator's RCON commands and installs the hooks. A failed read leaves one
// error record and an idle plugin. Nothing escapes: the library is being attached when this runs.
void Load() noexcept;

// Stop: removes every command and all three hooks, whatever Load got to, then
// ends the plugin's state (settings, log channel, console logger, bypass,
// permissions binding).
void Unload() noexcept;

}  // namespace gatehouse
