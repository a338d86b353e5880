#!/usr/bin/env python3
"""The slider under a real X11 pointer: on the gallery's sliders page xdotool presses the
first slider's thumb, drags it past the right end of its track and on below the control,
and lets go; the accent fill then reaches the track's end. A second drag to the far left
empties the track again. ImageMagick reads the screen back.

Usage: gallery_slider_drag_test.py WINE_RUNNER GALLERY_EXE
"""

import sys
import time

from pointer_test_support import (GALLERY_TITLE, close_gallery, find_window, is_accent, launch,
                                  move, pixel, run, stop, wait_for, window_origin)

# Client coordinates on the sliders page: the first slider's knob at value 3 of 10, and
# points on its track near both ends.
THUMB_AT_THREE = (92, 111)
KNOB_RING = (98, 111)  # the knob's accent ring, right of its white centre
TRACK_NEAR_RIGHT_END = (224, 111)
TRACK_NEAR_LEFT_END = (44, 111)


def drag(origin, start, path):
    move(origin, start, settle=0.05)
    time.sleep(0.3)
    run("xdotool", "mousedown", "1")
    time.sleep(0.2)
    for point in path:
        move(origin, point, settle=0.05)
    time.sleep(0.3)
    run("xdotool", "mouseup", "1")
    time.sleep(0.3)


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    program = launch(runner, exe, "--family", "sliders")
    failures = []
    try:
        window = find_window(GALLERY_TITLE, time.monotonic() + 60)
        if window is None:
            print("the gallery window never showed")
            return 1
        origin = window_origin(window)
        if not wait_for(lambda: is_accent(pixel(origin, KNOB_RING)), 10):
            print(f"the slider's knob never showed: {pixel(origin, KNOB_RING)}")
            return 1
        if is_accent(pixel(origin, TRACK_NEAR_RIGHT_END)):
            failures.append("the track is filled to its end before the drag")

        # Right along the track, past its end, then on below the control.
        path = [(x, 111) for x in range(96, 300, 8)] + [(300, y) for y in range(115, 200, 10)]
        drag(origin, THUMB_AT_THREE, path)
        if not wait_for(lambda: is_accent(pixel(origin, TRACK_NEAR_RIGHT_END)), 5):
            failures.append(
                f"after the drag the track's end shows {pixel(origin, TRACK_NEAR_RIGHT_END)}"
            )

        # The knob now sits at the right end (x 230): back to the far left.
        path = [(x, 111) for x in range(222, -40, -12)]
        drag(origin, (230, 111), path)
        if not wait_for(lambda: not is_accent(pixel(origin, TRACK_NEAR_LEFT_END)), 5):
            failures.append("dragged to the left, the track stays filled")

        close_gallery(program, origin, failures)
    finally:
        stop(program)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
