#!/usr/bin/env bash
# Runs `gatehouse-sim check` on one configuration file and compares its report,
# and its exit status, with the expected ones in the file of the same name
# ending in .expected: the text report, a line "exit N", then the --json report
# when the expected file holds one after a line "## json". The file's path is
# written as CONFIG.
#
#   check_report.sh SIM CONFIG
set -uo pipefail

sim=$1
config=$2
expected="${config%.json}.expected"

actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
"$sim" check "$config" >"$actual" 2>&1
echo "exit $?" >>"$actual"
if grep -qx '## json' "$expected"; then
  echo '## json' >>"$actual"
  "$sim" check --json "$config" >>"$actual" 2>&1
fi
# Line ends are the system's: a Windows build ends its lines in \r\n.
if ! diff -u <(tr -d '\r' <"$actual" | sed "s#$config#CONFIG#g") "$expected"; then
  echo "FAIL: the report on $config differs from $expected"
  exit 1
fi
