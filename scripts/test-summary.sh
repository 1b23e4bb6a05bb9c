# Sourced by test.sh (and its test): the closing line of a test run. A test
# that did not run (CTest's "Skipped": a real FTP server that cannot run
# here, a race that was not exercised) is named as skipped, never counted
# as passed.

# The tests a CTest run's output (the file $1) lists as skipped, one a line.
veldrix_ctest_skipped() {
  sed -n 's/^[[:space:]]*[0-9][0-9]* - \(.*\) (Skipped)$/\1/p' "$1"
}

# The closing line: $1 the run's status (0 all passed), $2 the trees whose
# tests failed, then "<tree>: <test>" for each skipped test.
veldrix_test_summary() {
  local status="$1" failed="$2" skips=""
  shift 2
  if [ $# -gt 0 ]; then
    skips="; $# skipped, so not passed: $(printf '%s, ' "$@" | sed 's/, $//')"
    skips+=" (why: the lines above, or Testing/Temporary/LastTest.log in the tree)"
  fi
  if [ "$status" -ne 0 ]; then
    echo "=== tests failed in: $failed (their output is above; run one again with" \
      "cd ${builds:-build}/<tree> && ctest -R <name> --output-on-failure)$skips"
  elif [ -n "$skips" ]; then
    echo "=== every test that ran passed$skips"
  else
    echo "=== all tests passed"
  fi
}
