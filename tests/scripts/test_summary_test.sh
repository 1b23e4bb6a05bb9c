#!/usr/bin/env bash
# The closing line of test.sh: a test CTest skipped is named as skipped and
# is never counted among the passed, whatever else failed or passed.
set -uo pipefail
. "$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/test-summary.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
expect() { # name, then a command that must succeed
  local name="$1"
  shift
  if "$@"; then echo "ok   $name"; else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}
contains() { grep -qF -- "$2" <<<"$1"; }

# CTest's own words (3.25), a skip by exit code and one by the output's text
# among them; the list at the end is indented with a tab.
printf '%b' 'Test project /work/build/win64
    Start 41: updater_program_tests
1/3 Test #41: updater_program_tests ............   Passed  104.41 sec
    Start 42: updater_real_server_tests
2/3 Test #42: updater_real_server_tests ........***Skipped   0.05 sec
    Start 43: updater_real_server_stranger_test
3/3 Test #43: updater_real_server_stranger_test ***Skipped  31.20 sec

100% tests passed, 0 tests failed out of 3

Total Test time (real) = 135.66 sec

The following tests did not run:
\t 42 - updater_real_server_tests (Skipped)
\t 43 - updater_real_server_stranger_test (Skipped)
' >"$work/skips.txt"
skipped=()
while IFS= read -r name; do skipped+=("win64: $name"); done < <(veldrix_ctest_skipped "$work/skips.txt")
expect "each skipped test is found (${skipped[*]})" [ "${skipped[*]}" = \
  "win64: updater_real_server_tests win64: updater_real_server_stranger_test" ]
out="$(veldrix_test_summary 0 "" "${skipped[@]}")"
expect "skips are named, and the run is not called all passed ($out)" eval '! contains "$out" "all tests passed" &&
  contains "$out" "=== every test that ran passed; 2 skipped, so not passed: win64: updater_real_server_tests, win64: updater_real_server_stranger_test"'
out="$(veldrix_test_summary 1 "native" "${skipped[@]}")"
expect "with a failure, both are said" eval 'contains "$out" "=== tests failed in: native" &&
  contains "$out" "2 skipped, so not passed"'
printf '100%% tests passed, 0 tests failed out of 3\n' >"$work/none.txt"
expect "a run without skips has none" [ -z "$(veldrix_ctest_skipped "$work/none.txt")" ]
expect "and is all passed" [ "$(veldrix_test_summary 0 "")" = "=== all tests passed" ]

if [ "$failures" -gt 0 ]; then
  echo "$failures test summary checks failed" >&2
  exit 1
fi
echo "all test summary checks passed"
