#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PluginTest.h"
#include "RecordingPermissions.h"
#include "sim/framework/SimHost.h"

namespace gatehouse {

using PermissionsBinding = PluginTest;

// While the library cannot be bound every hook logs why and the game decides;
// once it can, the next query binds it, without a restart.
TEST_F(PermissionsBinding, MissingLibraryIsContainedAndRetried) {
  recording_permissions::AddMember("alice", "Vip");
  LoadPlugin(R"({"OnlyWhitelisted": true, "WhitelistedGroups": ["Vip"], "KickTimer": 1})");
  Game().SetCapacity(1);

  sim::SetPermissionsLibraryPath("");
  CapturingConsole([&] { Game().Join("alice"); });
  sim::SetPermissionsLibraryPath(dir_ + "/no-such-library.so");
  CapturingConsole([&] { Game().Join("bob"); });
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ServerLines(), (std::vector<std::string>{"join alice: admitted",
                                                     "join bob: refused: Server is at capacity."}));
  const auto messages = LogMessages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0],
            "PreLoginHook: permissions library is not available: the server runs without it");
  EXPECT_EQ(messages[1],
            "PostLoginHook: permissions library is not available: the server runs without it");
  EXPECT_EQ(
      messages[2].rfind(
          "PreLoginHook: cannot open permissions library " + dir_ + "/no-such-library.so: ", 0),
      0u)
      << messages[2];
  EXPECT_TRUE(recording_permissions::Queries().empty());

  sim::SetPermissionsLibraryPath(GATEHOUSE_TEST_PERMISSIONS_LIBRARY);
  Game().Leave("alice");
  ClearServerLines();
  CapturingConsole([&] {
    Game().Join("alice");
    Game().Join("bob");
  });
  sim::AdvanceSeconds(1);
  EXPECT_EQ(ServerLines(), (std::vector<std::string>{"join alice: admitted",
                                                     "join bob: refused: Server is at capacity."}));
  EXPECT_EQ(recording_permissions::Queries().size(), 3u);  // pre- and post-login of alice, bob
  EXPECT_EQ(LogMessages().size(), 3u);
}

}  // namespace gatehouse
