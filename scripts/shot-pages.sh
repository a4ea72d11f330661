#!/usr/bin/env bash
# Captures every page of the multi-page dialog and the row balloon over the
# tip list on a private display, into docs/screenshots/: options.png,
# about.png, balloon.png, favourites.png, export.png, export-info.png, restore.png,
# fileinfo.png, replace.png and value-editor.png.
# Needs a build (./test.sh makes one).
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/env.sh"
make_prefix
shot() {  # program, test filter, output file
  local mark="/tmp/quorix_shot_$$"
  rm -f "$mark"
  QUORIX_SHOT_MARK="Z:${mark//\//\\}" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    wine "$1/tests/$2.exe" --gtest_filter="$3" &
    pid=$!
    for i in $(seq 1 400); do [ -f "$4" ] && break; sleep 0.1; done
    sleep 0.5
    import -window root "$5"
    rm -f "$4"
    wait $pid; rc=$?
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    exit $rc
  ' _ "$BUILD" "$1" "$2" "$mark" "$3"
}
mkdir -p "$ROOT/docs/screenshots"
shot test_dialogs OptionsPageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/options.png"
shot test_dialogs AboutPageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/about.png"
shot test_mainwindow RowTooltipTest.HoldBalloonForScreenCapture "$ROOT/docs/screenshots/balloon.png"
shot test_tipcommands CategoryFavouritesTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/favourites.png"
shot test_transfer ExportPageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/export.png"
shot test_transfer ExportPageTest.HoldSecondTabForScreenCapture "$ROOT/docs/screenshots/export-info.png"
shot test_dialogs RestorePageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/restore.png"
shot test_library FileInfoPageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/fileinfo.png"
shot test_dialogs ReplacePageTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/replace.png"
shot test_valueeditor ValueEditorTest.HoldPageForScreenCapture "$ROOT/docs/screenshots/value-editor.png"
