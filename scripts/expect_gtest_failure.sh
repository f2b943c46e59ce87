#!/bin/sh
# Run a gtest binary (through the emulator, if any) that is expected to FAIL and check that
# the failure really came from gtest: non-zero exit status AND a "[  FAILED  ]" line.
# (WILL_FAIL alone would also pass when the program cannot even be started.)
#   expect_gtest_failure.sh CMD ARGS...
out=$("$@" 2>&1); rc=$?
printf '%s\n' "$out"
echo "exit status: $rc"
[ "$rc" -ne 0 ] || { echo "expected a non-zero exit status"; exit 1; }
printf '%s\n' "$out" | grep -q '^\[  FAILED  \]' || { echo "no gtest failure in output"; exit 1; }
echo "OK: failure propagated"
