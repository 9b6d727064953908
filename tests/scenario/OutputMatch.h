#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace gatehouse::scenario {

// What differs from run to run, written the same way in every run's output:
// each of `plugin_paths` (the names a system may report the plugin by) as
// PLUGIN, the escape byte as ^[ so that expected files stay readable, every
// console stamp and log-record stamp as MM/DD/YY HH:MM, and the date and time
// of a status reply as YYYY-MM-DD HH:MM:SS. One "\r" is dropped from each
// line's end (a Windows build ends its lines in "\r\n").
std::string Normalized(std::string_view text, const std::vector<std::string>& plugin_paths);

// True when all of `text` matches the shell pattern: * any text, ? any one
// character, [set] one of a set (! negates it), \ the next character as is.
bool MatchesPattern(std::string_view text, std::string_view pattern);

// Where `actual` differs from `expected`, as one hunk of a unified diff with
// three lines of context; empty when the texts are equal.
std::string UnifiedDiff(std::string_view expected, std::string_view actual);

// The text's lines, without their ends; a last line without an end counts.
std::vector<std::string_view> Lines(std::string_view text);

}  // namespace gatehouse::scenario
