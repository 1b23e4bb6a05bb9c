#!/usr/bin/env bash
# Builds the native, fuzz and win32 trees and runs every test in them.
# Exits non-zero when any build or test fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
jobs="$(nproc)"
status=0

run_tree() {
  local tree="$1"
  echo "=== $tree: build"
  "$root/scripts/build.sh" "$tree"
  if [ "$tree" = win32 ]; then
    echo "=== win32: preparing the Wine prefix"
    WINEPREFIX="$builds/win32/wineprefix" "$root/scripts/wine-prefix.sh"
  fi
  echo "=== $tree: tests"
  if ! (cd "$builds/$tree" && ctest --output-on-failure -j "$jobs"); then
    status=1
  fi
}

run_tree native
run_tree fuzz
run_tree win32
if [ "$status" -ne 0 ]; then
  echo "=== some tests failed"
else
  echo "=== all tests passed"
fi
exit "$status"
