// `gatehouse-sim check` and the plugin, run on the same configuration files:
// every error that check reports is one that the plugin meets when players
// join (or, for a file it cannot read, at its load), every error the plugin
// logs is one that check reported, and the example configurations pass clean.

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Ran {
  int status = -1;
  std::string out;
};

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

Ran Shell(const std::string& command) {
  Ran run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return run;
  }
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    run.out.append(buffer, got);
  }
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> Names(const json& report, const char* key) {
  std::vector<std::string> names;
  for (const json& row : report["settings"]) {
    if (row["key"] != key || !row["readable"].get<bool>()) {
      continue;
    }
    const json& value = row["value"];
    const auto add = [&](const json& entry) {
      const bool usable = entry.is_string() && !entry.get<std::string>().empty() &&
                          entry.get<std::string>().find_first_of(" \t#") == std::string::npos;
      if (usable) {
        names.push_back(entry.get<std::string>());
      }
    };
    if (value.is_structured()) {
      for (const json& entry : value) {
        add(entry);
      }
    } else {
      add(value);
    }
  }
  return names;
}

// Joins that reach every read the hooks make: a stranger, a member of every
// listed group and each listed player.
std::string JoinScript(const json& report) {
  std::string script = "capacity 100\njoin stranger\n";
  for (const char* list : {"WhitelistedGroups", "BlacklistedGroups"}) {
    for (const std::string& group : Names(report, list)) {
      script += "group member " + group + "\n";
    }
  }
  script += "join member\n";
  for (const std::string& player : Names(report, "WhitelistedPlayers")) {
    script += "join " + player + "\n";
  }
  return script;
}

std::vector<std::string> ErrorRecords(const fs::path& log) {
  std::vector<std::string> records;
  std::ifstream file(log);
  for (std::string line; std::getline(file, line);) {
    if (line.find("[Gatehouse][error] ") != std::string::npos) {
      records.push_back(line);
    }
  }
  return records;
}

struct Outcome {
  json report;
  int status = -1;
  std::vector<std::string> records;
};

Outcome CheckAndPlay(const fs::path& config, const fs::path& work) {
  Outcome outcome;
  const Ran check = Shell(Quoted(GATEHOUSE_SIM) + " check --json " + Quoted(config.string()));
  outcome.status = check.status;
  outcome.report = json::parse(check.out);

  const fs::path server = work / config.stem();
  fs::create_directories(server / "ArkApi/Plugins/Gatehouse");
  if (fs::exists(config)) {
    fs::copy_file(config, server / "ArkApi/Plugins/Gatehouse/config.json");
  }
  const fs::path script = work / (config.stem().string() + ".txt");
  std::ofstream(script) << JoinScript(outcome.report);
  Shell(Quoted(GATEHOUSE_SIM) + " --dir " + Quoted(server.string()) + " --plugin " +
        Quoted(GATEHOUSE_PLUGIN) + " --script " + Quoted(script.string()) + " >/dev/null 2>&1");
  outcome.records = ErrorRecords(server / "ArkApi/Logs/server.log");
  return outcome;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class Work : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/gatehouse-check-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    work_ = pattern;
  }
  void TearDown() override { fs::remove_all(work_); }
  fs::path work_;
};

TEST_F(Work, EveryErrorCheckReportsIsOneThePluginMeetsAndNoOther) {
  std::vector<fs::path> configs{fs::path(GATEHOUSE_CHECK_CONFIGS) / "missing.json"};
  for (const auto& entry : fs::directory_iterator(GATEHOUSE_CHECK_CONFIGS)) {
    if (entry.path().extension() == ".json") {
      configs.push_back(entry.path());
    }
  }
  for (const fs::path& config : configs) {
    SCOPED_TRACE(config.string());
    const Outcome outcome = CheckAndPlay(config, work_);
    EXPECT_EQ(outcome.status, outcome.report["status"].get<int>());
    std::vector<std::string> errors;
    for (const json& finding : outcome.report["findings"]) {
      if (finding["severity"] == "error") {
        errors.push_back(finding["error"].get<std::string>());
      }
    }
    EXPECT_EQ(errors.empty(), outcome.status != 1);
    for (const std::string& error : errors) {
      EXPECT_TRUE(std::any_of(outcome.records.begin(), outcome.records.end(),
                              [&](const std::string& record) { return Contains(record, error); }))
          << "check reports an error no join meets: " << error;
    }
    for (const std::string& record : outcome.records) {
      EXPECT_TRUE(std::any_of(errors.begin(), errors.end(),
                              [&](const std::string& error) { return Contains(record, error); }))
          << "the plugin logs an error check did not report: " << record;
    }
  }
}

TEST_F(Work, TheExampleConfigurationsPassCleanAndLogNoError) {
  size_t examples = 0;
  for (const auto& entry : fs::directory_iterator(GATEHOUSE_EXAMPLE_CONFIGS)) {
    SCOPED_TRACE(entry.path().string());
    ++examples;
    const Outcome outcome = CheckAndPlay(entry.path(), work_);
    EXPECT_EQ(outcome.status, 0) << outcome.report.dump(2);
    EXPECT_TRUE(outcome.records.empty());
  }
  EXPECT_EQ(examples, 3U);
}

TEST(CheckCommandLine, DirNamesTheServerFolderAndBadLinesExitWithTwo) {
  const std::string sim = Quoted(GATEHOUSE_SIM);
  const Ran dir = Shell(sim + " check --json --dir " + Quoted(GATEHOUSE_EXAMPLE_SERVER));
  EXPECT_EQ(dir.status, 0) << dir.out;
  EXPECT_EQ(json::parse(dir.out)["file"],
            std::string(GATEHOUSE_EXAMPLE_SERVER) + "/ArkApi/Plugins/Gatehouse/config.json");

  for (const char* arguments : {"", "--json", "--dir", "a.json b.json", "--dir . a.json",
                                "--dir . --dir .", "--strict a.json"}) {
    SCOPED_TRACE(arguments);
    const Ran bad = Shell(sim + " check " + arguments + " 2>&1");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(Contains(bad.out, "usage: gatehouse-sim check [--json] (--dir DIR | FILE)"));
  }
}

}  // namespace
