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
trap 'for fd in ${to_a:-} ${to_b:-} ${from_a:-} ${from_b:-}; do exec {fd}>&-; done 2>/dev/null; wait "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

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

# Each server reads its commands from a pipe and writes its output into one,
# so that both run at once and every line is seen as soon as it is written.
# The script keeps a copy of each output line it read in $work/SERVER.out.
mkfifo "$work/a.in" "$work/b.in" "$work/a.pipe" "$work/b.pipe"
for s in a b; do
  dir=$([ $s = a ] && echo "$a" || echo "$b")
  timeout 60 "$sim" --dir "$work/$dir" --plugin "$plugin" <"$work/$s.in" >"$work/$s.pipe" \
    2>"$work/$s.err" &
  pids+=($!)
  : >"$work/$s.out"
  if [ $s = a ]; then
    exec {to_a}>"$work/a.in" {from_a}<"$work/a.pipe"
  else
    exec {to_b}>"$work/b.in" {from_b}<"$work/b.pipe"
  fi
done

# Reads the server's output up to this line (a Windows build ends its lines in
# "\r\n"), for at most ten seconds.
await() {  # await SERVER LINE
  local fd=from_$1 line deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)) && IFS= read -r -t $((deadline - SECONDS)) -u "${!fd}" line; do
    line=${line%$'\r'}
    printf '%s\n' "$line" >>"$work/$1.out"
    [ "$line" = "$2" ] && return 0
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
# The rest of each output, once its server has ended.
wait "${pids[@]}"
cat <&"$from_a" >>"$work/a.out"
cat <&"$from_b" >>"$work/b.out"

for s in a b; do
  records=$(grep -c 'Failed to read config!' "$work/$s.err")
  [ "$records" = 1 ] || fail "server $s has $records records of the broken file, expected 1"
  tr -d '\r' <"$work/$s.out" | grep -qxF "kick dave: You are not whitelisted on this server!" ||
    fail "server $s did not keep deciding by the settings in force"
done
grep -q 'Reload' "$work/b.out" && fail "server b was sent a reload"
echo "ok: $mode"
