#!/usr/bin/env bash
# `gatehouse-sim check` on values of any depth and size, in a setting, in a
# list and under a key the plugin ignores: the report shows each one by its
# type and a shortened text, and the check ends with its own exit status,
# never a crash.
#
#   deep_values.sh SIM
set -uo pipefail

sim=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

repeat() { awk -v s="$1" -v n="$2" 'BEGIN { for (i = 0; i < n; ++i) printf "%s", s }'; }
depth=100000
deep_array="$(repeat '[' $depth)$(repeat ']' $depth)"
deep_object="$(repeat '{"a":' $depth)0$(repeat '}' $depth)"
long_list=$(awk 'BEGIN { printf "["; for (i = 0; i < 100000; ++i) printf "%s\"p%d\"", i ? "," : "", i;
                       printf "]" }')

# check FILE_TEXT EXPECTED_STATUS LINE... : every LINE must be in the text
# report, exactly, and the JSON report must carry the same status.
check() {
  local text=$1 status=$2
  shift 2
  printf '%s' "$text" >"$work/config.json"
  local got=0
  "$sim" check "$work/config.json" >"$work/out" 2>"$work/err" || got=$?
  tr -d '\r' <"$work/out" >"$work/report"
  [ "$got" = "$status" ] || fail "exit status $got, not $status, for ${text:0:60}..."
  for line in "$@"; do
    grep -qxF -- "$line" "$work/report" || fail "no line '$line' for ${text:0:60}..."
  done
  got=0
  "$sim" check --json "$work/config.json" >"$work/json" 2>>"$work/err" || got=$?
  [ "$got" = "$status" ] || fail "--json: exit status $got, not $status, for ${text:0:60}..."
  grep -q "\"status\": $status" "$work/json" || fail "--json: no status $status for ${text:0:60}..."
  [ "$(wc -c <"$work/json")" -lt 20000 ] || fail "--json: the report is not bounded"
  if ((failed)); then
    cat "$work/report" "$work/err"
  fi
}

shown=$(repeat '[' 16)...
check "{\"OnlyWhitelisted\": true, \"KickTimer\": $deep_array}" 1 \
  "  KickTimer             $shown (array of 1 entry, shortened) (cannot be read)" \
  "error: KickTimer: [json.exception.type_error.302] type must be number, but is array"

check "{\"WhitelistedPlayers\": $deep_array, \"OnlyWhitelisted\": true}" 1 \
  "  WhitelistedPlayers    $shown (array of 1 entry, shortened)" \
  "error: WhitelistedPlayers: entry 1 is array (entries must be strings): [json.exception.type_error.302] type must be string, but is array"

check "{\"BlacklistedGroups\": $deep_object, \"UseBlacklist\": true, \"Other\": $deep_array}" 1 \
  "  BlacklistedGroups     $(repeat '{"a":' 16)... (object of 1 member, shortened)" \
  "error: BlacklistedGroups: entry 1 is object (entries must be strings): [json.exception.type_error.302] type must be string, but is object" \
  "warning: Other: not a setting; ignored"

check "{\"KickMessage\": $deep_object, \"WhitelistedPlayers\": $long_list}" 3 \
  "  WhitelistedPlayers    $(cut -c 1-512 <<<"$long_list")... (array of 100000 entries, shortened)" \
  "  KickMessage           $(repeat '{"a":' 16)... (object of 1 member, shortened) (cannot be read)"

exit $failed
