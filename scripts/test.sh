#!/usr/bin/env bash
# Bootstraps, builds both trees and runs every test: native (ASan/UBSan) and Windows (Wine,
# on a private Xvfb), and the device and store tests once more under ThreadSanitizer. Ends
# with one line "N passed, N failed".
#   TAVIK_BUILD_ROOT   where builds, the Wine prefix and logs go (default: build/)
#   TAVIK_ONLY         "native", "tsan" or "win" to run one tree
#   TAVIK_TEST_REGEX   passed to ctest -R
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${TAVIK_BUILD_ROOT:-$root/build}
export TAVIK_BUILD_ROOT=$build_root
jobs=$(nproc)
only=${TAVIK_ONLY:-}
regex=${TAVIK_TEST_REGEX:-}
started=$(date +%s)

"$root/scripts/bootstrap.sh" || { echo "bootstrap failed"; echo "0 passed, 1 failed"; exit 1; }

total_passed=0
total_failed=0
add_counts() {  # ctest log
  local summary
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$summary" ]; then
    # No summary: nothing ran, or the build broke before ctest.
    total_failed=$((total_failed + 1))
    return
  fi
  local failed total
  failed=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$summary" | sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/')
  local skipped
  skipped=$(grep -c '(Skipped)' "$1" || true)
  total_passed=$((total_passed + total - failed - skipped))
  total_failed=$((total_failed + failed))
}

run_ctest() {  # build-dir log [extra ctest arguments]
  local args=(--test-dir "$1" -j "$jobs" --output-on-failure --timeout 300 "${@:3}")
  [ -n "$regex" ] && args+=(-R "$regex")
  ctest "${args[@]}" >"$2" 2>&1
  # What a failed test printed, so a CI log says why and not only which.
  if grep -qE '\*\*\*(Failed|Exception|Timeout)' "$2"; then
    echo "-- output of the failed tests:"
    awk '/Test +#[0-9]+: .*\*\*\*(Failed|Exception|Timeout)/ {show=60}
         show > 0 {print; show--}' "$2" | head -n 400
  fi
  # A test that passed only on its second try is named, never hidden.
  local retried
  retried=$(awk 'match($0, /Test +#[0-9]+: [^ ]+/) {
                   test = substr($0, RSTART, RLENGTH); sub(/Test +#[0-9]+: /, "", test)
                   if ($0 ~ /\*\*\*(Failed|Exception|Timeout)/) failed[test] = 1
                   else if ($0 ~ / Passed / && failed[test]) print "  " test }' "$2")
  if [ -n "$retried" ]; then
    echo "-- passed only on a second try (look into these):"
    echo "$retried"
  fi
  tail -n 25 "$2"
  add_counts "$2"
}

mkdir -p "$build_root"
if [ "$only" != "win" ] && [ "$only" != "tsan" ]; then
  echo "== native build (ASan/UBSan)"
  native=$build_root/native
  if cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIK_WERROR=ON \
      >"$build_root/native-configure.log" 2>&1 &&
    cmake --build "$native" -j "$jobs" >"$build_root/native-build.log" 2>&1; then
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      run_ctest "$native" "$build_root/native-test.log"
  else
    tail -n 40 "$build_root/native-configure.log" "$build_root/native-build.log"
    total_failed=$((total_failed + 1))
  fi
  if [ -x "$root/fuzz/run-xml-fuzzer.sh" ]; then
    echo "== short fuzz run"
    if "$root/fuzz/run-xml-fuzzer.sh" --short >"$build_root/fuzz.log" 2>&1; then
      total_passed=$((total_passed + 1))
    else
      tail -n 30 "$build_root/fuzz.log"
      total_failed=$((total_failed + 1))
    fi
  fi
fi

if [ -z "$only" ] || [ "$only" = "tsan" ]; then
  echo "== native build (ThreadSanitizer), device and store tests"
  tsan=$build_root/native-tsan
  tsan_targets=(store_tests device_tests worker_tests protocol_tests catalogue_tests
                real_hidapi_tests)
  if cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVIK_WERROR=ON \
      -DTAVIK_THREAD_SANITIZER=ON >"$build_root/tsan-configure.log" 2>&1 &&
    cmake --build "$tsan" -j "$jobs" --target "${tsan_targets[@]}" \
      >"$build_root/tsan-build.log" 2>&1; then
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
      run_ctest "$tsan" "$build_root/tsan-test.log"
  else
    tail -n 40 "$build_root/tsan-configure.log" "$build_root/tsan-build.log"
    total_failed=$((total_failed + 1))
  fi
fi

if [ "$only" != "native" ] && [ "$only" != "tsan" ]; then
  echo "== Windows build (mingw-w64), tests under Wine"
  source "$root/scripts/wine-env.sh"
  # The Wine desktop belongs to the display its server started with: a stale server of this
  # prefix is stopped and started again on our own Xvfb.
  wineserver -k 2>/dev/null || true
  tavik_xvfb_start || { echo "0 passed, 1 failed"; exit 1; }
  trap 'wineserver -k 2>/dev/null; tavik_xvfb_stop' EXIT
  tavik_wine_prepare
  win=$build_root/win
  if cmake -S "$root" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIK_WERROR=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" \
      -DTAVIK_DEPS_PREFIX="$root/build/deps-win" >"$build_root/win-configure.log" 2>&1 &&
    cmake --build "$win" -j "$jobs" >"$build_root/win-build.log" 2>&1; then
    # Under Wine a test process now and then dies while starting or exiting on a loaded
    # machine; such a test gets one more run, and the log names it.
    run_ctest "$win" "$build_root/win-test.log" --repeat until-pass:2
  else
    tail -n 40 "$build_root/win-configure.log" "$build_root/win-build.log"
    total_failed=$((total_failed + 1))
  fi
fi

echo "took $(( $(date +%s) - started )) s"
echo "$total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
