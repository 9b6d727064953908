#pragma once

#include <string>

namespace sim::app {

// Opens and closes the plugin library as the host does: opening it runs the
// plugin's Load, closing it runs its Unload. Problems are reported as "error:"
// lines; "plugin loaded" / "plugin unloaded" mark each change.
class PluginLoader {
 public:
  explicit PluginLoader(std::string path);
  ~PluginLoader();
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // False (after an error line) when loaded already or the library cannot be
  // opened.
  bool Load();
  // False (after an error line) when not loaded.
  bool Unload();
  bool Loaded() const { return handle_ != nullptr; }

  // The full path of the library file: the plugin's identity towards the
  // host's timer and messaging services.
  const std::string& LibraryPath() const { return library_path_; }

 private:
  void ReportLeftovers();

  std::string path_;          // as given to the loader
  std::string library_path_;  // resolved, once the file exists
  void* handle_ = nullptr;
};

}  // namespace sim::app
