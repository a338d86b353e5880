#!/usr/bin/env python3
"""A control dragged from one toolkit window and dropped on another under a real X11 pointer
(xdotool): press on the swatch of "orvo drag source", move past the drag rectangle with the
button held, carry it over "orvo drag target" and release. The probe program ends with 0 when
the target received the swatch's picture.

Usage: drag_between_windows_test.py WINE_RUNNER PROBE_EXE
"""

import subprocess
import sys
import time

from pointer_test_support import find_window, launch, run, stop, window_origin

SWATCH_CENTRE = (100, 90)  # client coordinates of the swatch in the source window
TARGET_CENTRE = (150, 100)  # client coordinates inside the target window


def main():
    if subprocess.run(["which", "xdotool"], capture_output=True).returncode != 0:
        print("xdotool is missing")
        return 77
    runner, exe = sys.argv[1], sys.argv[2]
    program = launch(runner, exe, capture_output=True)
    try:
        deadline = time.monotonic() + 60
        source = find_window("^orvo drag source$", deadline)
        target = find_window("^orvo drag target$", deadline)
        if source is None or target is None:
            print("the windows never showed")
            return 1
        sx, sy = window_origin(source)
        tx, ty = window_origin(target)
        start = (sx + SWATCH_CENTRE[0], sy + SWATCH_CENTRE[1])
        end = (tx + TARGET_CENTRE[0], ty + TARGET_CENTRE[1])
        run("xdotool", "mousemove", str(start[0]), str(start[1]))
        time.sleep(0.4)
        run("xdotool", "mousedown", "1")
        time.sleep(0.3)
        # Small steps first (inside the drag rectangle, then past it), then across to the
        # target, as a hand would move.
        for step in range(1, 41):
            x = start[0] + (end[0] - start[0]) * step // 40
            y = start[1] + (end[1] - start[1]) * step // 40
            run("xdotool", "mousemove", str(x), str(y))
            time.sleep(0.05)
        time.sleep(0.4)
        run("xdotool", "mouseup", "1")
        try:
            output, _ = program.communicate(timeout=90)
        except subprocess.TimeoutExpired:
            print("the probe did not end")
            return 1
        print(output.strip())
        if program.returncode != 0:
            print(f"the probe ended with status {program.returncode}")
        return program.returncode
    finally:
        stop(program)


if __name__ == "__main__":
    sys.exit(main())
