#!/usr/bin/env bash
# With the real clock, timers run while the simulator waits for its next line:
# a player who is not whitelisted is kicked a second after joining although no
# further line arrives, and the commands after it run as usual.
#
#   real_clock_beside_input.sh SIM PLUGIN
set -uo pipefail
# shellcheck source=../harness/piped_sim.sh
source "$(dirname "$0")/../harness/piped_sim.sh"
skip='*\[GH\]*'  # the plugin's console lines

mkdir -p "$work/ArkApi/Plugins/Gatehouse"
echo '{"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "KickTimer": 1}' \
  >"$work/ArkApi/Plugins/Gatehouse/config.json"
start_sim sim "$1" --dir "$work" --plugin "$2" --clock real
expect sim "plugin loaded"
send sim "join bob"
expect sim "join bob: admitted"
expect sim "kick bob: You are not whitelisted on this server!"
send sim "players"
expect sim "players 0/70:"
send sim "quit"
expect sim "plugin unloaded"
