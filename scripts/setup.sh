#!/usr/bin/env bash
# Installs the Debian packages a command needs, if any are missing, by group:
#
#   scripts/setup.sh [GROUP...]     (no GROUP: every group)
#
#   build     the plugin and the simulator: compiler, CMake, Ninja, the JSON,
#             logging and formatting headers
#   test      the tests and benchmarks: GoogleTest, Google Benchmark, and
#             Node.js and npm for the checks with third-party RCON clients
#   windows   the Windows leg: the MinGW-w64 cross compiler, Wine, GoogleTest's
#             sources
#   fuzz      the libFuzzer targets: clang and libFuzzer
#   package   the toolkit archives: strip
#
# Each script asks for its own groups, so CI, which runs them all, gets all.
# Safe to run again: it does nothing when everything is present, and otherwise
# prints one line naming what it installs and what for.
set -euo pipefail

declare -A packages=(
  [build]="build-essential cmake ninja-build ccache pkg-config nlohmann-json3-dev libspdlog-dev libfmt-dev"
  [test]="libgtest-dev libgmock-dev libbenchmark-dev"
  [windows]="g++-mingw-w64-x86-64-posix wine64 googletest"
  [fuzz]="clang-14 libclang-rt-14-dev libfuzzer-14-dev"
  [package]="binutils"
)
declare -A purpose=(
  [build]="to build the plugin and the simulator"
  [test]="for the tests"
  [windows]="for the Windows build and its tests under Wine"
  [fuzz]="for fuzzing"
  [package]="for packaging"
)
all_groups=(build test windows fuzz package)

groups=("$@")
((${#groups[@]})) || groups=("${all_groups[@]}")

missing=()
said=()
for group in "${groups[@]}"; do
  [ -n "${packages[$group]+set}" ] || {
    echo "setup: unknown group '$group' (groups: ${all_groups[*]})" >&2
    exit 2
  }
  wanted=()
  for p in ${packages[$group]}; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || wanted+=("$p")
  done
  if [ "$group" = test ]; then
    # Node.js and npm serve only the tests that drive RCON with third-party
    # clients; a machine may already carry them outside Debian's packaging.
    command -v node >/dev/null 2>&1 || wanted+=(nodejs)
    command -v npm >/dev/null 2>&1 || wanted+=(npm)
  fi
  for p in "${wanted[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
  done
  if ((${#wanted[@]})); then said+=("${wanted[*]} ${purpose[$group]}"); fi
done

if ((${#missing[@]})); then
  line="setup: installing"
  for part in "${said[@]}"; do line+=" $part;"; done
  echo "${line%;}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
