#!/usr/bin/env bash
# `cmake --install` lays the plugin out under ArkApi/Plugins/Gatehouse/ and never
# replaces a config.json that is already there. (The CPack archive is the
# operator's toolkit: toolkit.sh.)
#
#   install_keeps_config.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
plugin_dir=ArkApi/Plugins/Gatehouse
fail() { echo "FAIL: $*" >&2; exit 1; }

# A fresh install seeds config.json from the example; a second install keeps
# the operator's edit.
cmake --install "$build" --prefix "$work/fresh" >/dev/null
[ -f "$work/fresh/$plugin_dir/config.json" ] || fail "a fresh install has no config.json"
cmp -s "$work/fresh/$plugin_dir/config.json" "$work/fresh/$plugin_dir/config.example.json" ||
  fail "the seeded config.json differs from the example"
echo '{"OnlyWhitelisted": true}' >"$work/fresh/$plugin_dir/config.json"
cmake --install "$build" --prefix "$work/fresh" >/dev/null
grep -q OnlyWhitelisted "$work/fresh/$plugin_dir/config.json" || fail "reinstall replaced config.json"

echo "install keeps config.json"
