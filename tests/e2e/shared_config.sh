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

sim=$1
plugin=$2
mode=$3
work=$(mktemp -d)
pids=()
trap 'for fd in ${to_a:-} ${to_b:-}; do exec {fd}>&-; done 2>/dev/null; wait "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*"
  for s in a b; do
    echo "--- server $s stdout:"; cat "$work/$s.out"
    echo "--- server $s stderr:"; cat "$work/$s.err"
  done
  exit 1
}

config_of() { echo "$work/$1/ArkApi/Plugins/Gatehouse/config.json"; }
mkdir -p "$work/shared"
printf '%s\n' '{"OnlyWhitelisted": true, "WhitelistedPlayers": ["alice"], "ReloadOnChange": true, "KickTimer": 1}' \
  >"$work/shared/config.json"
if [ "$mode" = links ]; then
  a=a b=b
  for s in a b; do
    mkdir -p "$(dirname "$(config_of $s)")"
    ln -s "$work/shared/config.json" "$(config_of $s)"
  done
else
  a=shared b=shared
  mkdir -p "$work/shared/ArkApi/Plugins/Gatehouse"
  mv "$work/shared/config.json" "$(config_of shared)"
fi

# Each server reads its commands from a pipe, so that both run at once.
mkfifo "$work/a.in" "$work/b.in"
"$sim" --dir "$work/$a" --plugin "$plugin" <"$work/a.in" >"$work/a.out" 2>"$work/a.err" &
pids+=($!)
exec {to_a}>"$work/a.in"
"$sim" --dir "$work/$b" --plugin "$plugin" <"$work/b.in" >"$work/b.out" 2>"$work/b.err" &
pids+=($!)
exec {to_b}>"$work/b.in"

# Waits until the server's output holds this line (a Windows build ends its
# lines in "\r\n").
await() {
  for _ in $(seq 100); do
    tr -d '\r' <"$work/$1.out" | grep -qxF -- "$2" && return 0
    sleep 0.1
  done
  fail "server $1 never printed '$2'"
}
send() {  # send SERVER LINE
  local fd=to_$1
  echo "$2" >&"${!fd}"
}

await a "plugin loaded"
await b "plugin loaded"
send a "rcon Gatehouse.Add carol"
await a "rcon reply 1 0: Added \"carol\" to WhitelistedPlayers and saved config.json (2 entries); in force now; players online are not affected (pending kicks stay)"
if [ "$mode" = links ]; then
  [ -L "$(config_of a)" ] && [ -L "$(config_of b)" ] || fail "the Add replaced a link with a file"
fi

send b "join carol"
send b "wait 1"
send b "players"
await b "players 1/70: carol"

# A broken shared file: both keep deciding by what they have in force.
printf '{"OnlyWhitelisted": false,' >"$work/shared/$([ "$mode" = links ] && echo config.json || echo ArkApi/Plugins/Gatehouse/config.json)"
for s in a b; do
  send $s "join dave"
  send $s "join erin"
  send $s "wait 1"
  send $s "players"
done
await a "players 0/70:"
await b "players 1/70: carol"
send a "quit"
send b "quit"
await a "plugin unloaded"
await b "plugin unloaded"

for s in a b; do
  records=$(grep -c 'Failed to read config!' "$work/$s.err")
  [ "$records" = 1 ] || fail "server $s has $records records of the broken file, expected 1"
  tr -d '\r' <"$work/$s.out" | grep -qxF "kick dave: You are not whitelisted on this server!" ||
    fail "server $s did not keep deciding by the settings in force"
done
grep -q 'Reload' "$work/b.out" && fail "server b was sent a reload"
echo "ok: $mode"
