#include "sim/app/Simulator.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "host/Tools.h"
#include "host/Utf8Path.h"
#include "sim/app/Numbers.h"
#include "sim/app/RconDispatch.h"
#include "sim/framework/SimHost.h"
#include "sim/permissions/PermissionGroups.h"

namespace sim::app {
namespace {

namespace fs = std::filesystem;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) {
      ++at;
    }
    const size_t begin = at;
    while (at < line.size() && !IsBlank(line[at])) {
      ++at;
    }
    if (at > begin) {
      words.push_back(line.substr(begin, at - begin));
    }
  }
  return words;
}

// The rest of the line after its first `skip` words, from its first non-blank.
std::string RestAfter(std::string_view line, const std::vector<std::string_view>& words,
                      size_t skip) {
  if (words.size() <= skip) {
    return {};
  }
  const size_t begin = static_cast<size_t>(words[skip].data() - line.data());
  return std::string(line.substr(begin));
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// The one whole-number argument of a command (words[1]), or nothing after an
// error line that names what the command takes and what it got.
template <class Integer>
std::optional<Integer> CountArgument(const std::vector<std::string_view>& words,
                                     const std::string& takes) {
  const auto count = words.size() == 2
                         ? ParseCount<Integer>(words[1], std::numeric_limits<Integer>::max())
                         : std::nullopt;
  if (!count) {
    PrintError(takes + (words.size() == 2 ? ", not " + Quoted(words[1]) : std::string()));
  }
  return count;
}

std::string AbsoluteFolder(const std::string& dir) {
  std::error_code error;
  const fs::path absolute = fs::weakly_canonical(fs::absolute(PathFromUtf8(dir)), error);
  return error ? dir : Utf8FromPath(absolute);
}

}  // namespace

// The library file names are the build's (libGatehouse.so, Gatehouse.dll).
std::string DefaultPluginPath(const std::string& simulator_folder) {
  return Utf8FromPath(PathFromUtf8(simulator_folder) / GATEHOUSE_PLUGIN_FILE);
}

std::string PermissionsPathBeside(const std::string& simulator_folder) {
  return Utf8FromPath(PathFromUtf8(simulator_folder) / GATEHOUSE_PERMISSIONS_FILE);
}

Simulator::Simulator(const Options& options, std::string simulator_folder,
                     std::string command_folder, EventLoop& loop)
    : command_folder_(std::move(command_folder)),
      loop_(loop),
      loader_(options.plugin.empty() ? DefaultPluginPath(simulator_folder) : options.plugin) {
  SetCurrentDir(AbsoluteFolder(options.dir.empty() ? "." : options.dir));
  SetPermissionsLibraryPath(options.no_permissions ? std::string()
                                                   : PermissionsPathBeside(simulator_folder));
  SetTrace(options.trace);
  game_ = std::make_unique<Game>(options.max_players);
  local_rcon_.reply = [](int32_t request_id, int32_t type, const std::string& body) {
    PrintLine("rcon reply " + std::to_string(request_id) + " " + std::to_string(type) + ":" +
              (body.empty() ? "" : " " + body));
  };
  loader_.Load();
}

Simulator::~Simulator() {
  if (loader_.Loaded()) {
    loader_.Unload();
  }
  game_.reset();
}

bool Simulator::Execute(std::string_view line) {
  if (quit_) {
    return false;
  }
  // Whatever goes wrong in a command stays with that command.
  try {
    Run(line);
  } catch (const std::exception& error) {
    PrintError(error.what());
  } catch (...) {
    PrintError("the command failed");
  }
  return !quit_;
}

void Simulator::Run(std::string_view line) {
  const Words words = SplitWords(line);
  if (words.empty() || words.front().front() == '#') {
    return;
  }
  const std::string_view command = words.front();
  const auto no_arguments = [&] {
    if (words.size() == 1) {
      return true;
    }
    PrintError(std::string(command) + " takes no arguments");
    return false;
  };
  if (command == "join") {
    Join(words);
  } else if (command == "leave") {
    Leave(words);
  } else if (command == "wait") {
    Wait(words);
  } else if (command == "capacity") {
    Capacity(words);
  } else if (command == "group" || command == "ungroup") {
    Group(words, command == "group");
  } else if (command == "console") {
    Console(words, line);
  } else if (command == "rcon") {
    Rcon(words, line);
  } else if (command == "players") {
    Players(words);
  } else if (command == "config") {
    Config(words);
  } else if (command == "load") {
    if (no_arguments()) {
      loader_.Load();
    }
  } else if (command == "unload") {
    if (no_arguments()) {
      loader_.Unload();
    }
  } else if (command == "quit") {
    if (no_arguments()) {
      quit_ = true;
    }
  } else {
    PrintError("unknown command " + Quoted(command));
  }
}

void Simulator::Join(const Words& words) {
  if (words.size() != 2) {
    PrintError("join takes one player id");
    return;
  }
  const std::string id(words[1]);
  if (game_->Join(id) == Game::JoinOutcome::already_online) {
    PrintError("player " + id + " is online already");
  }
}

void Simulator::Leave(const Words& words) {
  if (words.size() != 2) {
    PrintError("leave takes one player id");
    return;
  }
  const std::string id(words[1]);
  if (!game_->Leave(id)) {
    PrintError("player " + id + " is not online");
  }
}

void Simulator::Wait(const Words& words) {
  const auto seconds = CountArgument<int64_t>(words, "wait takes a whole number of seconds");
  if (!seconds) {
    return;
  }
  if (GetClockMode() == ClockMode::virtual_time) {
    AdvanceSeconds(*seconds);
    return;
  }
  constexpr int64_t kLongest = std::numeric_limits<int64_t>::max() / 2000;
  loop_.WaitRealTime(std::min(*seconds, kLongest) * 1000);
}

void Simulator::Capacity(const Words& words) {
  const auto capacity = CountArgument<int32_t>(words, "capacity takes a whole number of 0 or more");
  if (!capacity) {
    return;
  }
  game_->SetCapacity(*capacity);
}

void Simulator::Group(const Words& words, bool add) {
  const char* command = add ? "group" : "ungroup";
  if (words.size() != 3) {
    PrintError(std::string(command) + " takes a player id and a group");
    return;
  }
  const std::string id(words[1]);
  const std::string group(words[2]);
  if (add) {
    permissions::AddMember(id, group);
    return;
  }
  if (!permissions::RemoveMember(id, group)) {
    PrintError("player " + id + " is not in group " + group);
  }
}

void Simulator::Console(const Words& words, std::string_view line) {
  if (words.size() < 3) {
    PrintError("console takes a player id and a command");
    return;
  }
  const std::string id(words[1]);
  AShooterPlayerController* player = game_->FindPlayer(id);
  if (player == nullptr) {
    PrintError("player " + id + " is not online");
    return;
  }
  const FString command = FStringFromUtf8(RestAfter(line, words, 2));
  if (!DispatchConsoleCommand(player, command)) {
    PrintError("unknown console command " + Quoted(words[2]));
  }
}

void Simulator::Rcon(const Words& words, std::string_view line) {
  if (words.size() < 2) {
    PrintError("rcon takes a command");
    return;
  }
  RunRconCommand(local_rcon_, next_rcon_request_++, RestAfter(line, words, 1), game_->World());
}

void Simulator::Players(const Words& words) {
  if (words.size() != 1) {
    PrintError("players takes no arguments");
    return;
  }
  PrintLine(game_->PlayersLine());
}

std::string Simulator::ConfigPath() const {
  return AsaApi::Tools::GetCurrentDir() + "/ArkApi/Plugins/Gatehouse/config.json";
}

void Simulator::Config(const Words& words) {
  if (words.size() != 2) {
    PrintError("config takes a file or --delete");
    return;
  }
  const fs::path target = PathFromUtf8(ConfigPath());
  std::error_code error;
  if (words[1] == "--delete") {
    fs::remove(target, error);
    if (error) {
      PrintError("cannot delete " + Utf8FromPath(target) + ": " + error.message());
    }
    return;
  }
  fs::path source = PathFromUtf8(words[1]);
  // A path from the root (also without a drive on Windows) is taken as it is.
  if (!source.has_root_directory()) {
    source = PathFromUtf8(command_folder_) / source;
  }
  if (!fs::is_regular_file(source, error)) {
    PrintError("cannot read " + Utf8FromPath(source) + ": no such file");
    return;
  }
  if (fs::exists(target, error) && fs::equivalent(source, target, error)) {
    return;
  }
  fs::create_directories(target.parent_path(), error);
  // Replaced, not overwritten in place: copying over an existing file fails on
  // some runtimes (MinGW's) even with overwrite_existing.
  fs::remove(target, error);
  fs::copy_file(source, target, error);
  if (error) {
    PrintError("cannot copy " + Utf8FromPath(source) + " to " + Utf8FromPath(target) + ": " +
               error.message());
  }
}

}  // namespace sim::app
