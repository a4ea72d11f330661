# Shared set-up for run.sh and test.sh: packages, build, Wine prefix, display.
# Sourced, not run. Expects ROOT to be the repository root.
set -euo pipefail

BUILD="${QUORIX_BUILD:-$ROOT/build}"
export WINEPREFIX="$BUILD/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
export WINEARCH=win64

need_packages() {
  local pkgs=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
              binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev wine wine64 xvfb xauth
              locales-all fonts-wqy-microhei googletest imagemagick python3
              fp-utils libchm-bin)
  local missing=()
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build_all() {
  make_prefix  # the build runs tipbuild through Wine
  cmake -S "$ROOT" -B "$BUILD" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD" -- -j"$(nproc)"
}

make_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating Wine prefix in $WINEPREFIX"
    timeout 300 wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  # There is no window manager on the test display: Wine then waits two seconds
  # for one at every hide of a framed window. Let Wine manage the windows itself.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# Runs "$@" with an X display: the current one, or a private Xvfb.
with_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x800x24" "$@"
  fi
}
