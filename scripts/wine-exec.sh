#!/usr/bin/env bash
# Runs a Windows program of the build under the project's Wine prefix; CMake uses it as
# the emulator for test executables. Orvo.dll is found through WINEPATH.
source "$(dirname "$0")/wine-env.sh"
if [ -n "${TAVIK_WIN_OUTPUT_DIR:-}" ]; then
  export WINEPATH="Z:${TAVIK_WIN_OUTPUT_DIR//\//\\}"
fi
exec wine "$@"
