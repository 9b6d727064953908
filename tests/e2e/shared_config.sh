#!/usr/bin/env bash
# Two servers of a cluster share one config.json with ReloadOnChange on: an
# Add sent to the first is in force on the second at its next join, with no
# reload sent to it; a broken shared file leaves both deciding by the settings
# in force, each with one error record however many players join.
#
#   shared_config.sh SIM PLUGIN links|folder
#
# links: each server's config.json is a symbolic link to the shared file, and
# stays one after the Add. folder: both servers run in one folder (a Windows
# build under Wine, whose moves do not keep a POSIX link).
set -uo pipefail
# shellcheck source=../harness/piped_sim.sh
source "$(dirname "$0")/../harness/piped_sim.sh"
sim=$1
plugin=$2
mode=$3
skip='*'  # the servers print more than the lines waited for

plugin_dir=ArkApi/Plugins/Gatehouse
if [ "$mode" = links ]; then
  shared=$work/shared/config.json
  for s in a b; do
    mkdir -p "$work/$s/$plugin_dir"
    ln -s "$shared" "$work/$s/$plugin_dir/config.json"
  done
  dirs=("$work/a" "$work/b")
else
  shared=$work/shared/$plugin_dir/config.json
  dirs=("$work/shared" "$work/shared")
fi
mkdir -p "$(dirname "$shared")"
printf '%s\n' '{"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "ReloadOnChange": true, "KickTimer": 1}' \
  >"$shared"

# Both run at once, each reading its commands from a pipe.
start_sim a timeout 60 "$sim" --dir "${dirs[0]}" --plugin "$plugin"
start_sim b timeout 60 "$sim" --dir "${dirs[1]}" --plugin "$plugin"

expect a "plugin loaded"
expect b "plugin loaded"
send a "rcon Gatehouse.Add carol"
expect a "rcon reply 1 0: Added \"carol\" to WhitelistedPlayers and saved config.json (2 entries); in force now; players online are not affected (pending kicks stay)"
if [ "$mode" = links ]; then
  [ -L "$work/a/$plugin_dir/config.json" ] && [ -L "$work/b/$plugin_dir/config.json" ] ||
    fail "the Add replaced a link with a file"
fi

send b "join carol"
send b "wait 1"
send b "players"
expect b "players 1/70: carol"

# A broken shared file: both keep deciding by what they have in force.
printf '{"OnlyWhitelisted": false,' >"$shared"
for s in a b; do
  for line in "join dave" "join erin" "wait 1" "players"; do
    send $s "$line"
  done
done
expect a "players 0/70:"
expect b "players 1/70: carol"
send a "quit"
send b "quit"
expect a "plugin unloaded"
expect b "plugin unloaded"
# The rest of each output, once its server has ended.
wait
for s in a b; do
  cat <&"${from_sim[$s]}" >>"$work/$s.out"
done

for s in a b; do
  records=$(grep -c 'Failed to read config!' "$work/$s.err")
  [ "$records" = 1 ] || fail "server $s has $records records of the broken file, expected 1"
  tr -d '\r' <"$work/$s.out" | grep -qxF "kick dave: You are not whitelisted on this server!" ||
    fail "server $s did not keep deciding by the settings in force"
done
grep -q 'Reload' "$work/b.out" && fail "server b was sent a reload"
echo "ok: $mode"
