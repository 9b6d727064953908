#!/usr/bin/env bash
# Plays one scenario file through gatehouse-sim and compares what it printed.
#
#   run_scenario.sh SIM PLUGIN SCENARIO
#
# A scenario file is made of sections, each opened by a line "## NAME":
#   ## args           extra command-line options for gatehouse-sim (one line)
#   ## config         the plugin's config.json before the start (absent: no file)
#   ## file NAME      a file written beside the script (for the `config` command)
#   ## script         the command script
#   ## stdout         the expected standard output
#   ## log            the expected server.log (absent: not compared)
#   ## status         the expected exit status (absent: 0)
# Time stamps differ from run to run, so both sides are compared with every
# console stamp and log-record stamp written as MM/DD/YY HH:MM, and with the
# escape byte written as ^[ so that the expected files stay readable.
set -uo pipefail

sim=$1
plugin=$2
scenario=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Split the scenario into one file per section.
awk -v dir="$work/sections" '
  BEGIN { system("mkdir -p \"" dir "\"") }
  /^## / { name = substr($0, 4); gsub(/ /, "_", name); out = dir "/" name; printf "" > out; next }
  out != "" { print >> out }
' "$scenario"

section() { [ -f "$work/sections/$1" ]; }

server="$work/server"
mkdir -p "$server/ArkApi/Plugins/Gatehouse"
section config && cp "$work/sections/config" "$server/ArkApi/Plugins/Gatehouse/config.json"
for f in "$work"/sections/file_*; do
  [ -e "$f" ] || continue
  cp "$f" "$work/${f##*/file_}"
done
touch "$work/sections/script"
cp "$work/sections/script" "$work/script.txt"

args=()
section args && read -r -a args <"$work/sections/args"

normalize() {
  sed -e 's/\x1b/^[/g' \
      -e 's#\^\[\[\([0-9]*\)m[0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9] #^[[\1mMM/DD/YY HH:MM #' \
      -e 's#^[0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9] \[#MM/DD/YY HH:MM [#' \
      -e 's/\r$//'
}

status=0
(cd "$work" && timeout 60 "$sim" --dir "$server" --plugin "$plugin" --script "$work/script.txt" "${args[@]}" \
  >"$work/stdout" 2>"$work/stderr") || status=$?

failed=0
compare() {  # compare EXPECTED ACTUAL WHAT
  if ! diff -u <(normalize <"$1") <(normalize <"$2") >"$work/diff"; then
    echo "FAIL: $3 differs from the expected ($scenario):"
    cat "$work/diff"
    failed=1
  fi
}

expected_status=0
section status && expected_status=$(tr -d ' \n' <"$work/sections/status")
if [ "$status" != "$expected_status" ]; then
  echo "FAIL: exit status $status, expected $expected_status"
  failed=1
fi
compare "$work/sections/stdout" "$work/stdout" "standard output"
if section log; then
  log="$server/ArkApi/Logs/server.log"
  [ -f "$log" ] || log=/dev/null
  compare "$work/sections/log" "$log" "server.log"
fi
if ((failed)); then
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit $failed
