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

# A config.json that is a link stays that link, whether what it points at is
# there or not, and the install says it kept it.
mkdir -p "$work/linked/$plugin_dir"
for target in "$work/missing.json" "$work/settings.json"; do
  rm -f "$work/linked/$plugin_dir/config.json"
  ln -s "$target" "$work/linked/$plugin_dir/config.json"
  [ "$target" = "$work/settings.json" ] && echo '{"KickTimer": 7}' >"$target"
  out=$(cmake --install "$build" --prefix "$work/linked")
  [ "$(readlink "$work/linked/$plugin_dir/config.json")" = "$target" ] ||
    fail "the install replaced the config.json link to $target"
  grep -q "Keeping: .*config.json (a link to $target" <<<"$out" ||
    fail "the install did not say it kept the link to $target"
done
[ ! -e "$work/missing.json" ] || fail "the install wrote through the dangling link"
grep -q '"KickTimer": 7' "$work/settings.json" || fail "the install wrote through the link"

echo "install keeps config.json"
