#include "operator/ListChange.h"

#include <exception>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "admission/PreparedLists.h"
#include "common/Names.h"
#include "config/AuditLog.h"
#include "config/ConfigReads.h"
#include "config/PlayersText.h"
#include "config/PluginConfig.h"
#include "config/ReadConfig.h"
#include "config/Settings.h"
#include "operator/CommandLine.h"
#include "platform/Platform.h"

namespace gatehouse {

namespace {

using nlohmann::json;

constexpr char kChanged[] =
    "config.json changed since it was last read; send Gatehouse.Reload, then try again";
constexpr char kUnchanged[] = "config.json and the settings in force are unchanged";
constexpr char kOnline[] = "in force now; players online are not affected (pending kicks stay)";

std::string JsonQuoted(const std::string& text) {
  return json(text).dump();
}

// The file now, or why it is not the file whose settings are in force.
std::optional<std::string> ReadBack(std::string& bytes) {
  try {
    bytes = ReadConfigBytes(ConfigPath());
  } catch (const std::exception& error) {
    return "config.json cannot be read since it was last read (" + std::string(error.what()) +
           "); put it back, send Gatehouse.Reload, then try again";
  }
  const std::optional<Fingerprint>& in_force = Reads().in_force;
  if (!in_force || FingerprintOf(bytes) != *in_force) {
    return std::string(kChanged);
  }
  return std::nullopt;
}

std::string FixByHand(const std::string& problem) {
  return problem + "; nothing written: fix config.json by hand, then send Gatehouse.Reload";
}

// Why the list in force cannot be changed by a command: only a list of
// strings (or a single string, or none) can be.
std::optional<std::string> Uneditable(const json& document) {
  if (!document.is_object()) {
    return FixByHand(std::string("config.json holds ") + document.type_name() +
                     ", not a JSON object");
  }
  const auto found = document.find(Settings::kWhitelistedPlayers);
  if (found == document.end() || found->is_null() || found->is_string()) {
    return std::nullopt;
  }
  if (!found->is_array()) {
    return FixByHand(std::string("WhitelistedPlayers is ") + found->type_name() +
                     ", not a list of strings");
  }
  for (size_t i = 0; i < found->size(); ++i) {
    if (!(*found)[i].is_string()) {
      return FixByHand("WhitelistedPlayers entry " + std::to_string(i + 1) + " is " +
                       (*found)[i].type_name() + ", not a string");
    }
  }
  return std::nullopt;
}

size_t EntriesIn(const json& players) {
  return players.is_array() ? players.size() : (players.is_string() ? 1 : 0);
}

const std::string& EntryAt(const json& players, size_t position) {
  return (players.is_array() ? players[position] : players).get_ref<const std::string&>();
}

std::string Entries(size_t count) {
  return std::to_string(count) + (count == 1 ? " entry" : " entries");
}

// The checks both commands make before they change anything; the answer when
// one of them fails.
struct Change {
  std::string id;
  std::string bytes;
  std::vector<size_t> matches;
};

std::optional<std::string> Prepare(std::u16string_view id, const char* command, Change& change) {
  if (auto refused = RefusedId(id, command)) {
    return refused;
  }
  change.id.assign(id.begin(), id.end());
  if (auto changed = ReadBack(change.bytes)) {
    return changed;
  }
  if (auto uneditable = Uneditable(PluginConfig())) {
    return uneditable;
  }
  const FString identifier = FString::FromUnits(id.data(), static_cast<int32_t>(id.size()));
  change.matches =
      CurrentLists().whitelisted_players.Matches(identifier, Settings::WhitelistedPlayers());
  return std::nullopt;
}

// The list in the file's text; it is the list in force, entry for entry.
PlayersText TextOf(const Change& change) {
  PlayersText text(change.bytes);
  if (text.EntryCount() != EntriesIn(Settings::WhitelistedPlayers())) {
    throw std::runtime_error("the list in config.json does not match the one in force");
  }
  return text;
}

// Writes the new bytes and puts them in force; a failure is the answer.
std::optional<std::string> Save(const std::string& bytes, const char* command) {
  // Parsed before the file is touched: what is written is what a reload reads.
  json parsed = ParseConfigBytes(bytes);
  // A config.json that links to a shared file: that file is replaced, and
  // the link stays, so every server that links to it sees the change.
  const std::string path = ConfigPath();
  const std::string failure = Platform::ReplaceFileWhole(Platform::WriteTarget(path), bytes);
  if (!failure.empty()) {
    return std::string(command) + " failed: " + failure + "; " + kUnchanged;
  }
  PutInForce(bytes, std::move(parsed));
  RecordStateSeen(Platform::StateOf(path));
  return std::nullopt;
}

template <class Run>
std::string Answer(const char* command, Run run) {
  try {
    return run();
  } catch (const std::exception& error) {
    return std::string(command) + " failed: " + error.what() + "; " + kUnchanged;
  }
}

}  // namespace

std::string AddPlayer(std::u16string_view id) {
  return Answer(Names::kAddCommand, [&]() -> std::string {
    Change change;
    if (auto refused = Prepare(id, Names::kAddCommand, change)) {
      return *refused;
    }
    const json& players = Settings::WhitelistedPlayers();
    if (!change.matches.empty()) {
      return JsonQuoted(change.id) + " is already listed as " +
             JsonQuoted(EntryAt(players, change.matches.front())) +
             " in WhitelistedPlayers; nothing written";
    }
    const size_t count = EntriesIn(players) + 1;
    const PlayersText text = TextOf(change);
    if (auto failed = Save(text.Appended(JsonQuoted(change.id)), Names::kAddCommand)) {
      return *failed;
    }
    Audit("add",
          {{"id", change.id}, {"source", "rcon"}, {"reason", "added to WhitelistedPlayers"}});
    return "Added " + JsonQuoted(change.id) + " to WhitelistedPlayers and saved config.json (" +
           Entries(count) + "); " + kOnline;
  });
}

std::string RemovePlayer(std::u16string_view id) {
  return Answer(Names::kRemoveCommand, [&]() -> std::string {
    Change change;
    if (auto refused = Prepare(id, Names::kRemoveCommand, change)) {
      return *refused;
    }
    if (change.matches.empty()) {
      return JsonQuoted(change.id) + " is not listed in WhitelistedPlayers; nothing written";
    }
    const json& players = Settings::WhitelistedPlayers();
    std::string removed;
    for (const size_t position : change.matches) {
      removed += (removed.empty() ? "" : ", ") + JsonQuoted(EntryAt(players, position));
    }
    const size_t count = EntriesIn(players) - change.matches.size();
    const PlayersText text = TextOf(change);
    if (auto failed = Save(text.Without(change.matches), Names::kRemoveCommand)) {
      return *failed;
    }
    Audit("remove", {{"id", change.id},
                     {"source", "rcon"},
                     {"entries", removed},
                     {"reason", "removed from WhitelistedPlayers"}});
    return "Removed " + removed + " from WhitelistedPlayers and saved config.json (" +
           Entries(count) + "); " + kOnline;
  });
}

}  // namespace gatehouse
