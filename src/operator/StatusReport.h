#pragma once

#include <string>

namespace gatehouse {

// Gatehouse.Status: the plugin's version; whether config.json still holds the
// bytes whose settings are in force; when the last read ran and how it went,
// with the whole error of a failed one; then the eleven settings in force,
// each with its value (or the number of entries of a list), "(default)" when
// absent, or the error its read meets. Lines separated by "\n".
std::string StatusReport();

}  // namespace gatehouse
