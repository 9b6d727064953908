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
#
# GATEHOUSE_SETUP_DONE=1 in the environment says that every group is in place
# already (.ci/run installs them all once, then runs the other scripts): the
# scripts' own calls then return at once.
set -euo pipefail
[ "${GATEHOUSE_SETUP_DONE:-}" = 1 ] && exit 0

declare -A packages purpose
all_groups=()
group() {  # group NAME PURPOSE PACKAGE...
  all_groups+=("$1")
  purpose[$1]=$2
  packages[$1]="${*:3}"
}
group build "to build the plugin and the simulator" \
  build-essential cmake ninja-build ccache pkg-config nlohmann-json3-dev libspdlog-dev libfmt-dev
group test "for the tests" libgtest-dev libgmock-dev libbenchmark-dev
group windows "for the Windows build and its tests under Wine" \
  g++-mingw-w64-x86-64-posix wine64 googletest
group fuzz "for fuzzing" clang-14 libclang-rt-14-dev libfuzzer-14-dev
group package "for packaging" binutils

groups=("$@")
((${#groups[@]})) || groups=("${all_groups[@]}")

missing=()
said=()
for name in "${groups[@]}"; do
  [ -n "${packages[$name]+set}" ] || {
    echo "setup: unknown group '$name' (groups: ${all_groups[*]})" >&2
    exit 2
  }
  wanted=()
  for p in ${packages[$name]}; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || wanted+=("$p")
  done
  if [ "$name" = test ]; then
    # Node.js and npm serve only the tests that drive RCON with third-party
    # clients; a machine may already carry them outside Debian's packaging.
    command -v node >/dev/null 2>&1 || wanted+=(nodejs)
    command -v npm >/dev/null 2>&1 || wanted+=(npm)
  fi
  for p in "${wanted[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] || missing+=("$p")
  done
  if ((${#wanted[@]})); then said+=("${wanted[*]} ${purpose[$name]}"); fi
done

if ((${#missing[@]})); then
  line="setup: installing"
  for part in "${said[@]}"; do line+=" $part;"; done
  echo "${line%;}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
