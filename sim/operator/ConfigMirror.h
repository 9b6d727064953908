#pragma once

#include <string_view>

#include "sim/framework/SimHost.h"

namespace sim::op {

// The simulator's own copy of the loaded plugin's configuration, read with the
// plugin's own read code at exactly the moments the plugin reads: when its load
// has read config.json (it registers its reload command only after that read
// succeeded) and after every run of that reload command. Both reads see the
// same file in the same state, so the copy is the plugin's document, also after
// a failed reload. The plugin itself exports nothing to ask.
//
// There is one copy per process (the linked read fills one document): one
// mirror at a time. It follows the host's command events from construction to
// destruction.
class ConfigMirror {
 public:
  ConfigMirror();
  ~ConfigMirror();
  ConfigMirror(const ConfigMirror&) = delete;
  ConfigMirror& operator=(const ConfigMirror&) = delete;

  // True while the plugin has its reload command: its load read config.json
  // and it has not been unloaded since. A loaded plugin that is not running
  // is idle: its first read failed.
  bool Running() const { return running_; }

 private:
  void OnCommand(CommandEvent event, bool console, std::u16string_view name);

  bool running_ = false;
};

}  // namespace sim::op
