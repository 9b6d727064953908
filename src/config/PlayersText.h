#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gatehouse {

// Where WhitelistedPlayers lies in the text of config.json, so that a change
// of its entries rewrites that list and keeps every other byte of the file:
// other keys and values, their order, the layout, a byte order mark, whatever
// follows the first value. Entries that stay keep their own text and the
// separators around them.
//
//   const PlayersText text(bytes);          // bytes parsed as an object before
//   std::string added = text.Appended("\"alice\"");
//   std::string removed = text.Without({0, 4});
//
// The member is the last one of that name at the top level (the one a read
// keeps). Its value is taken as it is: an array (each element an entry), a
// single value (one entry), null or no member (no entries); the caller has
// made sure these are strings.
class PlayersText {
 public:
  // Throws std::runtime_error when the first value is not an object.
  explicit PlayersText(std::string_view bytes);

  size_t EntryCount() const { return entries_.size(); }

  // The file with one more entry, `entry` being its JSON text, after the
  // last one; a single value becomes a list of two, a null or missing list
  // a list of one.
  std::string Appended(std::string_view entry) const;

  // The file without the entries at these positions (ascending).
  std::string Without(const std::vector<size_t>& positions) const;

 private:
  struct Span {
    size_t begin = 0;
    size_t end = 0;
  };

  std::string Replaced(Span span, std::string_view text) const;
  std::string Inserted(std::string_view member) const;
  std::string_view Text(Span span) const {
    return bytes_.substr(span.begin, span.end - span.begin);
  }
  std::string LineIndent(size_t at) const;

  std::string_view bytes_;
  Span object_;       // from '{' to after '}'
  Span last_member_;  // key to value end of the object's last member (empty: none)
  bool found_ = false;
  bool array_ = false;
  Span value_;  // WhitelistedPlayers' value
  std::vector<Span> entries_;
};

}  // namespace gatehouse
