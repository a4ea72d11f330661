#!/usr/bin/env bash
# Builds Quorix and runs every test under Wine (zh_CN locale, Xvfb display).
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/env.sh"
need_packages
build_all
make_prefix
with_display "$ROOT/scripts/ctest-under-wine.sh" "$BUILD" "$@"
