#!/usr/bin/env bash
# Builds the native, fuzz and win32 trees and runs every test in them. The
# Wine suites run on the route of wine-env.sh: in the win32 tree where the
# host runs 32-bit code, otherwise in the win64 tree (the win32 tree is then
# built, not run). VELDRIX_WINE_ARCH=x86_64 takes the 64-bit route anywhere.
# Exits non-zero when any build or test fails.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
builds="${VELDRIX_BUILD_ROOT:-$root/build}"
# VELDRIX_JOBS sets the compile and test jobs (default: every core).
jobs="${VELDRIX_JOBS:-$(nproc)}"
status=0
failed_trees=()
skipped=() # "<tree>: <test>" for every test that did not run: neither failed nor passed
. "$root/scripts/wine-env.sh"
. "$root/scripts/test-summary.sh"
veldrix_wine_route

build_tree() {
  echo "=== $1: build"
  if ! "$root/scripts/build.sh" "$1"; then
    echo "=== $1: the build failed (see the compiler's messages above)"
    exit 1
  fi
}

test_tree() {
  local tree="$1"
  if [ "$tree" = win32 ] || [ "$tree" = win64 ]; then
    echo "=== $tree: preparing the Wine prefix ($VELDRIX_WINE_ARCH route)"
    if ! WINEPREFIX="$builds/$tree/wineprefix" "$root/scripts/wine-prefix.sh"; then
      echo "=== $tree: no Wine prefix, so none of its tests can run: the test run fails"
      exit 1
    fi
    reason="$(bash "$root/tests/updater/real_ftp_server.sh" --check)" ||
      echo "=== $tree: the updater's runs against a real FTP server are skipped: $reason"
  fi
  echo "=== $tree: tests"
  local output="$builds/$tree/ctest-output.txt" name
  # A suite that hangs fails after half an hour instead of holding the run for
  # ever; the slowest take about two minutes on a loaded machine.
  if ! (cd "$builds/$tree" && ctest --output-on-failure -j "$jobs" --timeout 1800) 2>&1 | tee "$output"; then
    status=1
    failed_trees+=("$tree")
  fi
  while IFS= read -r name; do skipped+=("$tree: $name"); done < <(veldrix_ctest_skipped "$output")
}

build_tree native
test_tree native
build_tree fuzz
test_tree fuzz
build_tree win32
if [ "$VELDRIX_WINE_ARCH" = i686 ]; then
  test_tree win32
else
  echo "=== win32: built; its suites run in the win64 tree under 64-bit Wine (${VELDRIX_WINE_ROUTE_REASON:-VELDRIX_WINE_ARCH=x86_64})"
  build_tree win64
  test_tree win64
fi
veldrix_test_summary "$status" "${failed_trees[*]}" "${skipped[@]}"
exit "$status"
