#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/FString.h"

namespace gatehouse {

// A group list ready for the group test: each entry's text as the host's
// narrow constructor takes it (its bytes up to the first zero byte), in the
// list's own iteration order, up to the first entry that is not a string.
class GroupList {
 public:
  GroupList() = default;
  // The list is that entry's document's, and must outlive this form of it.
  explicit GroupList(const nlohmann::json& groups);

  // One permissions query per entry, in list order, also after a match:
  // membership changes at any time and is never cached. Then, when the list
  // holds an entry that is not a string, the JSON library's type error 302 for
  // that entry, whatever the queries answered.
  bool AnyMember(const FString& identifier) const;

  size_t MemoryBytes() const;

 private:
  std::vector<std::string> names_;
  const nlohmann::json* first_non_string_ = nullptr;
};

}  // namespace gatehouse
