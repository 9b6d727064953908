// gatehouse-sim: the simulated dedicated server. Reads commands from a script or
// standard input and runs each as soon as its line is complete.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/Utf8Path.h"
#include "sim/app/EventLoop.h"
#include "sim/app/LineSplitter.h"
#include "sim/app/Options.h"
#include "sim/app/RemoteConsole.h"
#include "sim/app/Simulator.h"
#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"
#include "sim/operator/CheckCommand.h"

namespace {

using sim::app::ClockChoice;
using sim::app::EventLoop;
using sim::app::LineSplitter;
using sim::app::Options;
using sim::app::Simulator;

constexpr int kBadCommandLine = 2;

sim::ClockMode ChooseClock(const Options& options, bool input_is_terminal) {
  switch (options.clock) {
    case ClockChoice::virtual_time:
      return sim::ClockMode::virtual_time;
    case ClockChoice::real_time:
      return sim::ClockMode::real_time;
    case ClockChoice::automatic:
      break;
  }
  // RCON clients and a terminal get the real clock, so that timers run while
  // the server waits for them.
  return options.rcon_port || (options.script.empty() && input_is_terminal)
             ? sim::ClockMode::real_time
             : sim::ClockMode::virtual_time;
}

void ReportTooLong() {
  sim::PrintError("line too long, ignored");
}

void RunScript(const std::string& text, Simulator& simulator, EventLoop& loop) {
  std::vector<std::string> lines;
  LineSplitter splitter;
  const auto collect = [&](std::string_view line) { lines.emplace_back(line); };
  splitter.Feed(text, collect, ReportTooLong);
  splitter.Finish(collect);
  for (const auto& line : lines) {
    if (EventLoop::StopRequested()) {
      return;
    }
    if (sim::GetClockMode() == sim::ClockMode::real_time) {
      loop.Pass(sim::rcon::kInvalidSocket, 0);
    }
    if (!simulator.Execute(line)) {
      return;
    }
  }
}

void RunStandardInput(Simulator& simulator, EventLoop& loop) {
  LineSplitter splitter;
  bool running = true;
  const auto run = [&](std::string_view line) {
    if (running) {
      running = simulator.Execute(line);
    }
  };
  const bool ended = sim::app::platform::ReadStandardInput(loop, [&](std::string_view piece) {
    splitter.Feed(piece, run, ReportTooLong);
    return running;
  });
  if (ended) {
    splitter.Finish(run);
  }
}

// Runs the server from the plugin's load to its unload at the end.
void RunServer(const Options& options, const std::string& script_text,
               const std::string& simulator_folder, const std::string& command_folder,
               EventLoop& loop, sim::app::RemoteConsole* rcon) {
  Simulator simulator(options, simulator_folder, command_folder, loop);
  if (rcon != nullptr) {
    rcon->Serve(&simulator.GetGame());
  }
  if (!options.script.empty()) {
    RunScript(script_text, simulator, loop);
  } else {
    RunStandardInput(simulator, loop);
  }
  if (rcon != nullptr) {
    rcon->Serve(nullptr);
  }
}

// --help: the usage, the other ways to run, then every command form.
std::string HelpText() {
  const std::string_view check_usage = sim::op::kCheckUsage;
  const std::string_view usage_start = "usage: ";
  std::string text = sim::app::kUsage;
  text += "\n       ";
  text += check_usage.substr(check_usage.starts_with(usage_start) ? usage_start.size() : 0);
  text += "\n       gatehouse-sim --help | -h\n";
  text += "\ncommands, one a line, from --script FILE or standard input:\n";
  text += Simulator::CommandForms();
  text.pop_back();  // the last line end is printf's
  return text;
}

// The commands to run from --script (none: standard input), and the folder
// from which their relative `config` paths start.
struct Commands {
  std::string script_text;
  std::string folder;
};

std::optional<Commands> ReadCommands(const Options& options) {
  Commands commands{{}, Utf8FromPath(std::filesystem::current_path())};
  if (options.script.empty()) {
    return commands;
  }
  const std::filesystem::path script_path = PathFromUtf8(options.script);
  std::ifstream script(script_path, std::ios::binary);
  if (!script || std::filesystem::is_directory(script_path)) {
    std::fprintf(stderr, "gatehouse-sim: cannot read script %s\n", options.script.c_str());
    return std::nullopt;
  }
  commands.script_text.assign(std::istreambuf_iterator<char>(script),
                              std::istreambuf_iterator<char>());
  commands.folder = Utf8FromPath(std::filesystem::absolute(script_path).parent_path());
  return commands;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = sim::app::platform::Arguments(argc, argv);
  // `check` inspects a configuration file and starts no server.
  if (!arguments.empty() && arguments.front() == "check") {
    return sim::op::RunCheck(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  const auto parsed = sim::app::ParseOptions(arguments);
  if (!parsed.options) {
    std::fprintf(stderr, "gatehouse-sim: %s\n%s\n", parsed.error.c_str(), sim::app::kUsage);
    return kBadCommandLine;
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::printf("%s\n", HelpText().c_str());
    return 0;
  }
  if (!options.dir.empty() && !std::filesystem::is_directory(PathFromUtf8(options.dir))) {
    std::fprintf(stderr, "gatehouse-sim: --dir %s is not a folder\n%s\n", options.dir.c_str(),
                 sim::app::kUsage);
    return kBadCommandLine;
  }
  const auto commands = ReadCommands(options);
  if (!commands) {
    return kBadCommandLine;
  }
  sim::app::platform::InstallStopHandlers();
  sim::SetClockMode(ChooseClock(options, sim::app::platform::StandardInputIsTerminal()));
  EventLoop loop;
  // RCON over TCP listens before the plugin loads, so that a port that cannot be
  // had ends the run before anything happens.
  std::unique_ptr<sim::app::RemoteConsole> rcon;
  if (options.rcon_port) {
    rcon = std::make_unique<sim::app::RemoteConsole>(options.rcon_password);
    if (std::string error; !rcon->Listen(*options.rcon_port, &error)) {
      std::fprintf(stderr, "gatehouse-sim: cannot serve RCON: %s\n", error.c_str());
      return kBadCommandLine;
    }
    // Port 0 asks the system for a free one: the port it gave is the one line
    // that tells a client where to connect, on standard error before the plugin
    // loads.
    if (*options.rcon_port == 0) {
      std::fprintf(stderr, "gatehouse-sim: serving RCON on 127.0.0.1:%u\n",
                   static_cast<unsigned>(rcon->Port()));
      std::fflush(stderr);
    }
    loop.AddSource(rcon.get());
  }
  RunServer(options, commands->script_text, sim::app::platform::ExecutableFolder(argv[0]),
            commands->folder, loop, rcon.get());
  // The plugin is unloaded and the game gone: every engine block handed out
  // since the start must have come back.
  if (const int64_t live = sim::LiveEngineBlocks(); live != 0) {
    sim::PrintError(std::to_string(live) + " engine blocks were never freed");
  }
  return 0;
}
