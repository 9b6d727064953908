#!/usr/bin/env bash
# Builds the plugin as a packager would (Release, no tests or benchmarks, so no
# GoogleTest or Google Benchmark needed, no warnings-as-errors) and makes the
# archive an operator unpacks into a server folder: build/package/packages/.
#   scripts/package.sh            the Linux archive
#   scripts/package.sh windows    the Windows archive, from the windows build
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-package}"
scripts/setup.sh
# ccache only speeds up a machine that builds often; the build itself does not
# depend on it.
cmake --preset "$preset" -DGATEHOUSE_CCACHE=ON >/dev/null
cmake --build --preset "$preset" --target Gatehouse
(cd "build/$preset" && cpack)
