#!/usr/bin/env bash
# Builds the simulated server and the plugin, then plays the bundled example
# server's scenario: a full server, a whitelisted player let in past capacity, a
# player who is not whitelisted kicked after the delay.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/bin/gatehouse-sim --dir examples/server --script examples/server/tour.txt "$@"
