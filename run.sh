#!/usr/bin/env bash
# Builds Quorix and starts it under Wine from the program folder in the build tree.
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/env.sh"
need_packages
build_all
make_prefix
cd "$BUILD/program"
# A server left from an earlier session may hold a desktop on another display.
wineserver -k >/dev/null 2>&1 || true
with_display wine ./Quorix.exe "$@"
