#!/usr/bin/env bash
# Configures and builds one tree: native, win32 or fuzz. Usage: build.sh <tree>
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tree="${1:?usage: build.sh native|win32|fuzz}"
build="${VELDRIX_BUILD_ROOT:-$root/build}/$tree"
jobs="$(nproc)"
case "$tree" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug -DVELDRIX_SANITIZE=ON) ;;
  win32) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake") ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=Debug -DVELDRIX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "unknown tree: $tree" >&2; exit 2 ;;
esac
cmake -S "$root" -B "$build" -G Ninja "${args[@]}" >/dev/null
cmake --build "$build" -j "$jobs"
