#!/usr/bin/env bash
# Runs ctest inside a display with one Wine server and its services started
# beforehand, so that no long-lived Wine process holds ctest's output pipes.
set -u
build="$1"
shift
# A server left from an earlier session may hold a desktop on another display:
# start from a fresh one, bound to this display.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p 120 >/dev/null 2>&1 || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
rc=0
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" "$@" || rc=$?
log="$build/Testing/Temporary/LastTest.log"
if [ -f "$log" ]; then
  passed=$(grep -Eo '^\[  PASSED  \] [0-9]+ test' "$log" | awk '{s+=$4} END {print s+0}')
  failed=$(grep -Eo '^\[  FAILED  \] [0-9]+ test' "$log" | awk '{s+=$4} END {print s+0}')
  echo "GoogleTest cases: $passed passed, $failed failed (in $(grep -c '^Command:' "$log") test programs)"
fi
wineserver -k >/dev/null 2>&1 || true
exit $rc
