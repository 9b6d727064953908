#!/usr/bin/env bash
# Commands that arrive through a pipe run as soon as their line is complete:
# the answer to one line comes back while the pipe is still open and before the
# next line is written.
#
#   piped_commands_run_at_once.sh SIM TEST_PLUGIN
set -uo pipefail

sim=$1
plugin=$2
work=$(mktemp -d)
trap 'exec {to_sim}>&- 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT

mkfifo "$work/in" "$work/out"
"$sim" --dir "$work" --plugin "$plugin" <"$work/in" >"$work/out" 2>"$work/err" &
exec {to_sim}>"$work/in"
exec {from_sim}<"$work/out"

expect() {
  local line
  if ! IFS= read -r -t 10 -u "$from_sim" line; then
    echo "FAIL: no line within 10 s, expected '$1'"
    exit 1
  fi
  line=${line%$'\r'}  # a Windows build ends its lines in "\r\n"
  if [ "$line" != "$1" ]; then
    echo "FAIL: got '$line', expected '$1'"
    exit 1
  fi
}

expect "plugin loaded"
echo "join alice" >&"$to_sim"
expect "test plugin: post-login"
expect "join alice: admitted"
echo "players" >&"$to_sim"
expect "players 1/70: alice"
echo "quit" >&"$to_sim"
expect "plugin unloaded"
