#!/usr/bin/env bash
# The operator's toolkit as CPack makes it from this build, tried as an operator
# would: unpacked into an empty folder, `gatehouse-sim check` passes the example
# configuration and the example tour plays to its expected output, from that
# folder; unpacked over a folder that holds a config.json, the file is left
# byte for byte; and the archive holds no link and no name that leads out of the
# folder it is unpacked into.
#
#   toolkit.sh SOURCE_DIR BUILD_DIR [RUNNER]
#   (RUNNER starts a program of this build: Wine for the Windows build)
set -euo pipefail
source_dir=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
runner=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -B "$work/packages" >/dev/null)
archive=$(find "$work/packages" -maxdepth 1 -type f -name 'Gatehouse-tools-*' | head -n 1)
case $archive in
  *-win64.zip) exe=.exe ;;
  *-linux-x86_64.tar.gz) exe= ;;
  *) fail "cpack made no toolkit archive: $(ls "$work/packages")" ;;
esac
name=$(basename "$archive")
unpack() { (cd "$1" && cmake -E tar xf "$archive"); }

# No entry is a link, and every name stays inside the folder.
listing=$(cmake -E tar tvf "$archive")
links=$(grep -E '^[lh]| -> | link to ' <<<"$listing" || true)
[ -z "$links" ] || fail "$name holds links:"$'\n'"$links"
names=$(cmake -E tar tf "$archive")
escaping=$(grep -E '^/|^[A-Za-z]:|(^|/)\.\.(/|$)' <<<"$names" || true)
[ -z "$escaping" ] || fail "$name holds names that leave its folder:"$'\n'"$escaping"
configs=$(grep -E '(^|/)config\.json$' <<<"$names" | grep -v '^examples/' || true)
[ -z "$configs" ] || fail "$name holds a config.json outside examples/: $configs"

# Unpacked into an empty folder, the programs run from there.
fresh="$work/fresh"
mkdir "$fresh"
unpack "$fresh"
for file in "gatehouse-sim$exe" config.example.json README.md docs/operators.md \
    docs/simulator.md docs/real-server.md examples/server/tour.txt; do
  [ -f "$fresh/$file" ] || fail "$name has no $file"
done
sim="$work/gatehouse-sim"
printf '#!/bin/sh\nexec %s "%s" "$@"\n' "$runner" "$fresh/gatehouse-sim$exe" >"$sim"
chmod +x "$sim"
(cd "$fresh" && "$sim" check config.example.json >"$work/check.out") ||
  fail "gatehouse-sim check config.example.json failed in the unpacked toolkit:"$'\n'"$(cat "$work/check.out")"

# The tour, with the example server's configuration and the plugin beside the
# simulator (no --plugin), compared as a scenario.
{
  printf '## args\n\n## config\n'
  cat "$fresh/examples/server/ArkApi/Plugins/Gatehouse/config.json"
  printf '## script\n'
  cat "$fresh/examples/server/tour.txt"
  printf '## stdout\n'
  cat "$source_dir/tests/package/tour.expected"
} >"$work/tour.scenario"
$runner "$build/bin/gatehouse-scenario$exe" "$fresh/gatehouse-sim$exe" "$fresh/plugin" \
  "$work/tour.scenario" ||
  fail "the example tour from the unpacked toolkit differs from tests/package/tour.expected"

# Unpacked again over the folder, now holding the operator's config.json (an
# upgrade), the file stays as it is.
over=$fresh
printf '{"KickTimer": 9,\r\n "KickMessage": "Kein Zutritt \xc3\xa4"}' >"$over/config.json"
cp -p "$over/config.json" "$work/config.before"
unpack "$over"
cmp "$work/config.before" "$over/config.json" || fail "unpacking $name changed config.json"
echo "$name: no links, runs where it is unpacked, keeps config.json"
