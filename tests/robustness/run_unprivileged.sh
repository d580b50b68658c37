#!/usr/bin/env bash
# Runs the permission tests of a test program as an unprivileged user when the
# suite runs as root (permission bits do not stop root, so the tests skip
# themselves there). Exit 77 = skipped: not root, or no way to drop rights.
#
#   run_unprivileged.sh TEST_PROGRAM GTEST_FILTER
set -u
program=$1
filter=$2
[ "$(id -u)" -eq 0 ] || exit 77
command -v setpriv >/dev/null || exit 77
drop=(setpriv --reuid=65534 --regid=65534 --clear-groups)
# The build folder must be reachable for that user.
"${drop[@]}" test -x "$program" || exit 77
out=$(TMPDIR=/tmp "${drop[@]}" "$program" --gtest_filter="$filter" 2>&1)
rc=$?
echo "$out"
[ $rc -ne 0 ] && exit $rc
# The tests must really have run, not skipped themselves.
if grep -q '\[  SKIPPED \]' <<<"$out" || ! grep -q '\[  PASSED  \]' <<<"$out"; then
  echo "the permission tests did not run as the unprivileged user"
  exit 1
fi
exit 0
