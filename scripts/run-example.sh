#!/usr/bin/env bash
# Builds the simulated server, the plugin and the libraries they load (no tests,
# so none of their packages), then plays the bundled example server's scenario:
# a full server, a whitelisted player let in past capacity, a player who is not
# whitelisted kicked after the delay.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
# The packager's build of the toolkit's programs: gatehouse-sim and the plugin.
cmake --preset package -DGATEHOUSE_CCACHE=ON >/dev/null
cmake --build --preset package
exec build/package/bin/gatehouse-sim --dir examples/server --script examples/server/tour.txt "$@"
