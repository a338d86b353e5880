#!/usr/bin/env bash
# Builds the benchmarks without sanitizers and runs them natively and under Wine:
#   native  build/native-release (Release, no ASan/UBSan)
#   win     build/win-release (mingw-w64 Release), run in the project's Wine prefix
#   window  the program's main window under Wine on a private Xvfb (bench/main_window_bench.py,
#           on build/win-release): start-up to the first frame, paint times, memory, idle wake-ups
# Arguments are handed to bench/device_worker_bench (for example "latency idle");
# TAVIK_ONLY=native|win|window runs one of the three.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${TAVIK_BUILD_ROOT:-$root/build}
export TAVIK_BUILD_ROOT=$build_root
only=${TAVIK_ONLY:-}
status=0

if [ -z "$only" ] || [ "$only" = "native" ]; then
  echo "== native (Release, no sanitizers)"
  if cmake -S "$root" -B "$build_root/native-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTAVIK_SANITIZE=OFF -DTAVIK_BUILD_TESTS=OFF -DTAVIK_WERROR=ON >/dev/null &&
    cmake --build "$build_root/native-release" --target device_worker_bench >/dev/null; then
    "$build_root/native-release/bench/device_worker_bench" "$@" || status=1
  else
    status=1
  fi
fi

if [ -z "$only" ] || [ "$only" = "win" ]; then
  echo "== Windows (mingw-w64 Release, under Wine)"
  if cmake -S "$root" -B "$build_root/win-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTAVIK_BUILD_TESTS=OFF -DTAVIK_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
      -DTAVIK_DEPS_PREFIX="$root/build/deps-win" >/dev/null &&
    cmake --build "$build_root/win-release" --target device_worker_bench >/dev/null; then
    source "$root/scripts/wine-env.sh"
    tavik_wine_prepare
    wine "$build_root/win-release/bench/device_worker_bench.exe" "$@" 2>/dev/null | tr -d '\r' ||
      status=1
  else
    status=1
  fi
fi

if [ -z "$only" ] || [ "$only" = "window" ]; then
  echo "== main window (mingw-w64 Release, under Wine on a private Xvfb)"
  if cmake -S "$root" -B "$build_root/win-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTAVIK_BUILD_TESTS=OFF -DTAVIK_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
      -DTAVIK_DEPS_PREFIX="$root/build/deps-win" >/dev/null &&
    cmake --build "$build_root/win-release" --target TavikMouse >/dev/null; then
    python3 "$root/bench/main_window_bench.py" \
      --exe "$build_root/win-release/out/Tavik Mouse.exe" || status=1
  else
    status=1
  fi
fi
exit $status
