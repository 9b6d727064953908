// A process that loads the plugin library into the stand-in host and game and
// then ends in one of the two ways a Windows process lets a library go:
//   gatehouse-process-end unload   the host unloads it (FreeLibrary), then ends
//   gatehouse-process-end exit     it ends with the library still loaded
// Every call of the plugin into the host's services prints as a "host: ..."
// line, so the output shows what the library's entry did at its detach. The
// server folder is a fresh temporary one with an empty configuration, so that
// the plugin registers everything it can.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "host/Utf8Path.h"
#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"
#include "sim/game/Game.h"

namespace {

void Say(std::string_view line) {
  std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode != "unload" && mode != "exit") {
    std::fprintf(stderr, "usage: gatehouse-process-end unload|exit\n");
    return 2;
  }
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("gatehouse-process-end-" + mode);
  std::filesystem::create_directories(dir / "ArkApi/Plugins/Gatehouse");
  std::ofstream(dir / "ArkApi/Plugins/Gatehouse/config.json") << "{}";

  sim::ResetHost();
  sim::SetCurrentDir(Utf8FromPath(dir));
  sim::SetOutputWriter(Say);
  sim::SetTrace(true);
  // Never deleted: the game lasts as long as the process, as a real server's.
  [[maybe_unused]] auto* game = new sim::Game();

  std::string error;
  void* plugin = sim::app::platform::OpenLibrary(GATEHOUSE_PLUGIN_LIBRARY, error);
  if (plugin == nullptr) {
    std::fprintf(stderr, "cannot load the plugin: %s\n", error.c_str());
    return 1;
  }
  Say("loaded");
  if (mode == "unload") {
    if (!sim::app::platform::CloseLibrary(plugin, error)) {
      std::fprintf(stderr, "cannot unload the plugin: %s\n", error.c_str());
      return 1;
    }
    Say("unloaded");
  }
  Say("ending");
  return 0;
}
