#!/usr/bin/env bash
# A server folder and a script folder whose names are not ASCII: the plugin
# reads its configuration there, the `config` command finds a file beside the
# script, and the host writes its log in the server folder.
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
if ((failed)); then
  echo "--- standard output:"
  cat "$work/out"
  echo "--- standard error:"
  cat "$work/stderr"
fi
exit $failed
