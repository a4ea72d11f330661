#!/usr/bin/env bash
# Captures the row balloon over a filled list on a private display:
# docs/screenshots/tooltip.png. Needs a build (./test.sh -R platform makes one).
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/env.sh"
make_prefix
out="${1:-$ROOT/docs/screenshots/tooltip.png}"
mark="/tmp/quorix_shot_$$"
rm -f "$mark"
export QUORIX_SHOT_MARK="Z:${mark//\//\\}"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  wine "$1/tests/test_platform.exe" --gtest_filter=TooltipTest.HoldBalloonForScreenCapture &
  pid=$!
  for i in $(seq 1 300); do [ -f "$2" ] && break; sleep 0.1; done
  sleep 0.5
  import -window root "$3"
  rm -f "$2"
  wait $pid; rc=$?
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  exit $rc
' _ "$BUILD" "$mark" "$out"
