#!/usr/bin/env bash
# Runs the Windows test programs of a VARMO_WINDOWS_CHECK build (CTest starts
# each through Wine) in a Wine prefix of their own, made for the run and
# thrown away after it, and prints GoogleTest's and CTest's closing lines.
set -eu
build=${1:-build-windows}
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
prefix=$(mktemp -d "${TMPDIR:-/tmp}/varmo-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all
# No window and no offer to fetch Mono or Gecko: the tests are console programs.
export WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

# The prefix and its server are made once, before the programs run side by
# side: two Wines that both find them missing race to make them, and one
# loses. The server stays up for the whole run and goes with the prefix.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -p 2>/dev/null || true

build=$(cd "$build" && pwd)
log="$build/wine-tests.log"
status=0
(cd "$build" && ctest -V -j 2 >"$log" 2>&1) || status=$?
# ctest -V puts "<test number>: " before each line of a program's output.
grep -E '^[0-9]+: \[  (PASSED|FAILED)  \]' "$log" | sed 's/^[0-9]*: //' || true
awk '/^[0-9]+: \[  PASSED  \] [0-9]+ test/ { n += $5 } END { print "GoogleTest under Wine: " n " tests passed" }' "$log"
if [ "$status" != 0 ]; then
  grep -E '^[0-9]+: \[  FAILED  \]|Failure' "$log" | head -40 >&2 || true
  echo "Under Wine some tests failed; the whole output is in $log" >&2
fi
grep -E 'tests passed, [0-9]+ tests failed out of' "$log" || true
exit "$status"
