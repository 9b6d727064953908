// Configuration bytes as config.json, then a fixed session: a start that reads
// them, joins past capacity, waits that bring kicks due, reloads from the
// console and over RCON, leaves, and a second start. Whatever the bytes, no
// crash, no sanitizer report and no engine block left behind.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzServer.h"
#include "common/Names.h"
#include "sim/framework/SimHost.h"
#include "sim/permissions/PermissionGroups.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  gatehouse::fuzz::Server server(2);
  server.WriteConfig(std::string_view(reinterpret_cast<const char*>(data), size));
  sim::permissions::AddMember("vip", "Vip");
  sim::permissions::AddMember("rogue", "Bad");
  server.Load();
  for (const char* id : {"vip", "alice", "rogue", "Bob"}) {
    server.Game().Join(id);
  }
  sim::AdvanceSeconds(1);
  server.Console("vip", gatehouse::Names::kReloadCommand);
  server.Rcon(gatehouse::Names::kReloadCommand);
  server.Game().Leave("alice");
  server.Game().Join("carol");
  sim::AdvanceSeconds(5);
  server.Unload();
  server.Load();
  server.Game().Join("dave");
  sim::AdvanceSeconds(60);
  return 0;
}
