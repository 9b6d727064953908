// gatehouse-sim: the simulated dedicated server. Reads commands from a script or
// standard input and runs each as soon as its line is complete.

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "sim/app/EventLoop.h"
#include "sim/app/LineSplitter.h"
#include "sim/app/Options.h"
#include "sim/app/RconService.h"
#include "sim/app/Simulator.h"
#include "sim/framework/SimHost.h"
#include "sim/operator/CheckCommand.h"

namespace {

using sim::app::ClockChoice;
using sim::app::EventLoop;
using sim::app::LineSplitter;
using sim::app::Options;
using sim::app::Simulator;

constexpr int kBadCommandLine = 2;

std::string SimulatorFolder(const char* argv0) {
  char resolved[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
  std::filesystem::path self;
  if (length > 0) {
    self = std::string(resolved, static_cast<size_t>(length));
  } else {
    self = std::filesystem::absolute(argv0);
  }
  return self.parent_path().string();
}

sim::ClockMode ChooseClock(const Options& options, bool input_is_terminal) {
  switch (options.clock) {
    case ClockChoice::virtual_time:
      return sim::ClockMode::virtual_time;
    case ClockChoice::real_time:
      return sim::ClockMode::real_time;
    case ClockChoice::automatic:
      break;
  }
  if (options.rcon_port) {
    return sim::ClockMode::real_time;
  }
  if (options.script.empty() && input_is_terminal) {
    return sim::ClockMode::real_time;
  }
  return sim::ClockMode::virtual_time;
}

void OnStopSignal(int /*signal*/) {
  EventLoop::RequestStop();
}

void InstallSignalHandlers() {
  // A reader that goes away must not end the server mid-line.
  std::signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: poll returns, and the loop sees the request
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
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
      loop.Pass(-1, 0);
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
  char buffer[65536];
  while (running && !EventLoop::StopRequested()) {
    const short events = loop.Pass(STDIN_FILENO, -1);
    if ((events & POLLNVAL) != 0) {
      return;
    }
    if ((events & (POLLIN | POLLHUP | POLLERR)) == 0) {
      continue;
    }
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
      continue;
    }
    if (got <= 0) {
      splitter.Finish(run);
      return;
    }
    splitter.Feed(std::string_view(buffer, static_cast<size_t>(got)), run, ReportTooLong);
  }
}

// Runs the server from the plugin's load to its unload at the end.
void RunServer(const Options& options, const std::string& script_text,
               const std::string& simulator_folder, const std::string& command_folder,
               EventLoop& loop, sim::app::RconService* rcon) {
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

}  // namespace

int main(int argc, char** argv) {
  // `check` inspects a configuration file and starts no server.
  if (argc > 1 && std::string(argv[1]) == "check") {
    return sim::op::RunCheck(std::vector<std::string>(argv + 2, argv + argc));
  }
  const auto parsed = sim::app::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::fprintf(stderr, "gatehouse-sim: %s\n%s\n", parsed.error.c_str(), sim::app::kUsage);
    return kBadCommandLine;
  }
  const Options& options = *parsed.options;
  if (options.help) {
    std::printf("%s\n", sim::app::kUsage);
    return 0;
  }
  if (!options.dir.empty() && !std::filesystem::is_directory(options.dir)) {
    std::fprintf(stderr, "gatehouse-sim: --dir %s is not a folder\n%s\n", options.dir.c_str(),
                 sim::app::kUsage);
    return kBadCommandLine;
  }
  std::string script_text;
  std::string command_folder = std::filesystem::current_path().string();
  if (!options.script.empty()) {
    std::ifstream script(options.script, std::ios::binary);
    if (!script || std::filesystem::is_directory(options.script)) {
      std::fprintf(stderr, "gatehouse-sim: cannot read script %s\n", options.script.c_str());
      return kBadCommandLine;
    }
    script_text.assign(std::istreambuf_iterator<char>(script), std::istreambuf_iterator<char>());
    command_folder = std::filesystem::absolute(options.script).parent_path().string();
  }

  InstallSignalHandlers();
  sim::SetClockMode(ChooseClock(options, isatty(STDIN_FILENO) != 0));
  EventLoop loop;
  // RCON over TCP listens before the plugin loads, so that a port that cannot
  // be had ends the run before anything happens.
  std::unique_ptr<sim::app::RconService> rcon;
  if (options.rcon_port) {
    std::string error;
    rcon = sim::app::RconService::Start(*options.rcon_port, options.rcon_password, &error);
    if (!rcon) {
      std::fprintf(stderr, "gatehouse-sim: cannot serve RCON: %s\n", error.c_str());
      return kBadCommandLine;
    }
    loop.AddSource(rcon.get());
  }
  RunServer(options, script_text, SimulatorFolder(argv[0]), command_folder, loop, rcon.get());
  // The plugin is unloaded and the game gone: every engine block handed out
  // since the start must have come back.
  if (const int64_t live = sim::LiveEngineBlocks(); live != 0) {
    sim::PrintError(std::to_string(live) + " engine blocks were never freed");
  }
  return 0;
}
