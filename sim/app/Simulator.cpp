#include "sim/app/Simulator.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <system_error>

#include "host/Tools.h"
#include "host/Utf8Path.h"
#include "sim/app/Numbers.h"
#include "sim/app/RconDispatch.h"
#include "sim/app/platform/Process.h"
#include "sim/framework/SimHost.h"
#include "sim/permissions/PermissionGroups.h"

namespace sim::app {
namespace {

namespace fs = std::filesystem;

constexpr size_t kRestOfLine = std::numeric_limits<size_t>::max();

// The line's words, separated by blanks and tabs.
std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  for (size_t begin = 0, end = 0; (begin = line.find_first_not_of(" \t", end)) != line.npos;) {
    end = std::min(line.find_first_of(" \t", begin), line.size());
    words.push_back(line.substr(begin, end - begin));
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

void ErrorUnless(bool ok, const std::string& error) {
  if (!ok) {
    PrintError(error);
  }
}

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// The one whole-number argument of a command (words[1]), or nothing after an
// error line that names what the command takes and what it got.
template <class Integer>
std::optional<Integer> CountArgument(const std::vector<std::string_view>& words,
                                     const std::string& takes) {
  const auto count = words.size() == 2 ? ParseCount<Integer>(words[1]) : std::nullopt;
  if (!count) {
    PrintError(takes + (words.size() == 2 ? ", not " + Quoted(words[1]) : std::string()));
  }
  return count;
}

// Copies source over target so that target is at every moment either the old
// file or the whole new one: the copy is written beside it and renamed over
// it. A copy that fails part way is removed and target stays as it was. A
// target that is a symlink has the file it points at replaced.
void ReplaceFile(const fs::path& source, fs::path target) {
  std::error_code error;
  std::error_code ignored;
  // A target that does not exist yet is no symlink, and no error either.
  if (fs::is_symlink(target, ignored)) {
    target = fs::canonical(target, error);
  }
  const fs::path beside = target.parent_path() / (u8"." + target.filename().u8string() + u8".new");
  // Copied to a fresh file: copying over an existing one fails on some
  // runtimes (MinGW's) even when asked to overwrite.
  fs::remove(beside, ignored);
  if (!error) {
    fs::copy_file(source, beside, error);
  }
  if (!error) {
    fs::rename(beside, target, error);
  }
  if (error) {
    fs::remove(beside, ignored);
    PrintError("cannot copy " + Utf8FromPath(source) + " to " + Utf8FromPath(target) + ": " +
               error.message());
  }
}

// A text's lines, split at each line end.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t begin = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', begin)) {
    lines.push_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  lines.push_back(text.substr(begin));
  return lines;
}

std::string MemoryLine() {
  const auto kilobytes = platform::ResidentKilobytes();
  return "memory: " + (kilobytes ? std::to_string(*kilobytes) : "unknown") + " kB resident, " +
         std::to_string(LiveEngineBlocks()) + " engine blocks live";
}

std::string AbsoluteFolder(const std::string& dir) {
  std::error_code error;
  const fs::path absolute = fs::weakly_canonical(fs::absolute(PathFromUtf8(dir)), error);
  return error ? dir : Utf8FromPath(absolute);
}

// A library the build puts in the simulator's folder, by the build's file name
// (libGatehouse.so, Gatehouse.dll; the permissions library).
std::string InFolder(const std::string& folder, const char* file) {
  return Utf8FromPath(PathFromUtf8(folder) / file);
}

}  // namespace

Simulator::Simulator(const Options& options, std::string simulator_folder,
                     std::string command_folder, EventLoop& loop)
    : command_folder_(std::move(command_folder)),
      permissions_path_(InFolder(simulator_folder, GATEHOUSE_PERMISSIONS_FILE)),
      loop_(loop),
      loader_(options.plugin.empty() ? InFolder(simulator_folder, GATEHOUSE_PLUGIN_FILE)
                                     : options.plugin) {
  SetCurrentDir(AbsoluteFolder(options.dir.empty() ? "." : options.dir));
  SetPermissionsLibraryPath(options.no_permissions ? std::string() : permissions_path_);
  for (const std::string& name : options.refuse) {
    RefuseRegistration(name);
  }
  SetTrace(options.trace);
  game_ = std::make_unique<Game>(options.max_players);
  local_rcon_.reply = [](int32_t request_id, int32_t type, const std::string& body) {
    const std::string prefix =
        "rcon reply " + std::to_string(request_id) + " " + std::to_string(type) + ":";
    if (body.empty()) {
      PrintLine(prefix);
      return;
    }
    // A reply of several lines prints each under the same prefix.
    for (const std::string& line : Lines(body)) {
      PrintLine(prefix + " " + line);
    }
  };
  loader_.Load();
}

Simulator::~Simulator() {
  if (loader_.Loaded()) {
    loader_.Unload();
  }
  game_.reset();
  ClearFileFaults(Faults());
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

// The command language: each command's name, the forms of its arguments for
// --help (one a line), how many words may follow it (checked before its action
// runs, with " takes ..." after the name as the complaint), and its action.
// Commands whose argument is a number check it themselves, so that the
// complaint can quote it.
const std::vector<Simulator::CommandRule>& Simulator::Commands() {
  static const std::vector<CommandRule> commands = {
      {"join", "ID", 1, 1, " takes one player id",
       [](Simulator& s, const Words& w, auto) {
         ErrorUnless(s.game_->Join(std::string(w[1])) != Game::JoinOutcome::already_online,
                     "player " + std::string(w[1]) + " is online already");
       }},
      {"leave", "ID", 1, 1, " takes one player id",
       [](Simulator& s, const Words& w, auto) {
         ErrorUnless(s.game_->Leave(std::string(w[1])),
                     "player " + std::string(w[1]) + " is not online");
       }},
      {"wait", "SECONDS", 0, kRestOfLine, nullptr,
       [](Simulator& s, const Words& w, auto) { s.Wait(w); }},
      {"capacity", "N", 0, kRestOfLine, nullptr,
       [](Simulator& s, const Words& w, auto) {
         if (const auto capacity =
                 CountArgument<int32_t>(w, "capacity takes a whole number of 0 or more")) {
           s.game_->SetCapacity(*capacity);
         }
       }},
      {"group", "ID GROUP", 2, 2, " takes a player id and a group",
       [](Simulator&, const Words& w, auto) {
         permissions::AddMember(std::string(w[1]), std::string(w[2]));
       }},
      {"ungroup", "ID GROUP", 2, 2, " takes a player id and a group",
       [](Simulator&, const Words& w, auto) {
         ErrorUnless(permissions::RemoveMember(std::string(w[1]), std::string(w[2])),
                     "player " + std::string(w[1]) + " is not in group " + std::string(w[2]));
       }},
      {"ban", "ID", 1, 1, " takes one player id",
       [](Simulator& s, const Words& w, auto) { s.game_->Ban(std::string(w[1])); }},
      {"unban", "ID", 1, 1, " takes one player id",
       [](Simulator& s, const Words& w, auto) {
         ErrorUnless(s.game_->Unban(std::string(w[1])),
                     "player " + std::string(w[1]) + " is not banned");
       }},
      {"console", "ID COMMAND...", 2, kRestOfLine, " takes a player id and a command",
       [](Simulator& s, const Words& w, std::string_view line) { s.Console(w, line); }},
      {"rcon", "COMMAND...", 1, kRestOfLine, " takes a command",
       [](Simulator& s, const Words& w, std::string_view line) {
         RunRconCommand(s.local_rcon_, s.next_rcon_request_++, RestAfter(line, w, 1),
                        s.game_->World());
       }},
      {"players", "", 0, 0, " takes no arguments",
       [](Simulator& s, const Words&, auto) { PrintLine(s.game_->PlayersLine()); }},
      {"config", "FILE\n--delete", 1, 1, " takes a file or --delete",
       [](Simulator& s, const Words& w, auto) { s.Config(w); }},
      {"explain", "ID", 1, 1, " takes one player id",
       [](Simulator& s, const Words& w, auto) { s.Explain(w); }},
      {"memory", "", 0, 0, " takes no arguments",
       [](Simulator&, const Words&, auto) { PrintLine(MemoryLine()); }},
      {"fault", kFaultForms, 0, kRestOfLine, nullptr,
       [](Simulator& s, const Words& w, auto) { RunFaultCommand(w, s.Faults()); }},
      {"load", "", 0, 0, " takes no arguments",
       [](Simulator& s, const Words&, auto) { s.loader_.Load(); }},
      {"unload", "", 0, 0, " takes no arguments",
       [](Simulator& s, const Words&, auto) { s.loader_.Unload(); }},
      {"quit", "", 0, 0, " takes no arguments",
       [](Simulator& s, const Words&, auto) { s.quit_ = true; }},
  };
  return commands;
}

std::string Simulator::CommandForms() {
  std::string forms;
  for (const CommandRule& command : Commands()) {
    for (const std::string& form : Lines(command.arguments)) {
      forms += "  " + std::string(command.name) + (form.empty() ? "" : " ") + form + "\n";
    }
  }
  return forms;
}

void Simulator::Run(std::string_view line) {
  const Words words = SplitWords(line);
  if (words.empty() || words.front().front() == '#') {
    return;
  }
  const std::string_view name = words.front();
  const auto& commands = Commands();
  const auto command = std::find_if(commands.begin(), commands.end(),
                                    [&](const CommandRule& rule) { return rule.name == name; });
  if (command == commands.end()) {
    PrintError("unknown command " + Quoted(name));
    return;
  }
  const size_t arguments = words.size() - 1;
  if (arguments < command->min_arguments || arguments > command->max_arguments) {
    PrintError(std::string(name) + command->complaint);
    return;
  }
  command->action(*this, words, line);
}

void Simulator::Wait(const Words& words) {
  const auto seconds = CountArgument<int64_t>(words, "wait takes a whole number of seconds");
  if (!seconds) {
    return;
  }
  if (GetClockMode() == ClockMode::virtual_time) {
    // Beyond its end the clock could not tell the due time of a callable
    // scheduled after the wait: refused rather than run out.
    if (*seconds > SecondsLeftOnClock()) {
      PrintError("wait " + std::to_string(*seconds) + " would run the clock out: it has " +
                 std::to_string(SecondsLeftOnClock()) + " seconds left");
      return;
    }
    AdvanceSeconds(*seconds);
    return;
  }
  constexpr int64_t kLongest = std::numeric_limits<int64_t>::max() / 2000;
  loop_.WaitRealTime(std::min(*seconds, kLongest) * 1000);
}

void Simulator::Console(const Words& words, std::string_view line) {
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

std::string Simulator::ConfigPath() const {
  return AsaApi::Tools::GetCurrentDir() + "/" + AsaApi::Tools::kPluginsFolder +
         "/Gatehouse/config.json";
}

FaultTargets Simulator::Faults() const {
  return {permissions_path_, ConfigPath()};
}

void Simulator::Config(const Words& words) {
  const fs::path target = PathFromUtf8(ConfigPath());
  std::error_code error;
  if (words[1] == "--delete") {
    fs::remove(target, error);
    ErrorUnless(!error, "cannot delete " + Utf8FromPath(target) + ": " + error.message());
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
  ReplaceFile(source, target);
}

void Simulator::Explain(const Words& words) {
  const std::string id(words[1]);
  const std::string prefix = "explain " + id + ": ";
  if (!loader_.Loaded()) {
    PrintLine(prefix + "the plugin is not loaded; the game decides alone");
    return;
  }
  // The plugin explains itself: its own RCON command, asked as a local client
  // whose request takes no number from the `rcon` command's count.
  std::optional<std::string> answer;
  RCONClientConnection asking;
  asking.reply = [&](int32_t, int32_t, const std::string& body) { answer = body; };
  if (!RunRconCommand(asking, 0, "Gatehouse.Explain " + id, game_->World())) {
    PrintLine(prefix + (HasRegistrations(loader_.LibraryPath())
                            ? "the plugin has no Gatehouse.Explain command (the host did not "
                              "register it), so its decisions cannot be asked"
                            : "the plugin is idle (config.json could not be read when it was "
                              "loaded) and has no hooks until it is loaded again; the game "
                              "decides alone"));
    return;
  }
  if (!answer) {
    PrintLine(prefix + "the plugin did not answer (its log says why)");
    return;
  }
  for (const std::string& line : Lines(*answer)) {
    PrintLine(prefix + line);
  }
}

}  // namespace sim::app
