# shellcheck shell=bash
# Sourced by the tests that talk to gatehouse-sim servers a line at a time
# through pipes, so that each line is seen as soon as it is written. $work is a
# fresh folder, removed at the exit once the servers have ended.
#
#   start_sim NAME COMMAND...  starts server NAME (its errors: $work/NAME.err)
#   send NAME LINE             writes a command line to it
#   expect NAME LINE           reads its output up to LINE, for at most ten
#                              seconds, skipping only lines that match the
#                              shell pattern $skip; keeps each line read in
#                              $work/NAME.out
#   fail TEXT                  ends the test with every server's output
work=$(mktemp -d)
declare -A to_sim from_sim
trap 'for fd in "${to_sim[@]}" "${from_sim[@]}"; do exec {fd}>&-; done 2>/dev/null
      wait 2>/dev/null; rm -rf "$work"' EXIT
skip=

start_sim() {
  local name=$1 fd
  shift
  mkfifo "$work/$name.in" "$work/$name.pipe"
  "$@" <"$work/$name.in" >"$work/$name.pipe" 2>"$work/$name.err" &
  : >"$work/$name.out"
  exec {fd}>"$work/$name.in"
  to_sim[$name]=$fd
  exec {fd}<"$work/$name.pipe"
  from_sim[$name]=$fd
}

send() {
  echo "$2" >&"${to_sim[$1]}"
}

expect() {
  local line deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)) && IFS= read -r -t $((deadline - SECONDS)) -u "${from_sim[$1]}" line; do
    line=${line%$'\r'}  # a Windows build ends its lines in "\r\n"
    printf '%s\n' "$line" >>"$work/$1.out"
    [ "$line" = "$2" ] && return 0
    # shellcheck disable=SC2053  # $skip is a pattern
    [[ -n $skip && $line == $skip ]] || fail "$1 printed '$line', expected '$2'"
  done
  fail "$1 never printed '$2'"
}

fail() {
  echo "FAIL: $*"
  local name
  for name in "${!from_sim[@]}"; do
    echo "--- $name stdout:"
    cat "$work/$name.out"
    echo "--- $name stderr:"
    cat "$work/$name.err"
  done
  exit 1
}
