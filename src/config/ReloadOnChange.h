#pragma once

namespace gatehouse {

// With ReloadOnChange on, reads config.json again when it changed on disk, as
// Gatehouse.Reload would: the pre-login hook and every operator's RCON command
// call it before they decide anything. An unchanged file costs one
// file-status query (size and modification time against those the plugin
// last saw); only a different state is read, and only different bytes are put
// in force. A failed read keeps the settings in force and is logged once per
// state of the file, a file gone missing once. There is no timer and no
// thread: nothing is left to stop when the plugin unloads.
//
// Does nothing while the settings in force are not a JSON object (their reads
// report that already). Throws the JSON library's type error when
// ReloadOnChange is not a boolean; a failed read is logged, not thrown.
void ReloadIfChanged();

// ReloadIfChanged for a caller that must go on whatever it meets: an error is
// logged under `caller`'s name.
void ReloadIfChangedFor(const char* caller) noexcept;

}  // namespace gatehouse
