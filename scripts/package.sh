#!/usr/bin/env bash
# Builds the operator's toolkit as a packager would and makes its archive in
# build/PRESET/packages/: gatehouse-sim with the stand-in host, game and
# permissions libraries, the plugin library built for it, the example
# configurations and scripts and the operator's documents.
#   scripts/package.sh            Gatehouse-tools-VERSION-linux-x86_64.tar.gz (Release, no tests,
#                                 so no GoogleTest or Google Benchmark needed)
#   scripts/package.sh windows    Gatehouse-tools-VERSION-win64.zip, from the windows build
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-package}"
if [ "$preset" = windows ]; then
  scripts/setup.sh build windows package
else
  scripts/setup.sh build package
fi
# ccache only speeds up a machine that builds often; the build itself does not
# depend on it.
cmake --preset "$preset" -DGATEHOUSE_CCACHE=ON >/dev/null
cmake --build --preset "$preset" --target gatehouse-sim Gatehouse
(cd "build/$preset" && cpack)
