#!/usr/bin/env bash
# The library entry at the plugin's two kinds of detach: unloaded by the host,
# it runs Unload, which takes its hooks and commands back from the host; with
# the process ending (the host and the other libraries may be gone already), it
# calls nothing of theirs.
#
#   process_end.sh PROGRAM [RUNNER]
set -uo pipefail
program=$1
runner=${2:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

run() {  # the program's standard output in a mode, without carriage returns
  ${runner:+"$runner"} "$program" "$1" | tr -d '\r'
}

out=$(run unload) || fail "the unload run failed: $out"
removals=$(sed -n '/^loaded$/,/^unloaded$/p' <<<"$out" | grep -c '^host: remove hook')
[ "$removals" = 3 ] || fail "unloading took back $removals hooks, not 3:"$'\n'"$out"

out=$(run exit) || fail "the exit run failed: $out"
grep -q '^ending$' <<<"$out" || fail "the exit run did not get to its end:"$'\n'"$out"
after=$(sed -n '/^ending$/,$p' <<<"$out" | grep '^host:')
[ -z "$after" ] || fail "at the process's end the plugin called the host:"$'\n'"$after"
echo "unload takes back 3 hooks; the process's end calls nothing of the host"
