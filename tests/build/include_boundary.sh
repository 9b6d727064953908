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
expect_refused() {
  local file=$1 include=$2
  printf '#include "%s"\n' "$include" >>"$work/$file"
  if cmake -DPROJECT_ROOT="$work" -P "$check" >"$work/out" 2>&1; then
    echo "FAIL: $file including $include passed the check" >&2
    exit 1
  fi
  grep -qF "includes \"$include\"" "$work/out" || { cat "$work/out" >&2; exit 1; }
  cp "$source_dir/$file" "$work/$file"
}

expect_refused src/plugin/Lifecycle.cpp sim/framework/SimHost.h
expect_refused src/host/FString.h config/Settings.h
expect_refused src/host/standin/PermissionsBinding.cpp config/Settings.h
expect_refused src/host/Permissions.h common/PluginLog.h
expect_refused src/config/Settings.cpp admission/ListMembership.h
expect_refused src/console/ConsolePrint.cpp plugin/Lifecycle.h
expect_refused sim/game/Game.cpp src/config/Settings.h
expect_refused sim/app/Simulator.cpp config/Settings.h
echo "include boundary holds and its check refuses a crossing"

[ $# -ge 4 ] || exit 0
cxx=$2
reaches() {  # reaches INCLUDES HEADER: whether a file including HEADER finds every include
  local flags=() dir
  IFS=: read -ra dirs <<<"$1"
  for dir in "${dirs[@]}"; do flags+=("-I$dir"); done
  mkdir -p "$work/probe"  # a folder of its own: quoted includes look beside the file first
  printf '#include "%s"\n' "$2" >"$work/probe/probe.cpp"
  "$cxx" -std=c++20 -E "${flags[@]}" "$work/probe/probe.cpp" >/dev/null 2>&1
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

