#include "sim/app/PluginLoader.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <utility>

#include "sim/framework/SimHost.h"

namespace sim::app {
namespace {

// A bare file name would make the platform loader search its library folders
// instead of opening the file in the working directory.
std::string AsFilePath(std::string path) {
  return path.find('/') == std::string::npos ? "./" + path : path;
}

std::string Resolved(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string LoaderError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown reason";
}

}  // namespace

PluginLoader::PluginLoader(std::string path) : path_(AsFilePath(std::move(path))) {}

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
  library_path_ = Resolved(path_);
  // What the plugin registers from now on is counted as the plugin's.
  SetLoadingLibrary(library_path_);
  handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    PrintError("cannot load plugin " + path_ + ": " + LoaderError());
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
  if (dlclose(std::exchange(handle_, nullptr)) != 0) {
    PrintError("cannot unload plugin " + path_ + ": " + LoaderError());
  }
  if (void* still_there = dlopen(path_.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
    PrintError("plugin library did not unload");
    dlclose(still_there);
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
