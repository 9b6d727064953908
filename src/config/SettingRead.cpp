#include "config/SettingRead.h"

#include "config/PluginConfig.h"

namespace gatehouse {

namespace {

// A key the plugin names in its own code, set by every read before it can
// raise. It holds nothing to let go and is never read before it is set, so it
// stays outside the plugin's state.
const char* setting_in_use = "";

// The log in use, if any; a log made inside another takes over until it ends.
SettingReadLog* read_log = nullptr;

}  // namespace

const nlohmann::json* FindSetting(const char* key) {
  setting_in_use = key;
  if (read_log != nullptr) {
    read_log->keys.emplace_back(key);
  }
  const nlohmann::json& document = PluginConfig();
  if (!document.is_object()) {
    // value() on anything but an object raises the library's own error 306.
    static_cast<void>(document.value(key, false));
    return nullptr;
  }
  const auto found = document.find(key);
  return found != document.end() ? &*found : nullptr;
}

const char* SettingInUse() {
  return setting_in_use;
}

SettingReadLog::SettingReadLog() : outer_(read_log) {
  read_log = this;
}

SettingReadLog::~SettingReadLog() {
  read_log = outer_;
}

}  // namespace gatehouse
