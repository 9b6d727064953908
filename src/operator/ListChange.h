#pragma once

#include <string>
#include <string_view>

namespace gatehouse {

// Gatehouse.Add ID and Gatehouse.Remove ID: add the ID to WhitelistedPlayers,
// or remove every entry equal to it under the comparison a join makes, save
// config.json and put the saved file in force; the result is the answer for
// the operator. The file is written only while it still holds the bytes whose
// settings are in force (an edit made by hand since, a failed reload, a file
// replaced or deleted: nothing is written, and the answer says what to do),
// and only whole: a new file beside it, flushed, then renamed over it. Every
// failure leaves the file and the settings in force as they were. Players
// online are not touched.
std::string AddPlayer(std::u16string_view id);
std::string RemovePlayer(std::u16string_view id);

}  // namespace gatehouse
