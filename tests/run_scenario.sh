#!/usr/bin/env bash
# Plays one scenario file through gatehouse-sim and compares what it printed.
#
#   run_scenario.sh SIM PLUGIN SCENARIO
#
# A scenario file is made of sections, each opened by a line "## NAME":
#   ## args         options for gatehouse-sim, one line; PLUGIN stands for the
#                   plugin given here (absent: --plugin PLUGIN)
#   ## env          VAR=VALUE lines set for the run
#   ## config       the plugin's config.json before the start (absent: no file)
#   ## file NAME    a file written beside the script (for the `config` command)
#   ## script       the command script (absent: nothing on standard input)
#   ## stdout       the expected standard output
#   ## stdout windows  the expected standard output of a Windows build, where
#                   it differs (the system's own words for a failure)
#   ## stderr       the expected standard error, each line a shell pattern
#                   (absent: not compared)
#   ## log          the expected server.log (absent: not compared)
#   ## status       the expected exit status (absent: 0)
# The server folder is always given with --dir. Time stamps differ from run to
# run, so output and log are compared with every console stamp and log-record
# stamp written as MM/DD/YY HH:MM, the escape byte written as ^[ so that the
# expected files stay readable, the plugin's full path written as PLUGIN, and
# the date and time of a status reply written as YYYY-MM-DD HH:MM:SS.
# Lines may end in "\r\n" (a Windows build): the "\r" is dropped, once.
set -uo pipefail

sim=$1
plugin=$2
scenario=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One file per section, section-NAME. Each scenario starts a few dozen
# processes at most: the suite plays every scenario, so each one saved counts.
# The config, the script and the files go straight where the run reads them.
server="$work/server"
mkdir -p "$server/ArkApi/Plugins/Gatehouse"
awk -v dir="$work" -v config="$server/ArkApi/Plugins/Gatehouse/config.json" '
  /^## / {
    name = substr($0, 4); gsub(/ /, "_", name)
    if (name == "config") out = config
    else if (name == "script") out = dir "/script.txt"
    else if (name ~ /^file_/) out = dir "/" substr(name, 6)
    else out = dir "/section-" name
    printf "" > out; next
  }
  out != "" { print >> out }
' "$scenario"
section() { [ -f "$work/section-$1" ]; }

args=(--plugin PLUGIN)
section args && read -r -a args <"$work/section-args"
args=("${args[@]//PLUGIN/$plugin}")
[ -f "$work/script.txt" ] && args+=(--script "$work/script.txt")
env_vars=()
section env && mapfile -t env_vars <"$work/section-env"

status=0
(
  cd "$work" || exit
  for assignment in "${env_vars[@]}"; do export "${assignment?}"; done
  exec timeout 60 "$sim" --dir "$server" "${args[@]}" </dev/null >"$work/stdout" 2>"$work/stderr"
) || status=$?

plugin_path=$(realpath "$plugin" 2>/dev/null || echo "$plugin")
# A Windows build under Wine reports the same file as Z:\PATH\WITH\BACKSLASHES.
plugin_windows_path="Z:${plugin_path//\//\\}"
plugin_windows_pattern=${plugin_windows_path//\\/\\\\}
normalize() {  # normalize [-i FILE...]: the text on standard input, or FILEs in place
  sed "$@" -e "s#$plugin_path#PLUGIN#g" \
      -e "s#$plugin_windows_pattern#PLUGIN#g" \
      -e 's/\x1b/^[/g' \
      -e 's#\^\[\[\([0-9]*\)m[0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9] #^[[\1mMM/DD/YY HH:MM #' \
      -e 's#^[0-9][0-9]/[0-9][0-9]/[0-9][0-9] [0-9][0-9]:[0-9][0-9] \[#MM/DD/YY HH:MM [#' \
      -e 's#[0-9]\{4\}-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9]#YYYY-MM-DD HH:MM:SS#g' \
      -e 's/\r$//'
}

failed=0
fail() { echo "FAIL: $*"; failed=1; }
compare() {  # compare EXPECTED ACTUAL WHAT, both normalized already
  diff -u "$1" "$2" >"$work/diff" ||
    { fail "$3 differs from the expected ($scenario):"; cat "$work/diff"; }
}

expected_status=0
section status && expected_status=$(tr -d ' \n' <"$work/section-status")
[ "$status" = "$expected_status" ] || fail "exit status $status, expected $expected_status"
: >>"$work/section-stdout"
expected_stdout="$work/section-stdout"
[[ $plugin == *.dll ]] && section stdout_windows && expected_stdout="$work/section-stdout_windows"
compared=("$expected_stdout" "$work/stdout")
if section log; then
  log="$server/ArkApi/Logs/server.log"
  [ -f "$log" ] || : >"$work/no-log"
  [ -f "$log" ] || log="$work/no-log"
  compared+=("$work/section-log" "$log")
fi
normalize -i "${compared[@]}"
compare "$expected_stdout" "$work/stdout" "standard output"
! section log || compare "$work/section-log" "$log" "server.log"
if section stderr; then
  mapfile -t expected <"$work/section-stderr"
  mapfile -t actual < <(normalize <"$work/stderr")
  if [ "${#expected[@]}" != "${#actual[@]}" ]; then
    fail "${#actual[@]} lines on standard error, expected ${#expected[@]}"
  else
    for i in "${!expected[@]}"; do
      # shellcheck disable=SC2053
      [[ ${actual[$i]} == ${expected[$i]} ]] ||
        fail "standard error line $((i + 1)): '${actual[$i]}' does not match '${expected[$i]}'"
    done
  fi
fi
# Whatever the scenario expects, the run leaks no engine block and trips no
# sanitizer.
grep -qE 'engine blocks were never freed|AddressSanitizer|LeakSanitizer|runtime error:' "$work/stderr" &&
  fail "a leak or a sanitizer report on standard error"
if ((failed)); then
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit $failed
