#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace gatehouse {

// The member of PluginConfig under this key, where it lies in the document, or
// null when the key is absent. Nothing is copied, so a value of any depth is
// only ever looked at, never walked. Raises the JSON library's type error 306
// when the document is not an object. The key becomes the setting in use.
const nlohmann::json* FindSetting(const char* key);

// One setting out of PluginConfig, or the default when the key is absent. The
// JSON library raises its type errors here: 306 when the document is not an
// object, 302 when the member does not convert to T.
template <class T>
T ReadSetting(const char* key, const T& default_value) {
  const nlohmann::json* const value = FindSetting(key);
  return value != nullptr ? value->get<T>() : default_value;
}

// The key of the setting (or list) read last. Every read names its key here
// before it can raise, so a configuration error met inside a hook is recorded
// with the name of the setting whose read failed.
const char* SettingInUse();

// While one lives, the key of every setting read and every list looked up is
// added to `keys`, in the order of the reads, also when the read then fails.
// The operator's check learns this way, from the decisions themselves, which
// settings a join can reach.
class SettingReadLog {
 public:
  SettingReadLog();
  ~SettingReadLog();
  SettingReadLog(const SettingReadLog&) = delete;
  SettingReadLog& operator=(const SettingReadLog&) = delete;

  std::vector<std::string> keys;

 private:
  SettingReadLog* outer_;
};

}  // namespace gatehouse
