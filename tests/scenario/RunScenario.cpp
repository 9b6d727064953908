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
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "src/host/Utf8Path.h"
#include "tests/scenario/OutputMatch.h"
#include "tests/scenario/RunProcess.h"

namespace gatehouse::scenario {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + Utf8FromPath(path));
  }
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

// A new, empty folder under the system's temporary folder, made the current
// one; when this goes, the current folder is its parent again and the folder
// is removed with everything in it.
class WorkFolder {
 public:
  WorkFolder() {
    std::random_device random;
    do {
      path_ = fs::temp_directory_path() / ("gatehouse-scenario-" + std::to_string(random()));
    } while (!fs::create_directory(path_));
    fs::current_path(path_);
  }
  ~WorkFolder() {
    std::error_code ignored;
    fs::current_path(path_.parent_path(), ignored);
    fs::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::vector<std::string> Words(std::string_view text) {
  std::istringstream in{std::string(text)};
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The names the plugin's file may be reported by: made absolute with links
// resolved, made absolute, and as Wine shows a Unix path to a Windows program.
std::vector<std::string> PluginPaths(const std::string& plugin) {
  std::error_code ignored;
  std::string wine = "Z:" + plugin;
  std::replace(wine.begin(), wine.end(), '/', '\\');
  return {Utf8FromPath(fs::weakly_canonical(PathFromUtf8(plugin), ignored)),
          Utf8FromPath(fs::absolute(PathFromUtf8(plugin))), wine};
}

// Writes the scenario's files where the run reads them, sets its environment
// and answers the simulator's command line.
std::vector<std::string> LayOut(const std::map<std::string, std::string>& sections,
                                const fs::path& work, const std::string& sim_path,
                                const std::string& plugin_path) {
  const fs::path server = work / "server";
  const fs::path plugin_folder = server / "ArkApi" / "Plugins" / "Gatehouse";
  fs::create_directories(plugin_folder);
  std::vector<std::string> command{sim_path, "--dir", Utf8FromPath(server)};
  const auto args = sections.find("args");
  const std::vector<std::string> options =
      args == sections.end() ? std::vector<std::string>{"--plugin", "PLUGIN"}
                             : Words(args->second.substr(0, args->second.find('\n')));
  for (std::string option : options) {
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
      WriteFile(work / PathFromUtf8(name.substr(5)), text);
    } else if (name == "script") {
      WriteFile(work / "script.txt", text);
      command.insert(command.end(), {"--script", Utf8FromPath(work / "script.txt")});
    } else if (name == "env") {
      for (const std::string_view assignment : Lines(text)) {
        const size_t equals = std::min(assignment.find('='), assignment.size());
        SetEnvironment(std::string(assignment.substr(0, equals)),
                       std::string(assignment.substr(std::min(equals + 1, assignment.size()))));
      }
    }
  }
  return command;
}

int Play(const std::string& sim, const std::string& plugin, const std::string& scenario) {
  const std::map<std::string, std::string> sections = ReadSections(PathFromUtf8(scenario));
  const auto section = [&](const std::string& name) -> const std::string* {
    const auto found = sections.find(name);
    return found == sections.end() ? nullptr : &found->second;
  };
  const std::vector<std::string> plugin_paths = PluginPaths(plugin);
  // Made absolute before the work folder becomes the current one.
  const std::string plugin_path = plugin_paths[1];
  const std::string sim_path = Utf8FromPath(fs::absolute(PathFromUtf8(sim)));

  const WorkFolder work;
  const fs::path server = work.Path() / "server";
  const std::vector<std::string> command = LayOut(sections, work.Path(), sim_path, plugin_path);
  const fs::path out = work.Path() / "stdout";
  const fs::path err = work.Path() / "stderr";
  const int status = RunProcess(command, out, err);

  const auto normalized = [&](const std::string& text) { return Normalized(text, plugin_paths); };
  bool failed = false;
  const auto fail = [&](const std::string& what) {
    std::cout << "FAIL: " << what << "\n";
    failed = true;
  };
  const auto compare = [&](const std::string& expected, const std::string& actual,
                           const std::string& what) {
    if (expected != actual) {
      fail(what + " differs from the expected (" + scenario + "):");
      std::cout << UnifiedDiff(expected, actual);
    }
  };
  const std::vector<std::string> status_words = Words(section("status") ? *section("status") : "0");
  const std::string expected_status = status_words.empty() ? "" : status_words[0];
  if (std::to_string(status) != expected_status) {
    fail("exit status " + std::to_string(status) + ", expected " + expected_status);
  }
  const bool windows_build = plugin.ends_with(".dll") && section("stdout windows") != nullptr;
  const std::string* expected_out = section(windows_build ? "stdout windows" : "stdout");
  compare(normalized(expected_out ? *expected_out : ""), normalized(ReadFile(out)),
          "standard output");
  if (const std::string* log = section("log")) {
    const fs::path server_log = server / "ArkApi" / "Logs" / "server.log";
    compare(normalized(*log), fs::exists(server_log) ? normalized(ReadFile(server_log)) : "",
            "server.log");
  }
  const std::string errors = ReadFile(err);
  if (const std::string* patterns = section("stderr")) {
    const std::string normalized_errors = normalized(errors);
    const std::vector<std::string_view> expected = Lines(*patterns);
    const std::vector<std::string_view> actual = Lines(normalized_errors);
    if (expected.size() != actual.size()) {
      fail(std::to_string(actual.size()) + " lines on standard error, expected " +
           std::to_string(expected.size()));
    }
    for (size_t i = 0; expected.size() == actual.size() && i < expected.size(); ++i) {
      if (!MatchesPattern(actual[i], expected[i])) {
        fail("standard error line " + std::to_string(i + 1) + ": '" + std::string(actual[i]) +
             "' does not match '" + std::string(expected[i]) + "'");
      }
    }
  }
  const auto reported = [&](const char* report) {
    return errors.find(report) != std::string::npos;
  };
  if (reported("engine blocks were never freed") || reported("AddressSanitizer") ||
      reported("LeakSanitizer") || reported("runtime error:")) {
    fail("a leak or a sanitizer report on standard error");
  }
  if (failed) {
    std::cout << "--- standard error:\n" << errors;
  }
  return failed ? 1 : 0;
}

}  // namespace
}  // namespace gatehouse::scenario

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = gatehouse::scenario::CommandLine(argc, argv);
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
