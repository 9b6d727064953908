#pragma once

#include "host/FString.h"

// Whether a list entry names this Identifier, ignoring letter case. Strings of
// different unit counts differ, except an empty string with storage and one
// without; the engine's case-insensitive compare decides the rest and is asked
// only when the counts agree. Nothing is trimmed.
bool EqualsIgnoreCase(const FString& entry, const FString& identifier);
