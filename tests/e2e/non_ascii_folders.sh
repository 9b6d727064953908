#!/usr/bin/env bash
# A server folder and a script folder whose names are not ASCII: the plugin
# reads its configuration there, the `config` command finds a file beside the
# script, the host writes its log in the server folder, and `check` reads the
# same file the plugin reads, key by key.
#
#   non_ascii_folders.sh SIM PLUGIN
set -uo pipefail

sim=$1
plugin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

server="$work/Sérveur 🙂"
scripts="$work/Skripte Jörg"
mkdir -p "$server/ArkApi/Plugins/Gatehouse" "$scripts"
printf '{"OnlyWhitelisted": true, "KickTimer": 0}\n' >"$server/ArkApi/Plugins/Gatehouse/config.json"
printf '{"OnlyWhitelisted": true, "KickTimer": 0, "KickMessage": "zweite"}\n' >"$scripts/zweite.json"
cat >"$scripts/script.txt" <<'SCRIPT'
join alice
wait 0
config zweite.json
rcon Gatehouse.Reload
join bob
wait 0
config --delete
rcon Gatehouse.Reload
SCRIPT

status=0
(cd "$work" && timeout 60 "$sim" --dir "$server" --plugin "$plugin" --script "$scripts/script.txt" \
  </dev/null >"$work/stdout" 2>"$work/stderr") || status=$?
tr -d '\r' <"$work/stdout" >"$work/out"

failed=0
expect() {  # expect PATTERN WHAT
  grep -q -- "$1" "$work/out" || { echo "FAIL: $2"; failed=1; }
}
[ "$status" = 0 ] || { echo "FAIL: exit status $status"; failed=1; }
expect 'Not whitelisted - alice' "the configuration in the server folder was not read"
expect '^kick alice: You are not whitelisted on this server!$' "alice was not kicked"
expect '^kick bob: zweite$' "the file beside the script did not reach the server folder"
grep -q "Failed to read config! Can't open config.json" "$server/ArkApi/Logs/server.log" 2>/dev/null ||
  { echo "FAIL: the host's log in the server folder lacks the failed reload"; failed=1; }
# The keys as written in the file: a repeated one and one in the wrong case.
checked="$work/sërvér"
mkdir -p "$checked/ArkApi/Plugins/Gatehouse"
printf '{"onlywhitelisted": true, "KickTimer": 1, "KickTimer": 2}\n' \
  >"$checked/ArkApi/Plugins/Gatehouse/config.json"
check_status=0
timeout 60 "$sim" check --dir "$checked" </dev/null >"$work/check" 2>&1 || check_status=$?
tr -d '\r' <"$work/check" >>"$work/out"
[ "$check_status" = 3 ] || { echo "FAIL: check under sërvér exits $check_status, not 3"; failed=1; }
expect '^warning: KickTimer: given 2 times; the last one counts$' "check missed the repeated key"
expect '^warning: onlywhitelisted: ignored; did you mean OnlyWhitelisted?' \
  "check missed the key in the wrong case"
if ((failed)); then
  echo "--- standard output:"
  cat "$work/out"
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit $failed
