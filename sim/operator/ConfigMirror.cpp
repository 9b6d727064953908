#include "sim/operator/ConfigMirror.h"

#include <algorithm>
#include <exception>

#include "config/ReadConfig.h"

namespace sim::op {
namespace {

constexpr std::u16string_view kReload = u"Gatehouse.Reload";

char16_t FoldCase(char16_t unit) {
  return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// The host matches command names ignoring case.
bool IsReload(std::u16string_view name) {
  return name.size() == kReload.size() &&
         std::equal(name.begin(), name.end(), kReload.begin(),
                    [](char16_t a, char16_t b) { return FoldCase(a) == FoldCase(b); });
}

void ReadAsThePluginDid() {
  // A failed read leaves the document as the plugin's failed read left its own.
  try {
    gatehouse::ReadConfig();
  } catch (const std::exception&) {
  }
}

}  // namespace

ConfigMirror::ConfigMirror() {
  SetCommandObserver([this](CommandEvent event, bool console, std::u16string_view name) {
    OnCommand(event, console, name);
  });
}

ConfigMirror::~ConfigMirror() {
  SetCommandObserver(nullptr);
}

void ConfigMirror::OnCommand(CommandEvent event, bool console, std::u16string_view name) {
  if (!IsReload(name)) {
    return;
  }
  switch (event) {
    case CommandEvent::added:
      // The plugin registers its console command last of the two, right after
      // its read of config.json succeeded.
      if (console) {
        ReadAsThePluginDid();
        running_ = true;
      }
      return;
    case CommandEvent::removed:
      if (console) {
        running_ = false;
      }
      return;
    case CommandEvent::ran:
      if (running_) {
        ReadAsThePluginDid();
      }
      return;
  }
}

}  // namespace sim::op
