#!/usr/bin/env bash
# cmake/YfxEmulatedTest.cmake, which judges a test program run under an
# emulator, with bash as the emulator and scripts as the programs: a run
# passes only with a report of at least one test and no failure, and an exit
# status of 0; a program that writes no report (crashed, or never started, as
# Wine given a program it cannot load) or a report of no test fails, whatever
# its exit status.
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
expect() { # OUTCOME(pass|fail) DESCRIPTION EXIT_STATUS [REPORT_TOTALS]
  local outcome="$1" what="$2" exit_status="$3" totals="${4:-}"
  {
    echo '#!/usr/bin/env bash'
    echo 'report="${1#--gtest_output=xml:}"'
    [ -z "$totals" ] || echo "echo '<?xml version=\"1.0\"?><testsuites $totals name=\"AllTests\"><testcase result=\"skipped\"/></testsuites>' >\"\$report\""
    echo "exit $exit_status"
  } >"$work/program.sh"
  local status=0
  cmake -DEMULATOR=bash -DPROGRAM="$work/program.sh" -DREPORT="$work/reports/suite.xml" \
    -P "$repo/cmake/YfxEmulatedTest.cmake" >"$work/out" 2>&1 || status=$?
  if { [ "$outcome" = pass ] && [ "$status" -eq 0 ]; } ||
     { [ "$outcome" = fail ] && [ "$status" -ne 0 ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what should $outcome" >&2
    cat "$work/out" >&2
  fi
}

ok='tests="3" failures="0" disabled="0" errors="0"'
expect pass "a report of three passing tests" 0 "$ok"
if grep -q '^3 tests ran, 0 failed, 0 errors, 1 skipped' "$work/out"; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "FAILED: the run does not say how many tests ran and were skipped" >&2
fi
expect fail "no report, exit status 0 (a program the emulator could not load)" 0
expect fail "no report, exit status 3 (a crash)" 3
expect fail "a report of no test" 0 'tests="0" failures="0" disabled="0" errors="0"'
expect fail "a report with a failure" 1 'tests="3" failures="1" disabled="0" errors="0"'
expect fail "a report with an error" 0 'tests="3" failures="0" disabled="0" errors="1"'
expect fail "a passing report but a failing exit status" 1 "$ok"
# A report left by an earlier run is not taken for this run's.
expect pass "a report of three passing tests" 0 "$ok"
expect fail "an old report and no new one" 0

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
