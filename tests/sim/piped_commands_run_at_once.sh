#!/usr/bin/env bash
# Commands that arrive through a pipe run as soon as their line is complete:
# the answer to one line comes back while the pipe is still open and before the
# next line is written.
#
#   piped_commands_run_at_once.sh SIM TEST_PLUGIN
set -uo pipefail
# shellcheck source=../harness/piped_sim.sh
source "$(dirname "$0")/../harness/piped_sim.sh"

start_sim sim "$1" --dir "$work" --plugin "$2"
expect sim "plugin loaded"
send sim "join alice"
expect sim "test plugin: post-login"
expect sim "join alice: admitted"
send sim "players"
expect sim "players 1/70: alice"
send sim "quit"
expect sim "plugin unloaded"
