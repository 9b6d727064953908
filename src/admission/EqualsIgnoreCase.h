#pragma once

#include <cstdint>

#include "host/FString.h"

namespace gatehouse {

// An engine string's text as the comparison sees it: its units and its count
// of units with the terminator (0: empty without storage).
struct CountedText {
  const EngineChar* units;
  int32_t count;
};

inline CountedText Counted(const FString& text) {
  return {*text, text.Num()};
}

// Whether a list entry names this Identifier, ignoring letter case. Strings of
// different unit counts differ, except an empty string with storage and one
// without; the engine's case-insensitive compare decides the rest and is asked
// only when the counts agree. Nothing is trimmed.
bool EqualsIgnoreCase(CountedText entry, CountedText identifier);

inline bool EqualsIgnoreCase(const FString& entry, const FString& identifier) {
  return EqualsIgnoreCase(Counted(entry), Counted(identifier));
}

}  // namespace gatehouse
