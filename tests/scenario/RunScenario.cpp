// gatehouse-scenario: plays one scenario file through gatehouse-sim and
// compares what the simulator printed with what the file expects.
//
//   gatehouse-scenario SIM PLUGIN SCENARIO
//
// A scenario file is made of sections, each opened by a line "## NAME":
//   ## args         options for gatehouse-sim, one line split at blanks; PLUGIN
//                   stands for the plugin given here (absent: --plugin PLUGIN)
//   ## env          VAR=VALUE lines set for the run
//   ## config       the plugin's config.json before the start (absent: no file)
//   ## file NAME    a file written beside the script (for the `config` command)
//   ## script       the command script (absent: nothing on standard input)
//   ## stdout       the expected standard output
//   ## stdout windows  the expected standard output of a Windows build, where
//                   it differs (the system's own words for a failure)
//   ## stderr       the expected standard error, each line a shell pattern
//                   (absent: not compared)
//   ## log          the expected server.log (absent: not compared)
//   ## status       the expected exit status (absent: 0)
// The simulator runs in a fresh folder that holds the script and the files,
// with the server folder inside it given as --dir. Output and log are compared
// after OutputMatch.h's normalization of what differs from run to run.
// Whatever the scenario expects, the run must leak no engine block and trip no
// sanitizer. Exits 0 when everything matches, 1 naming each difference, 2 when
// the scenario cannot be played.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/app/platform/Process.h"
#include "src/host/Utf8Path.h"
#include "tests/scenario/OutputMatch.h"
#include "tests/scenario/RunProcess.h"

namespace gatehouse::scenario {
namespace {

namespace fs = std::filesystem;

constexpr std::chrono::seconds kRunLimit{60};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + Utf8FromPath(path));
  }
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  if (!(out << text)) {
    throw std::runtime_error("cannot write " + Utf8FromPath(path));
  }
}

// The file's sections by name, each the text of its lines, every line ended.
std::map<std::string, std::string> ReadSections(const fs::path& scenario) {
  std::map<std::string, std::string> sections;
  std::string* section = nullptr;
  const std::string text = ReadFile(scenario);
  for (const std::string_view line : Lines(text)) {
    if (line.substr(0, 3) == "## ") {
      section = &sections[std::string(line.substr(3))];
      section->clear();
    } else if (section != nullptr) {
      section->append(line).append("\n");
    }
  }
  return sections;
}

// A new, empty folder of its own under the system's temporary folder, removed
// with everything in it when this goes.
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
      path_ = fs::temp_directory_path() / ("gatehouse-scenario-" + std::to_string(random()));
      if (fs::create_directory(path_)) {
        return;
      }
    }
    throw std::runtime_error("cannot make a folder in " + Utf8FromPath(fs::temp_directory_path()));
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

// Runs with `folder` as the current folder, the one before restored after.
int RunIn(const fs::path& folder, const std::vector<std::string>& command, const fs::path& out,
          const fs::path& err) {
  const fs::path before = fs::current_path();
  fs::current_path(folder);
  struct Restore {
    const fs::path& path;
    ~Restore() {
      std::error_code ignored;
      fs::current_path(path, ignored);
    }
  } restore{before};
  return RunProcess(command, out, err, kRunLimit);
}

std::vector<std::string> Words(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    words.push_back(word);
  }
  return words;
}

// The names the plugin's file may be reported by: as given, made absolute and
// with links resolved, and as Wine shows a Unix path to a Windows program.
std::vector<std::string> PluginPaths(const std::string& plugin) {
  std::error_code ignored;
  const fs::path given = PathFromUtf8(plugin);
  std::string wine = "Z:" + plugin;
  std::replace(wine.begin(), wine.end(), '/', '\\');
  return {Utf8FromPath(fs::weakly_canonical(given, ignored)), Utf8FromPath(fs::absolute(given)),
          wine};
}

class Verdict {
 public:
  void Fail(const std::string& what) {
    std::cout << "FAIL: " << what << "\n";
    failed_ = true;
  }
  void Compare(const std::string& expected, const std::string& actual, const std::string& what,
               const std::string& scenario) {
    if (expected != actual) {
      Fail(what + " differs from the expected (" + scenario + "):");
      std::cout << UnifiedDiff(expected, actual);
    }
  }
  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

int Play(const std::string& sim, const std::string& plugin, const std::string& scenario) {
  std::map<std::string, std::string> sections = ReadSections(PathFromUtf8(scenario));
  const auto section = [&](const std::string& name) -> const std::string* {
    const auto found = sections.find(name);
    return found == sections.end() ? nullptr : &found->second;
  };

  const WorkFolder work;
  const fs::path server = work.Path() / "server";
  const fs::path plugin_folder = server / "ArkApi" / "Plugins" / "Gatehouse";
  fs::create_directories(plugin_folder);
  std::vector<std::string> command{Utf8FromPath(fs::absolute(PathFromUtf8(sim))), "--dir",
                                   Utf8FromPath(server)};
  std::vector<std::string> options{"--plugin", "PLUGIN"};
  if (const std::string* args = section("args")) {
    options = Words(Lines(*args).empty() ? std::string_view() : Lines(*args).front());
  }
  const std::string plugin_path = Utf8FromPath(fs::absolute(PathFromUtf8(plugin)));
  for (std::string& option : options) {
    for (size_t at = option.find("PLUGIN"); at != std::string::npos;
         at = option.find("PLUGIN", at + plugin_path.size())) {
      option.replace(at, 6, plugin_path);
    }
    command.push_back(option);
  }
  for (const auto& [name, text] : sections) {
    if (name == "config") {
      WriteFile(plugin_folder / "config.json", text);
    } else if (name.substr(0, 5) == "file ") {
      WriteFile(work.Path() / PathFromUtf8(name.substr(5)), text);
    }
  }
  if (const std::string* script = section("script")) {
    WriteFile(work.Path() / "script.txt", *script);
    command.insert(command.end(), {"--script", Utf8FromPath(work.Path() / "script.txt")});
  }
  if (const std::string* env = section("env")) {
    for (const std::string_view assignment : Lines(*env)) {
      const size_t equals = assignment.find('=');
      SetEnvironment(
          std::string(assignment.substr(0, equals)),
          equals == std::string_view::npos ? "" : std::string(assignment.substr(equals + 1)));
    }
  }

  const fs::path out = work.Path() / "stdout";
  const fs::path err = work.Path() / "stderr";
  const int status = RunIn(work.Path(), command, out, err);

  const std::vector<std::string> paths = PluginPaths(plugin);
  const auto normalized = [&](const std::string& text) { return Normalized(text, paths); };
  Verdict verdict;
  const std::string* status_text = section("status");
  const std::string expected_status = status_text == nullptr        ? "0"
                                      : Words(*status_text).empty() ? ""
                                                                    : Words(*status_text)[0];
  if (std::to_string(status) != expected_status) {
    verdict.Fail("exit status " + std::to_string(status) + ", expected " + expected_status);
  }
  const bool windows_build = plugin.size() >= 4 && plugin.substr(plugin.size() - 4) == ".dll";
  const std::string* expected_stdout = windows_build && section("stdout windows") != nullptr
                                           ? section("stdout windows")
                                           : section("stdout");
  verdict.Compare(normalized(expected_stdout == nullptr ? "" : *expected_stdout),
                  normalized(ReadFile(out)), "standard output", scenario);
  if (const std::string* log = section("log")) {
    const fs::path server_log = server / "ArkApi" / "Logs" / "server.log";
    verdict.Compare(normalized(*log),
                    fs::exists(server_log) ? normalized(ReadFile(server_log)) : "", "server.log",
                    scenario);
  }
  const std::string errors = ReadFile(err);
  if (const std::string* patterns = section("stderr")) {
    const std::string actual_text = normalized(errors);
    const std::vector<std::string_view> expected = Lines(*patterns);
    const std::vector<std::string_view> actual = Lines(actual_text);
    if (expected.size() != actual.size()) {
      verdict.Fail(std::to_string(actual.size()) + " lines on standard error, expected " +
                   std::to_string(expected.size()));
    } else {
      for (size_t i = 0; i < expected.size(); ++i) {
        if (!MatchesPattern(actual[i], expected[i])) {
          verdict.Fail("standard error line " + std::to_string(i + 1) + ": '" +
                       std::string(actual[i]) + "' does not match '" + std::string(expected[i]) +
                       "'");
        }
      }
    }
  }
  for (const char* report :
       {"engine blocks were never freed", "AddressSanitizer", "LeakSanitizer", "runtime error:"}) {
    if (errors.find(report) != std::string::npos) {
      verdict.Fail("a leak or a sanitizer report on standard error");
      break;
    }
  }
  if (verdict.Failed()) {
    std::cout << "--- standard error:\n" << errors;
  }
  return verdict.Failed() ? 1 : 0;
}

}  // namespace
}  // namespace gatehouse::scenario

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = sim::app::platform::Arguments(argc, argv);
  if (arguments.size() != 3) {
    std::cerr << "usage: gatehouse-scenario SIM PLUGIN SCENARIO\n";
    return 2;
  }
  try {
    return gatehouse::scenario::Play(arguments[0], arguments[1], arguments[2]);
  } catch (const std::exception& error) {
    std::cout << "FAIL: " << arguments[2] << ": " << error.what() << "\n";
    return 2;
  }
}
