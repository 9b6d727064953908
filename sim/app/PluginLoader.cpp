#include "sim/app/PluginLoader.h"

#include <utility>

#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"

namespace sim::app {

PluginLoader::PluginLoader(std::string path) : path_(platform::AsFilePath(path)) {}

PluginLoader::~PluginLoader() {
  if (Loaded()) {
    Unload();
  }
}

bool PluginLoader::Load() {
  if (Loaded()) {
    PrintError("the plugin is loaded already");
    return false;
  }
  library_path_ = platform::FullLibraryPath(path_);
  // What the plugin registers from now on is counted as the plugin's.
  SetLoadingLibrary(library_path_);
  std::string error;
  handle_ = platform::OpenLibrary(path_, error);
  if (handle_ == nullptr) {
    PrintError("cannot load plugin " + path_ + ": " + error);
    ReportLeftovers();
    SetLoadingLibrary({});
    return false;
  }
  PrintLine("plugin loaded");
  return true;
}

bool PluginLoader::Unload() {
  if (!Loaded()) {
    PrintError("the plugin is not loaded");
    return false;
  }
  // The pending callables' code lives in the library: they go before it does.
  DropCallablesOf(handle_);
  std::string error;
  if (!platform::CloseLibrary(std::exchange(handle_, nullptr), error)) {
    PrintError("cannot unload plugin " + path_ + ": " + error);
  }
  if (platform::LibraryStillLoaded(path_)) {
    PrintError("plugin library did not unload");
  }
  ReportLeftovers();
  SetLoadingLibrary({});
  PrintLine("plugin unloaded");
  return true;
}

// Commands and hooks that the plugin did not take away would call into code
// that is gone: the host takes them away itself and names them.
void PluginLoader::ReportLeftovers() {
  const LeftBehind left = RemoveLeftoversOf(library_path_);
  for (const auto& name : left.console_commands) {
    PrintError("the plugin left console command " + name + " registered");
  }
  for (const auto& name : left.rcon_commands) {
    PrintError("the plugin left rcon command " + name + " registered");
  }
  for (const auto& target : left.hooks) {
    PrintError("the plugin left a hook on " + target + " installed");
  }
}

}  // namespace sim::app
