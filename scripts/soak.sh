#!/usr/bin/env bash
# A soak run through gatehouse-sim with the real plugin library: joins, leaves,
# kicks and reloads by the hundred thousand, and the library unloaded and
# loaded again CYCLES times, all in one process on the virtual clock. The
# resident memory and the engine allocator's live blocks are printed at the
# start, after a tenth of the rounds and at the end, with the counts of what
# ran. With the sanitize preset, LeakSanitizer also checks the process at exit.
#
#   scripts/soak.sh [ROUNDS] [CYCLES] [PRESET]     (defaults: 2600 1000 default)
#
# Each round is about a hundred events; the load cycles are spread evenly over
# the rounds. Exit status 1 when the run fails or ends with more live blocks
# than it started with.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-2600}
cycles=${2:-1000}
preset=${3:-default}
sim=build/$preset/bin/gatehouse-sim
[ -x "$sim" ] || { scripts/setup.sh build test && cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset"; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/server/ArkApi/Plugins/Gatehouse"
cat >"$work/server/ArkApi/Plugins/Gatehouse/config.json" <<'JSON'
{"OnlyWhitelisted": true, "WhitelistedGroups": ["Vip"], "WhitelistedPlayers": ["p0", "p1"],
 "UseBlacklist": true, "BlacklistedGroups": ["Bad"], "KickTimer": 1}
JSON

# Sixty players come and go over a server of forty; every fifth is in Vip,
# every seventh in Bad. Each round: forty joins, waits that bring kicks due,
# leaves of whoever is still on, and a reload from the console and over RCON.
awk -v rounds="$rounds" -v cycles="$cycles" 'BEGIN {
  print "capacity 40"
  for (p = 0; p < 60; p++) {
    if (p % 5 == 0) print "group p" p " Vip"
    if (p % 7 == 0) print "group p" p " Bad"
  }
  print "memory"
  every = cycles > 0 ? rounds / cycles : rounds + 1
  done = 0
  for (r = 0; r < rounds; r++) {
    for (i = 0; i < 40; i++) print "join p" ((r * 13 + i) % 60)
    print "wait 1"
    print "console p1 Gatehouse.Reload"
    print "rcon Gatehouse.Reload"
    for (i = 0; i < 40; i++) print "leave p" ((r * 13 + i) % 60)
    if (done < cycles && r + 1 >= (done + 1) * every) { print "unload"; print "load"; done++ }
    if (r == int(rounds / 10)) print "memory"
  }
  print "wait 2"
  print "memory"
}' >"$work/script.txt"

start=$(date +%s)
"$sim" --dir "$work/server" --clock virtual <"$work/script.txt" >"$work/out" 2>"$work/err" || {
  echo "soak: gatehouse-sim failed"; tail -n 20 "$work/err"; exit 1; }
elapsed=$(($(date +%s) - start))

count() { grep -c -E "$1" "$work/out" || true; }
joins=$(count '^join .*: admitted$')
refused=$(count '^join .*: refused')
leaves=$(count '^leave ')
kicks=$(count '^kick ')
reloads=$(($(count '^rcon reply ') + $(count '^message ')))
loads=$(count '^plugin loaded$')
grep '^memory' "$work/out" | sed 's/^/soak: /'
echo "soak: $joins joins admitted, $refused refused, $leaves leaves, $kicks kicks, $reloads reloads" \
  "($((joins + refused + leaves + kicks + reloads)) events), $((loads - 1)) unload/load cycles, ${elapsed}s"
errors=$(grep -c -v -E '^(error: player .* is not online)$' "$work/err" || true)
echo "soak: $errors other lines on standard error"
first=$(grep '^memory' "$work/out" | head -n 1 | sed -E 's/.* ([0-9]+) engine blocks live/\1/')
last=$(grep '^memory' "$work/out" | tail -n 1 | sed -E 's/.* ([0-9]+) engine blocks live/\1/')
[ "$last" -le "$first" ] || { echo "soak: engine blocks grew from $first to $last"; exit 1; }
