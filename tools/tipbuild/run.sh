#!/bin/sh
# Runs tipbuild through the emulator with its output in a log file, so that no
# Wine process started here holds the build tool's pipes.
# Usage: run.sh EMULATOR TIPBUILD.EXE SOURCE_FOLDER PROGRAM_FOLDER LOG
emu="$1"; exe="$2"; src="$3"; out="$4"; log="$5"
# The files are written in code page 936 whoever runs the build: use the
# build's own Wine prefix and the Chinese locale.
export WINEPREFIX="${WINEPREFIX:-$(dirname "$log")/wineprefix}"
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$out/Databak" "$out/Updfile"
if $emu "$exe" "Z:$src" "Z:$out" >"$log" 2>&1 </dev/null; then
  exit 0
fi
cat "$log" >&2
exit 1
