#pragma once

#include <string>

#include "host/FString.h"

namespace gatehouse {

// The narrow form of an engine string for console and log lines: one byte per
// UTF-16 unit up to the first zero unit, every unit above 127 shown as '?' (a
// character outside the Basic Multilingual Plane as two). Not UTF-8.
std::string ToNarrowString(const FString& text);

// The engine string of UTF-8 text, for texts shown to players.
FString ToFString(std::string text);

}  // namespace gatehouse
