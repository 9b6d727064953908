#!/usr/bin/env bash
# Builds one preset (default: "default") and runs every test of it.
#   scripts/test.sh            the default build
#   scripts/test.sh sanitize   the address + undefined-behaviour build
#   scripts/test.sh windows    the Windows x86-64 cross build, its tests under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
if [ "$preset" = windows ]; then
  # The Windows leg runs the third-party RCON clients (Node.js) against the
  # simulator under Wine, so it needs the test group's tools as well.
  scripts/setup.sh build test windows
else
  scripts/setup.sh build test
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
