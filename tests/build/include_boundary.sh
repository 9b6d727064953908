#!/usr/bin/env bash
# The include check that the configure step runs: it passes on the plugin's
# sources as they are, and fails on a copy in which a plugin file includes the
# simulator or a folder includes one above it. Then the build's own boundary:
# with the include paths of the plugin's objects a simulator header cannot be
# found, and with those of a simulator target a plugin header cannot, while
# both reach the host interface.
#
#   include_boundary.sh SOURCE_DIR [CXX PLUGIN_INCLUDES SIM_INCLUDES]
#   (each list of include folders joined with ':')
set -euo pipefail
source_dir=$1
check="$source_dir/cmake/CheckIncludes.cmake"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -DPROJECT_ROOT="$source_dir" -P "$check" >/dev/null

# One copy of the sources; each case adds its line to one file and puts the
# file back afterwards.
cp -r "$source_dir/src" "$source_dir/sim" "$work/"
# Every crossing below at once, in the copy: the check must name each one.
crossings=(
  src/plugin/Lifecycle.cpp sim/framework/SimHost.h
  src/host/FString.h config/Settings.h
  src/host/standin/PermissionsBinding.cpp config/Settings.h
  src/host/Permissions.h common/PluginLog.h
  src/config/Settings.cpp admission/ListMembership.h
  src/console/ConsolePrint.cpp plugin/Lifecycle.h
  sim/game/Game.cpp src/config/Settings.h
  sim/app/Simulator.cpp config/Settings.h
)
for ((i = 0; i < ${#crossings[@]}; i += 2)); do
  printf '#include "%s"\n' "${crossings[i + 1]}" >>"$work/${crossings[i]}"
done
if cmake -DPROJECT_ROOT="$work" -P "$check" >"$work/out" 2>&1; then
  echo "FAIL: the check passed sources that cross their boundaries" >&2
  exit 1
fi
for ((i = 0; i < ${#crossings[@]}; i += 2)); do
  grep -qF "${crossings[i]} includes \"${crossings[i + 1]}\"" "$work/out" || {
    echo "FAIL: the check did not name ${crossings[i]} including ${crossings[i + 1]}" >&2
    cat "$work/out" >&2
    exit 1
  }
done
echo "include boundary holds and its check refuses a crossing"

[ $# -ge 4 ] || exit 0
cxx=$2
reaches() {  # reaches INCLUDES HEADER: whether a file including HEADER finds every include
  local dirs
  IFS=: read -ra dirs <<<"$1"
  mkdir -p "$work/probe"  # a folder of its own: quoted includes look beside the file first
  printf '#include "%s"\n' "$2" >"$work/probe/probe.cpp"
  "$cxx" -std=c++20 -E "${dirs[@]/#/-I}" "$work/probe/probe.cpp" >/dev/null 2>&1
}
expect() {  # expect yes|no INCLUDES HEADER SIDE
  local want=$1 got=no
  if reaches "$2" "$3"; then got=yes; fi
  if [ "$got" != "$want" ]; then
    echo "FAIL: with the $4's include paths, \"$3\" is reachable: $got (expected $want)" >&2
    exit 1
  fi
}
expect yes "$3" host/FString.h plugin
expect no "$3" sim/framework/SimHost.h plugin
expect yes "$4" host/FString.h simulator
expect yes "$4" sim/framework/SimHost.h simulator
# Every plugin folder but the host interface, by its own name and from the
# project root: neither reaches a simulator target.
for dir in "$source_dir"/src/*/; do
  folder=$(basename "$dir")
  [ "$folder" != host ] || continue
  header=$(cd "$dir" && find . -name '*.h' | sed 's|^\./||' | sort | head -1)
  [ -n "$header" ] || continue
  expect no "$4" "$folder/$header" simulator
  expect no "$4" "src/$folder/$header" simulator
done
expect no "$4" src/host/standin/PermissionsLibrary.h simulator
echo "the build keeps the plugin and the simulator apart: they meet only in host/"

