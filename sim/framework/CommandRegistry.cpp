// The command service: console and RCON commands by name, and the dispatch of a
// command line to the command named by its first word, ignoring case. Also
// what a library left registered when it was unloaded.

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/Commands.h"
#include "sim/framework/Internal.h"
#include "sim/framework/SimHost.h"

namespace sim {
namespace {

bool IsBlank(char16_t unit) {
  return unit == u' ' || unit == u'\t';
}

std::u16string_view FirstWord(const FString& line) {
  std::u16string_view text(*line, static_cast<size_t>(line.Len()));
  const auto begin = std::find_if_not(text.begin(), text.end(), IsBlank);
  const auto end = std::find_if(begin, text.end(), IsBlank);
  return text.substr(static_cast<size_t>(begin - text.begin()), static_cast<size_t>(end - begin));
}

// Whether two command names are one command: equal once A-Z are folded to a-z.
bool SameCommandName(std::u16string_view a, std::u16string_view b) {
  const auto fold = [](char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
  };
  return std::ranges::equal(a, b, [&](char16_t x, char16_t y) { return fold(x) == fold(y); });
}

// Callables of unloaded libraries that cannot be destroyed, since their
// destructors went with their code. Held for the rest of the process.
constexpr auto& Graveyard = NeverDestroyed<std::vector<const void*>>;

// A registered command. The callable sits on the heap so that one whose code
// has gone with its library can be let go of without running its destructor.
template <class Callback>
struct Command {
  std::u16string name;
  std::unique_ptr<Callback> callback;
  std::string owner;
};

// The console's or RCON's commands (`kind` names them in the trace).
template <class Callback>
class CommandList {
 public:
  explicit CommandList(const char* kind) : kind_(kind) {}

  // A refusal is not of the standard exception family: a plugin has to
  // contain whatever a host throws.
  void Add(const FString& name, const Callback& callback, const std::string& owner) {
    std::string utf8 = ToUtf8(name);
    Trace(std::string("add ") + kind_ + " command " + utf8);
    if (IsRefused(utf8)) {
      throw RefusedRegistration{std::move(utf8)};
    }
    commands_.push_back({std::u16string(*name, static_cast<size_t>(name.Len())),
                         std::make_unique<Callback>(callback), owner});
  }

  bool Remove(const FString& name) {
    Trace(std::string("remove ") + kind_ + " command " + ToUtf8(name));
    const std::u16string_view wanted(*name, static_cast<size_t>(name.Len()));
    const auto found = std::ranges::find(commands_, wanted, &Command<Callback>::name);
    if (found == commands_.end()) {
      return false;
    }
    commands_.erase(found);
    return true;
  }

  // A copy of the callable of the command this line names: a command may remove
  // commands while it runs.
  std::unique_ptr<Callback> Find(const FString& line) const {
    const std::u16string_view word = FirstWord(line);
    const auto found = std::find_if(commands_.begin(), commands_.end(), [&](const auto& c) {
      return !word.empty() && SameCommandName(c.name, word);
    });
    return found != commands_.end() ? std::make_unique<Callback>(*found->callback) : nullptr;
  }

  std::vector<std::string> RemoveLeftovers(const std::string& owner) {
    std::vector<std::string> removed;
    for (auto& command : commands_) {
      if (command.owner == owner) {
        removed.push_back(Utf16ToUtf8(command.name));
        // The callable's code went with its library: it is kept, never destroyed.
        Graveyard().push_back(command.callback.release());
      }
    }
    std::erase_if(commands_, [&](const auto& c) { return c.owner == owner; });
    return removed;
  }

  bool Owns(const std::string& owner) const {
    return std::ranges::any_of(commands_, [&](const auto& c) { return c.owner == owner; });
  }

  void Clear() { commands_.clear(); }

 private:
  const char* kind_;
  std::vector<Command<Callback>> commands_;
};

class CommandRegistry final : public AsaApi::ICommands {
 public:
  void AddConsoleCommand(const FString& command, const ConsoleCommandCallback& callback) override {
    console_.Add(command, callback, owner_);
  }
  void AddRconCommand(const FString& command, const RconCommandCallback& callback) override {
    rcon_.Add(command, callback, owner_);
  }
  bool RemoveConsoleCommand(const FString& command) override { return console_.Remove(command); }
  bool RemoveRconCommand(const FString& command) override { return rcon_.Remove(command); }

  CommandList<ConsoleCommandCallback> console_{"console"};
  CommandList<RconCommandCallback> rcon_{"rcon"};
  std::string owner_;
};

constexpr auto& TheRegistry = NeverDestroyed<CommandRegistry>;

}  // namespace

bool DispatchConsoleCommand(APlayerController* player, const FString& line) {
  const auto callback = TheRegistry().console_.Find(line);
  if (!callback) {
    return false;
  }
  FString argument(line);
  RunContained("console command '" + ToUtf8(line) + "'",
               [&] { (*callback)(player, &argument, false); });
  return true;
}

bool DispatchRconCommand(RCONClientConnection* connection, RCONPacket& packet, UWorld* world) {
  const auto callback = TheRegistry().rcon_.Find(packet.Body);
  if (!callback) {
    return false;
  }
  const FString line(packet.Body);
  RunContained("rcon command '" + ToUtf8(line) + "'",
               [&] { (*callback)(connection, &packet, world); });
  return true;
}

// A library's registrations: its commands here, its hooks in the hook table.

void SetLoadingLibrary(const std::string& library_path) {
  TheRegistry().owner_ = library_path;
  SetHooksOwner(library_path);
}

bool HasRegistrations(const std::string& library_path) {
  return !library_path.empty() &&
         (TheRegistry().console_.Owns(library_path) || TheRegistry().rcon_.Owns(library_path) ||
          HasHooksOf(library_path));
}

LeftBehind RemoveLeftoversOf(const std::string& library_path) {
  if (library_path.empty()) {
    return {};
  }
  return {TheRegistry().console_.RemoveLeftovers(library_path),
          TheRegistry().rcon_.RemoveLeftovers(library_path), RemoveLeftoverHooks(library_path)};
}

void ClearCommands() {
  TheRegistry().console_.Clear();
  TheRegistry().rcon_.Clear();
}

}  // namespace sim

AsaApi::ICommands& AsaApi::GetCommands() {
  return sim::TheRegistry();
}
