#include "sim/operator/CheckCommand.h"

#include <cstdio>
#include <optional>

#include "config/ReadConfig.h"
#include "sim/framework/SimHost.h"
#include "sim/operator/CheckReport.h"
#include "sim/operator/ConfigCheck.h"

namespace sim::op {

const char* const kCheckUsage = "usage: gatehouse-sim check [--json] (--dir DIR | FILE)";

namespace {

constexpr int kBadCommandLine = 2;

struct CheckOptions {
  bool json = false;
  std::string dir;
  std::string file;
};

int Bad(const std::string& why) {
  std::fprintf(stderr, "gatehouse-sim check: %s\n%s\n", why.c_str(), kCheckUsage);
  return kBadCommandLine;
}

// Reads the command line into `options`. Gives the exit status when the run
// ends here (help, or a command line it refuses), nothing when it goes on.
std::optional<int> ParseArguments(const std::vector<std::string>& arguments,
                                  CheckOptions& options) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      std::printf("%s\n", kCheckUsage);
      return 0;
    }
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--dir") {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
        return Bad("--dir needs a folder");
      }
      if (!options.dir.empty()) {
        return Bad("--dir is given twice");
      }
      options.dir = arguments[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return Bad("unknown option '" + argument + "'");
    } else if (!options.file.empty()) {
      return Bad("one file only, not also '" + argument + "'");
    } else if (argument.empty()) {
      return Bad("the file name is empty");
    } else {
      options.file = argument;
    }
  }
  if (options.dir.empty() == options.file.empty()) {
    return Bad("give either --dir DIR or FILE");
  }
  return std::nullopt;
}

}  // namespace

int RunCheck(const std::vector<std::string>& arguments) {
  CheckOptions options;
  if (const std::optional<int> status = ParseArguments(arguments, options)) {
    return *status;
  }
  std::string path = options.file;
  if (!options.dir.empty()) {
    // The plugin's own path under the server folder.
    SetCurrentDir(options.dir);
    path = gatehouse::ConfigPath();
  }
  const CheckResult result = CheckConfigFile(path);
  const std::string report = options.json ? JsonReport(result) : TextReport(result);
  std::fwrite(report.data(), 1, report.size(), stdout);
  std::fflush(stdout);
  return result.ExitStatus();
}

}  // namespace sim::op
