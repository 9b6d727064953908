#include "admission/PlayerIndex.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <stdexcept>

namespace gatehouse {

namespace {

constexpr char16_t FoldAscii(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

uint64_t FoldedHash(std::u16string_view text) {
  uint64_t hash = 14695981039346656037u;  // FNV-1a
  for (const char16_t unit : text) {
    hash ^= FoldAscii(unit);
    hash *= 1099511628211u;
  }
  return hash;
}

bool FoldedEqual(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

// Units 1 to 127 only: a zero unit inside an Identifier ends the engine's
// compare early, so such an Identifier is compared with every entry.
bool IsPlainAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char16_t unit) { return unit != 0 && unit <= 127; });
}

// An entry's text as the host's narrow constructor takes it: up to the first
// zero byte.
std::string_view NarrowText(const nlohmann::json& entry) {
  return entry.get_ref<const std::string&>().c_str();
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) <= 127; });
}

}  // namespace

PlayerIndex::PlayerIndex(const nlohmann::json& players) {
  // A first pass sizes the text exactly: the index holds its memory for as
  // long as the settings are in force.
  size_t ascii_entries = 0;
  size_t ascii_units = 0;
  for (const nlohmann::json& entry : players) {
    if (!entry.is_string()) {
      break;
    }
    const std::string_view text = NarrowText(entry);
    if (IsAscii(text)) {
      ++ascii_entries;
      ascii_units += text.size() + 1;
    }
  }
  if (ascii_units >= std::numeric_limits<uint32_t>::max() / 2) {
    throw std::length_error("WhitelistedPlayers is too long to index");
  }
  units_.reserve(ascii_units);
  starts_.reserve(ascii_entries + 1);
  starts_.push_back(0);
  for (const nlohmann::json& entry : players) {
    if (!entry.is_string()) {
      // Every test raises here, so the entries after it are never needed.
      first_non_string_ = &entry;
      break;
    }
    const std::string_view text = NarrowText(entry);
    if (IsAscii(text)) {
      AddAscii(text);
    } else {
      kept_apart_.emplace_back(text);
    }
  }
  BuildSlots();
}

void PlayerIndex::AddAscii(std::string_view text) {
  units_.append(text.begin(), text.end());
  units_.push_back(u'\0');
  starts_.push_back(static_cast<uint32_t>(units_.size()));
}

void PlayerIndex::BuildSlots() {
  const size_t entries = AsciiEntries();
  if (entries == 0) {
    return;
  }
  // At most half full, so that a run of taken slots stays short.
  slots_.assign(std::bit_ceil(entries * 2), 0);
  const size_t mask = slots_.size() - 1;
  for (size_t index = 0; index < entries; ++index) {
    const CountedText entry = AsciiEntry(index);
    size_t slot = FoldedHash({entry.units, static_cast<size_t>(entry.count - 1)}) & mask;
    while (slots_[slot] != 0) {
      slot = (slot + 1) & mask;
    }
    slots_[slot] = static_cast<uint32_t>(index + 1);
  }
}

CountedText PlayerIndex::AsciiEntry(size_t index) const {
  // Units with the terminator, as the host's narrow constructor counts them.
  return {units_.data() + starts_[index],
          static_cast<int32_t>(starts_[index + 1] - starts_[index])};
}

bool PlayerIndex::Contains(const FString& identifier) const {
  if (first_non_string_ != nullptr) {
    // Comparing the entries before it has no effect of its own: the walk
    // raises the library's error for this entry whatever they give.
    static_cast<void>(first_non_string_->get<std::string>());
  }
  const CountedText counted = Counted(identifier);
  const std::u16string_view units(counted.units, static_cast<size_t>(identifier.Len()));
  if (IsPlainAscii(units)) {
    return ContainsAscii(units, counted) || AnyKeptApart(counted);
  }
  return AnyEntry(counted) || AnyKeptApart(counted);
}

bool PlayerIndex::ContainsAscii(std::u16string_view identifier, CountedText counted) const {
  if (slots_.empty()) {
    return false;
  }
  const size_t mask = slots_.size() - 1;
  for (size_t slot = FoldedHash(identifier) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const CountedText entry = AsciiEntry(slots_[slot] - 1);
    // Entries of another folded text share the run only by their hash.
    if (!FoldedEqual({entry.units, static_cast<size_t>(entry.count - 1)}, identifier)) {
      continue;
    }
    if (EqualsIgnoreCase(entry, counted)) {
      return true;
    }
  }
  return false;
}

bool PlayerIndex::AnyEntry(CountedText identifier) const {
  for (size_t index = 0; index < AsciiEntries(); ++index) {
    if (EqualsIgnoreCase(AsciiEntry(index), identifier)) {
      return true;
    }
  }
  return false;
}

bool PlayerIndex::AnyKeptApart(CountedText identifier) const {
  for (const std::string& text : kept_apart_) {
    const FString entry(text.c_str());
    if (EqualsIgnoreCase(Counted(entry), identifier)) {
      return true;
    }
  }
  return false;
}

bool PlayerIndex::FindEqual(const FString& identifier, std::vector<bool>& equal) const {
  if (first_non_string_ != nullptr) {
    static_cast<void>(first_non_string_->get<std::string>());
  }
  equal.assign(AsciiEntries() + kept_apart_.size(), false);
  bool any = false;
  const auto mark = [&](size_t index, CountedText entry, CountedText counted) {
    if (EqualsIgnoreCase(entry, counted)) {
      equal[index] = true;
      any = true;
    }
  };
  const CountedText counted = Counted(identifier);
  const std::u16string_view units(counted.units, static_cast<size_t>(identifier.Len()));
  if (IsPlainAscii(units) && !slots_.empty()) {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = FoldedHash(units) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
      const size_t index = slots_[slot] - 1;
      const CountedText entry = AsciiEntry(index);
      if (FoldedEqual({entry.units, static_cast<size_t>(entry.count - 1)}, units)) {
        mark(index, entry, counted);
      }
    }
  } else if (!IsPlainAscii(units)) {
    for (size_t index = 0; index < AsciiEntries(); ++index) {
      mark(index, AsciiEntry(index), counted);
    }
  }
  for (size_t apart = 0; apart < kept_apart_.size(); ++apart) {
    const FString entry(kept_apart_[apart].c_str());
    mark(AsciiEntries() + apart, Counted(entry), counted);
  }
  return any;
}

std::vector<size_t> PlayerIndex::Matches(const FString& identifier,
                                         const nlohmann::json& players) const {
  std::vector<bool> equal;
  if (!FindEqual(identifier, equal)) {
    return {};
  }
  // The index holds the ASCII entries and the others apart, each in list
  // order: a walk of the list in the same order tells their positions.
  std::vector<size_t> positions;
  size_t position = 0;
  size_t ascii = 0;
  size_t apart = AsciiEntries();
  for (const nlohmann::json& entry : players) {
    if (!entry.is_string()) {
      break;
    }
    if (equal[IsAscii(NarrowText(entry)) ? ascii++ : apart++]) {
      positions.push_back(position);
    }
    ++position;
  }
  return positions;
}

size_t PlayerIndex::MemoryBytes() const {
  size_t bytes = sizeof(*this) + units_.capacity() * sizeof(char16_t) +
                 starts_.capacity() * sizeof(uint32_t) + slots_.capacity() * sizeof(uint32_t) +
                 kept_apart_.capacity() * sizeof(std::string);
  for (const std::string& text : kept_apart_) {
    bytes += text.capacity() + 1;
  }
  return bytes;
}

}  // namespace gatehouse
