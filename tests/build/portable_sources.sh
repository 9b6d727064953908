#!/usr/bin/env bash
# Outside the platform folders and the stand-in host's own (src/host/standin),
# the sources are standard C++20 that a build with the real host's compiler
# takes as they are: no decorated linker name of either major C++ ABI, no call
# of a service only the stand-in host offers, and no compiler extension.
#
#   portable_sources.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 1

portable() {  # the portable C++ files under the given folders
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) \
    -not -path '*/platform/*' -not -path 'src/host/standin/*' | sort
}

failed=0
refuse() {  # refuse WHAT REGEX FOLDER...
  local what=$1 regex=$2
  shift 2
  local found
  found=$(portable "$@" | xargs grep -nE -- "$regex")
  if [ -n "$found" ]; then
    echo "FAIL: $what in a portable source:"
    echo "$found"
    failed=1
  fi
}

refuse "a decorated linker name" '_Z(N|L)?[0-9]+[A-Za-z_]|\?[A-Za-z_][A-Za-z0-9_]*@[A-Za-z0-9_@]*@@' src
refuse "a service of the stand-in host only" 'GetPermissionsLibraryPath|host/standin/' src
refuse "a compiler extension" \
  '__attribute__|__declspec|__builtin_|__asm|\basm[ (]|#[ \t]*pragma[ \t]+[^o ]' src sim

# The checks see the files: the plugin's portable folders are not empty.
[ "$(portable src | wc -l)" -gt 40 ] || { echo "FAIL: no portable sources found"; failed=1; }
[ "$failed" = 0 ] && echo "$(portable src sim | wc -l) portable sources, none compiler- or stand-in-specific"
exit "$failed"
