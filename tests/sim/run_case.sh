#!/usr/bin/env bash
# Runs gatehouse-sim on one case file and compares what it printed.
#
#   run_case.sh SIM TEST_PLUGIN CASE
#
# A case file is made of sections, each opened by a line "## NAME":
#   ## args     options for gatehouse-sim, one line (PLUGIN stands for the test
#               plugin; without this section: --plugin PLUGIN)
#   ## env      VAR=VALUE lines set for the run
#   ## script   the command script (absent: no --script, nothing on standard input)
#   ## stdout   the expected standard output (PLUGIN stands for the test plugin's full path)
#   ## stderr   the expected standard error; each line a shell pattern (absent: not compared)
#   ## status   the expected exit status (absent: 0)
set -uo pipefail

sim=$1
plugin=$2
case_file=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

awk -v dir="$work/sections" '
  BEGIN { system("mkdir -p \"" dir "\"") }
  /^## / { name = substr($0, 4); out = dir "/" name; printf "" > out; next }
  out != "" { print >> out }
' "$case_file"
section() { [ -f "$work/sections/$1" ]; }

mkdir -p "$work/server"
args=(--plugin PLUGIN)
section args && read -r -a args <"$work/sections/args"
args=("${args[@]//PLUGIN/$plugin}")
section script && args+=(--script "$work/sections/script")

env_vars=()
section env && mapfile -t env_vars <"$work/sections/env"

status=0
(cd "$work/server" && env "${env_vars[@]}" timeout 30 "$sim" --dir "$work/server" "${args[@]}" \
  </dev/null >"$work/stdout" 2>"$work/stderr") || status=$?

failed=0
expected_status=0
section status && expected_status=$(tr -d ' \n' <"$work/sections/status")
if [ "$status" != "$expected_status" ]; then
  echo "FAIL: exit status $status, expected $expected_status"
  failed=1
fi
touch "$work/sections/stdout"
plugin_path=$(realpath "$plugin")
if ! diff -u "$work/sections/stdout" <(sed "s#$plugin_path#PLUGIN#g" "$work/stdout"); then
  echo "FAIL: standard output differs"
  failed=1
fi
if section stderr; then
  mapfile -t expected <"$work/sections/stderr"
  mapfile -t actual <"$work/stderr"
  if [ "${#expected[@]}" != "${#actual[@]}" ]; then
    echo "FAIL: ${#actual[@]} lines on standard error, expected ${#expected[@]}"
    failed=1
  else
    for i in "${!expected[@]}"; do
      # shellcheck disable=SC2053
      if [[ ${actual[$i]} != ${expected[$i]} ]]; then
        echo "FAIL: standard error line $((i + 1)): '${actual[$i]}' does not match '${expected[$i]}'"
        failed=1
      fi
    done
  fi
fi
if ((failed)); then
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit $failed
