#!/usr/bin/env bash
# Configures and builds one tree, or only the named targets of it.
# Usage: build.sh <tree> [target ...]
#   native  Linux, with AddressSanitizer and UBSan
#   fuzz    Linux, clang with libFuzzer
#   win32   mingw-w64 i686: the deliverables
#   win64   mingw-w64 x86_64: the same sources for 64-bit Wine
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tree="${1:?usage: build.sh native|fuzz|win32|win64 [target ...]}"
shift
build="${VELDRIX_BUILD_ROOT:-$root/build}/$tree"
# VELDRIX_JOBS sets the compile jobs (default: every core).
jobs="${VELDRIX_JOBS:-$(nproc)}"
case "$tree" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug -DVELDRIX_SANITIZE=ON) ;;
  win32) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake") ;;
  win64) args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake") ;;
  fuzz) args=(-DCMAKE_BUILD_TYPE=Debug -DVELDRIX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "unknown tree: $tree" >&2; exit 2 ;;
esac
mkdir -p "$build"
if ! cmake -S "$root" -B "$build" -G Ninja "${args[@]}" >"$build/configure.log" 2>&1; then
  cat "$build/configure.log" >&2
  echo "build.sh: configuring the $tree tree failed (CMake's messages above; scripts/setup.sh installs what it needs)" >&2
  exit 1
fi
targets=()
for target in "$@"; do targets+=(--target "$target"); done
if ! cmake --build "$build" -j "$jobs" "${targets[@]}"; then
  echo "build.sh: building the $tree tree failed (see the compiler's messages above)" >&2
  exit 1
fi
