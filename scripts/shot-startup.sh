#!/usr/bin/env bash
# Captures the screen as the program's first start leaves it (main window, category
# window, properties window and value bar), on a private display, into the file
# given (default docs/screenshots/startup.png). The program file can be given
# second (default: the build's); it runs in a fresh program folder holding the
# build's shipped library, with no settings file. Settings given after these two
# as Key=Value (section Data) make it a second start instead: the first start
# writes the default settings, then the keys are set (the upgrade notice seen).
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
shift $(( $# < 2 ? $# : 2 ))
settings=("$@")
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
  folder="$1"; out="$2"; shift 2
  if [ $# -gt 0 ]; then
    (cd "$folder" && wine ./Quorix.exe) &
    for i in $(seq 1 300); do xwininfo -root -tree 2>/dev/null | grep -q "Quorix 3.0" && break; sleep 0.1; done
    sleep 1
    wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1
    for kv in OldUpdate=1 "$@"; do
      key="${kv%%=*}"
      sed -i "/^${key//[()]/.}=/d" "$folder/config.ini"
      sed -i "s/^\[Data\]\r\?$/&\n$kv/" "$folder/config.ini"
    done
  fi
  cd "$folder" && wine ./Quorix.exe &
  for i in $(seq 1 300); do xwininfo -root -tree 2>/dev/null | grep -q "Quorix 3.0" && break; sleep 0.1; done
  sleep 3
  import -window root "$out"
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
' _ "$folder" "$out" "${settings[@]}"
rm -rf "$folder"
