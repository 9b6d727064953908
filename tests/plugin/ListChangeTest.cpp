// Gatehouse.Add and Gatehouse.Remove in-process: the settings after a change
// are those a reload of the written file gives, and a write that fails leaves
// the file byte for byte, the settings in force and the folder as they were.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "PluginTest.h"
#include "admission/ListMembership.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "operator/ListChange.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace gatehouse {

namespace {

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderEntries(const std::string& path) {
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace

class ListChange : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    LoadPlugin(R"({"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice", "Bob", "bob"]})");
  }
};

// After each change the document in force is what a read of the file gives,
// and the list tests of a join answer by it.
TEST_F(ListChange, ChangesAreWhatAReloadOfTheFileGives) {
  const FString carol("carol");
  const FString bob("BOB");
  EXPECT_EQ(AddPlayer(u"carol").rfind("Added \"carol\"", 0), 0u);
  EXPECT_TRUE(IsWhitelisted(carol));
  EXPECT_EQ(RemovePlayer(u"bob").rfind("Removed \"Bob\", \"bob\"", 0), 0u);
  EXPECT_FALSE(IsWhitelisted(bob));
  const nlohmann::json in_force = PluginConfig();
  ReadConfig();
  EXPECT_EQ(PluginConfig(), in_force);
  EXPECT_EQ(in_force["WhitelistedPlayers"], nlohmann::json({"alice", "carol"}));
  EXPECT_TRUE(IsWhitelisted(carol));
  EXPECT_FALSE(IsWhitelisted(bob));
  EXPECT_EQ(FolderEntries(ConfigPath()), std::vector<std::string>{"config.json"});
}

// Whatever differs from the bytes in force refuses the change: an edit not
// reloaded, a failed reload, a deleted file; the file keeps the edit.
TEST_F(ListChange, WritesOnlyOverTheBytesInForce) {
  const std::string edited = R"({"OnlyWhitelisted": false})";
  WriteConfig(edited);
  EXPECT_EQ(AddPlayer(u"carol"),
            "config.json changed since it was last read; send Gatehouse.Reload, then try again");
  EXPECT_EQ(FileText(ConfigPath()), edited);
  WriteConfig("{");
  EXPECT_THROW(ReadConfig(), std::exception);
  EXPECT_EQ(RemovePlayer(u"alice").rfind("config.json changed", 0), 0u);
  DeleteConfig();
  EXPECT_EQ(RemovePlayer(u"alice").rfind("config.json cannot be read", 0), 0u);
  EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
}

TEST_F(ListChange, RefusesListsItCannotKeep) {
  const struct {
    const char* config;
    const char* answer;
  } cases[] = {
      {"[1]", "config.json holds array, not a JSON object"},
      {R"({"WhitelistedPlayers": ["a", 2]})", "WhitelistedPlayers entry 2 is number, not a string"},
      {R"({"WhitelistedPlayers": {"a": "b"}})", "WhitelistedPlayers is object, not a list"},
  };
  for (const auto& c : cases) {
    UseConfig(c.config);
    EXPECT_EQ(AddPlayer(u"carol").rfind(c.answer, 0), 0u) << AddPlayer(u"carol");
    EXPECT_EQ(FileText(ConfigPath()), c.config);
  }
}

#ifndef _WIN32
// A write that fails half-way (the process's files cannot grow past a few
// bytes) leaves the old file whole, the settings in force and no new file.
TEST_F(ListChange, WriteThatFailsHalfWayLeavesEverythingAsItWas) {
  const std::string before = FileText(ConfigPath());
  const nlohmann::json in_force = PluginConfig();
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit small{16, limit.rlim_max};
  const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  const std::string answer = AddPlayer(u"carol");
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous_handler);
  EXPECT_EQ(answer,
            "Gatehouse.Add failed: cannot write the new file: File too large; config.json and the "
            "settings in force are unchanged");
  EXPECT_EQ(FileText(ConfigPath()), before);
  EXPECT_EQ(PluginConfig(), in_force);
  EXPECT_EQ(FolderEntries(ConfigPath()), std::vector<std::string>{"config.json"});
}

// A config.json that links (through a second, relative link) to a shared
// file: the change replaces the shared file, both links stay links, and the
// new file was written beside the shared one, not beside the links. POSIX
// only: making a link on Windows takes a right a test run may not have.
TEST_F(ListChange, LinkedConfigStaysALink) {
  namespace fs = std::filesystem;
  const fs::path config(ConfigPath());
  const fs::path shared_folder = fs::path(dir_) / "shared";
  fs::create_directories(shared_folder);
  fs::rename(config, shared_folder / "cluster.json");
  fs::create_symlink("cluster.json", shared_folder / "current.json");
  fs::create_symlink(shared_folder / "current.json", config);
  EXPECT_EQ(AddPlayer(u"carol").rfind("Added \"carol\"", 0), 0u);
  EXPECT_TRUE(fs::is_symlink(config));
  EXPECT_TRUE(fs::is_symlink(shared_folder / "current.json"));
  EXPECT_NE(FileText((shared_folder / "cluster.json").string()).find("\"carol\""),
            std::string::npos);
  EXPECT_EQ(FolderEntries(ConfigPath()), std::vector<std::string>{"config.json"});
  EXPECT_EQ(FolderEntries((shared_folder / "cluster.json").string()).size(), 2u);
  // The written file is the one in force: a second change goes ahead.
  EXPECT_EQ(RemovePlayer(u"carol").rfind("Removed \"carol\"", 0), 0u);
  EXPECT_TRUE(fs::is_symlink(config));
}
#endif

}  // namespace gatehouse
