#include "admission/GroupList.h"

#include "host/Permissions.h"

namespace gatehouse {

GroupList::GroupList(const nlohmann::json& groups) {
  for (const nlohmann::json& entry : groups) {
    if (!entry.is_string()) {
      first_non_string_ = &entry;
      break;
    }
    names_.emplace_back(entry.get_ref<const std::string&>().c_str());
  }
}

bool GroupList::AnyMember(const FString& identifier) const {
  bool found = false;
  for (const std::string& name : names_) {
    const FString group(name.c_str());
    if (Permissions::IsPlayerInGroup(identifier, group)) {
      found = true;
    }
  }
  if (first_non_string_ != nullptr) {
    static_cast<void>(first_non_string_->get<std::string>());
  }
  return found;
}

size_t GroupList::MemoryBytes() const {
  size_t bytes = sizeof(*this) + names_.capacity() * sizeof(std::string);
  for (const std::string& name : names_) {
    bytes += name.capacity() + 1;
  }
  return bytes;
}

}  // namespace gatehouse
