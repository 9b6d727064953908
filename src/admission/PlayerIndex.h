#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "admission/EqualsIgnoreCase.h"
#include "host/FString.h"

namespace gatehouse {

// WhitelistedPlayers ready for the player test, so that a join costs the same
// however long the list is. Each entry becomes what the host's narrow
// constructor makes of it: its bytes up to the first zero byte, one unit per
// byte. Entries of pure ASCII are kept as ready 16-bit text, indexed by their
// text with A-Z folded to a-z; entries with a byte above 127 are kept apart,
// since only the host knows which units it makes of those bytes.
//
// The one assumption: for two texts of pure ASCII the engine's compare answers
// "equal" exactly when they are equal once A-Z are folded to a-z. So an ASCII
// Identifier can only equal the entries under its own folded text, which the
// engine's compare still decides, and the entries kept apart; any other
// Identifier (a unit above 127, or a zero unit) is compared with every entry.
class PlayerIndex {
 public:
  PlayerIndex() = default;
  // Indexes the list's entries in its own iteration order, up to its first
  // entry that is not a string; the list is that entry's document's, and must
  // outlive the index.
  explicit PlayerIndex(const nlohmann::json& players);

  // Whether any entry equals the Identifier under EqualsIgnoreCase. A list
  // with an entry that is not a string raises the JSON library's type error
  // 302 for that entry, as the walk of the list does, but before any compare.
  // The engine's compare is asked only for the entries that can equal the
  // Identifier, and an engine string is made only for an entry kept apart:
  // an Identifier that no entry can equal is decided without either.
  bool Contains(const FString& identifier) const;

  // The positions, in the list's own iteration order, of every entry that
  // Contains finds equal to the Identifier; `players` is the list this index
  // was built from. Raises as Contains does.
  std::vector<size_t> Matches(const FString& identifier, const nlohmann::json& players) const;

  // Bytes held, for the benchmarks.
  size_t MemoryBytes() const;

 private:
  size_t AsciiEntries() const { return starts_.empty() ? 0 : starts_.size() - 1; }
  CountedText AsciiEntry(size_t index) const;
  bool ContainsAscii(std::u16string_view identifier, CountedText counted) const;
  bool AnyEntry(CountedText identifier) const;
  bool AnyKeptApart(CountedText identifier) const;
  // Each entry (ASCII ones by index, then those kept apart) equal to the
  // Identifier; the indexes go in `equal`, which is sized to the entries.
  bool FindEqual(const FString& identifier, std::vector<bool>& equal) const;
  void AddAscii(std::string_view text);
  void BuildSlots();

  // The ASCII entries' units, each with its terminator, back to back; entry i
  // starts at starts_[i], and starts_ ends with the size of units_.
  std::u16string units_;
  std::vector<uint32_t> starts_;
  // Open addressing by the folded text's hash: entry index + 1, 0 for a free
  // slot; entries with one folded text sit in one run of slots.
  std::vector<uint32_t> slots_;
  std::vector<std::string> kept_apart_;
  const nlohmann::json* first_non_string_ = nullptr;
};

}  // namespace gatehouse
