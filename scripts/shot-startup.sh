#!/usr/bin/env bash
# Captures the screen as the program's first start leaves it (main window, category
# window, properties window and value bar), on a private display, into the file
# given (default docs/screenshots/startup.png). The program file can be given
# second (default: the build's); it runs in a fresh program folder holding the
# build's shipped library, with no settings file.
# Needs a build (./test.sh makes one).
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
source "$ROOT/scripts/env.sh"
make_prefix
out="${1:-$ROOT/docs/screenshots/startup.png}"
exe="${2:-$BUILD/program/Quorix.exe}"
folder="$(mktemp -d /tmp/quorix_shot_startup.XXXXXX)"
cp "$exe" "$folder/Quorix.exe"
cp -r "$BUILD/program/Databak" "$folder/Databak"
[ -d "$BUILD/program/Updfile" ] && cp -r "$BUILD/program/Updfile" "$folder/Updfile"
mkdir -p "$folder/Bak"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  cd "$1" && wine ./Quorix.exe &
  for i in $(seq 1 300); do xwininfo -root -tree 2>/dev/null | grep -q "Quorix 3.0" && break; sleep 0.1; done
  sleep 3
  import -window root "$2"
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
' _ "$folder" "$out"
rm -rf "$folder"
