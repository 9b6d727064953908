#include "sim/operator/ConfigMirror.h"

#include <exception>
#include <string>

#include "common/Names.h"
#include "config/ReadConfig.h"

namespace sim::op {
namespace {

// The plugin's reload command, under the host's rule for command names.
bool IsReload(std::u16string_view name) {
  const std::string_view reload = gatehouse::Names::kReloadCommand;
  return SameCommandName(name, std::u16string(reload.begin(), reload.end()));
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
