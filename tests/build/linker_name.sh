#!/usr/bin/env bash
# The stand-in binding looks the permissions plugin's function up by the name
# the build derived from the compiler in use (cmake/LinkerName.cmake). Proof
# that the derivation finds the right name: a one-line declaration of the
# function, compiled by this build's compiler, is decorated with the same name,
# which is the one of the C++ ABI all our builds use; and where clang is
# present, the derivation run with clang for the other major C++ ABI (that of
# --target=x86_64-pc-windows-msvc) gives that ABI's decorated name.
#
#   linker_name.sh SOURCE_DIR DERIVED CXX NM
set -euo pipefail
source_dir=$1 derived=$2 cxx=$3 nm=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

itanium='_ZN11Permissions15IsPlayerInGroupERK7FStringS2_'
msvc='?IsPlayerInGroup@Permissions@@YA_NAEBVFString@@0@Z'
cat >"$work/declaration.cpp" <<'CPP'
class FString;
namespace Permissions { bool IsPlayerInGroup(const FString& player_id, const FString& group); }
auto* gatehouse_probe = &Permissions::IsPlayerInGroup;
CPP

derive() {  # derive COMPILER NM [COMPILER_ARGS]: the derivation's name for the declaration
  (cd "$work" && cmake -DCMAKE_CXX_COMPILER="$1" -DCMAKE_NM="$2" \
    -DFUNCTION=IsPlayerInGroup -DSOURCE_FILE="$work/declaration.cpp" -DCOMPILER_ARGS="${3:-}" \
    -P "$source_dir/cmake/LinkerName.cmake" 2>&1)
}

"$cxx" -std=c++20 -c "$work/declaration.cpp" -o "$work/declaration.o"
compiled=$("$nm" -u "$work/declaration.o" | awk '{ print $2 }')
[ "$compiled" = "$derived" ] ||
  fail "the build binds '$derived', its compiler names the declaration '$compiled'"
[ "$derived" = "$itanium" ] || fail "the build binds '$derived', expected '$itanium'"
[ "$(derive "$cxx" "$nm")" = "$derived" ] || fail "the derivation disagrees with the build"

if clang=$(command -v clang++ || command -v clang++-14); then
  got=$(derive "$clang" nm --target=x86_64-pc-windows-msvc)
  [ "$got" = "$msvc" ] || fail "with clang's MSVC-style ABI the derivation gives '$got'"
  echo "linker names: $derived (this build), $got (clang, --target=x86_64-pc-windows-msvc)"
else
  echo "linker names: $derived (this build); clang absent, MSVC-style names not checked"
fi
