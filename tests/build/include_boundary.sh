#!/usr/bin/env bash
# The include check that the configure step runs: it passes on the plugin's
# sources as they are, and fails on a copy in which a plugin file includes the
# simulator or a folder includes one above it.
#
#   include_boundary.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
check="$source_dir/cmake/CheckIncludes.cmake"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -DSOURCE_ROOT="$source_dir/src" -P "$check" >/dev/null

expect_refused() {
  local file=$1 include=$2
  rm -rf "$work/src" && cp -r "$source_dir/src" "$work/src"
  printf '#include "%s"\n' "$include" >>"$work/src/$file"
  if cmake -DSOURCE_ROOT="$work/src" -P "$check" >"$work/out" 2>&1; then
    echo "FAIL: $file including $include passed the check" >&2
    exit 1
  fi
  grep -qF "includes \"$include\"" "$work/out" || { cat "$work/out" >&2; exit 1; }
}

expect_refused plugin/Lifecycle.cpp sim/framework/SimHost.h
expect_refused host/FString.h config/Settings.h
expect_refused config/Settings.cpp admission/ListMembership.h
expect_refused console/ConsolePrint.cpp plugin/Lifecycle.h
echo "include boundary holds and its check refuses a crossing"
