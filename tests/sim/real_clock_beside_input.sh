#!/usr/bin/env bash
# With the real clock, timers run while the simulator waits for its next line:
# a player who is not whitelisted is kicked a second after joining although no
# further line arrives, and the commands after it run as usual.
#
#   real_clock_beside_input.sh SIM PLUGIN
set -uo pipefail

sim=$1
plugin=$2
work=$(mktemp -d)
trap 'exec {to_sim}>&- 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

mkdir -p "$work/ArkApi/Plugins/Gatehouse"
echo '{"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickTimer": 1}' \
  >"$work/ArkApi/Plugins/Gatehouse/config.json"
mkfifo "$work/in" "$work/out"
"$sim" --dir "$work" --plugin "$plugin" --clock real <"$work/in" >"$work/out" 2>"$work/err" &
exec {to_sim}>"$work/in"
exec {from_sim}<"$work/out"

# The next line that contains the text, skipping the plugin's console lines.
expect() {
  local line
  while IFS= read -r -t 10 -u "$from_sim" line; do
    line=${line%$'\r'}  # a Windows build ends its lines in "\r\n"
    case $line in
      *'[GH]'*) continue ;;
      "$1") return 0 ;;
      *) echo "FAIL: got '$line', expected '$1'"; exit 1 ;;
    esac
  done
  echo "FAIL: no line within 10 s, expected '$1'"
  exit 1
}

expect "plugin loaded"
echo "join bob" >&"$to_sim"
expect "join bob: admitted"
expect "kick bob: You are not whitelisted on this server!"
echo "players" >&"$to_sim"
expect "players 0/70:"
echo "quit" >&"$to_sim"
expect "plugin unloaded"
