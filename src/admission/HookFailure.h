#pragma once

#include <exception>

namespace gatehouse {

// The one error record of a hook that met a failure: the
// hook's name, then, for a configuration error, the setting or list whose read
// raised it, then the error's own message, whole.
void LogHookFailure(const char* hook, const std::exception& error) noexcept;

// The record of something thrown inside a hook that is not of the standard
// exception family.
void LogHookFailure(const char* hook) noexcept;

}  // namespace gatehouse
