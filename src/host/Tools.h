#pragma once

#include <string>

namespace AsaApi::Tools {

// The server's current directory, narrow, without a trailing separator.
std::string GetCurrentDir();

// UTF-8 text as wide text. Invalid sequences become U+FFFD.
std::wstring Utf8Decode(const std::string& text);

}  // namespace AsaApi::Tools
