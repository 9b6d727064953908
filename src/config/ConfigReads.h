#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace gatehouse {

// What sets two readings of config.json apart: the number of bytes and a
// 64-bit hash of them. Equal fingerprints mean the same bytes, short of a
// deliberate collision, which no operator edit makes.
struct Fingerprint {
  uint64_t size = 0;
  uint64_t hash = 0;

  bool operator==(const Fingerprint& other) const = default;
};

Fingerprint FingerprintOf(std::string_view bytes);

// What the plugin knows of its reads of config.json: whose bytes the settings
// in force came from, and how the last read went. ReadConfig and the writes of
// the operator's commands keep it; Gatehouse.Status shows it, and a write goes
// ahead only while the file still holds the bytes in force.
struct ConfigReads {
  // The bytes of the settings in force; none until a read succeeded.
  std::optional<Fingerprint> in_force;
  // When the last read ended (0: no read yet), and its error when it failed.
  std::time_t last_read = 0;
  bool last_read_ok = false;
  std::string last_error;
  // The file's state (size and modification time) when the plugin last read,
  // wrote or looked at it; none before the first read.
  std::optional<Platform::FileState> seen;
};

const ConfigReads& Reads();
// The same, to keep: its part of the plugin's state (plugin/PluginState.h).
ConfigReads& StoredReads();

// The record of a read that put these bytes in force, or of one that failed.
void RecordReadInForce(std::string_view bytes);
void RecordFailedRead(const char* error);
// The file's state at the plugin's latest read, write or look.
void RecordStateSeen(const Platform::FileState& state);

}  // namespace gatehouse
