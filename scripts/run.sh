#!/usr/bin/env bash
# Builds the program if needed and starts it: under Wine on Linux (on $DISPLAY, or on a
# private Xvfb when there is none), directly on Windows. Arguments go to the program.
# Wine has no HID devices, so there the program runs on the simulated mouse.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

case "$(uname -s)" in
  MINGW* | MSYS* | CYGWIN*)
    exec "$root/build/win/out/Tavik Mouse.exe" "$@"
    ;;
esac

"$root/scripts/bootstrap.sh"
win=$root/build/win
if [ ! -f "$win/build.ninja" ]; then
  cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
    -DTAVIK_DEPS_PREFIX="$root/build/deps-win" >/dev/null
fi
cmake --build "$win" --target TavikMouse -j "$(nproc)"

source "$root/scripts/wine-env.sh"
if [ -z "${DISPLAY:-}" ]; then
  tavik_xvfb_start
  echo "run: no display; the program runs on the private X server $DISPLAY"
  trap tavik_xvfb_stop EXIT
fi
# The Wine desktop belongs to the display its server started with.
wineserver -k 2>/dev/null || true
tavik_wine_prepare
simulate=()
[ "${TAVIK_REAL_DEVICES:-0}" = 1 ] || simulate=(--simulate)
status=0
wine "$win/out/Tavik Mouse.exe" "${simulate[@]}" "$@" || status=$?
# The program ends with 1 after its window closes normally and 0 when ended from the tray.
[ "$status" -le 1 ] || exit "$status"
