#!/usr/bin/env python3
"""The gallery under a real X11 pointer: xdotool moves and clicks, ImageMagick reads the
screen back. A click on the check box checks it and turns the switch that stands for the
same setting on; a click on "Update firmware" runs the overlay progress, whose bar grows
along the overlay's bottom edge; a click on the close button closes the dialog and the
program ends with status 0.

Usage: gallery_pointer_test.py WINE_RUNNER GALLERY_EXE
"""

import sys
import time

from pointer_test_support import (GALLERY_TITLE, click, close_gallery, find_window, is_accent,
                                  launch, pixel, stop, wait_for, window_origin)

# Client coordinates of the gallery's live controls.
CHECK_BOX_FILL = (638, 172)  # inside the box, clear of the check mark
SWITCH_LEFT_TRACK = (933, 168)  # the knob's place when off, bare track when on
UPDATE_BUTTON_CENTRE = (905, 613)
PROGRESS_BAR_START = (710, 312)  # the overlay's bar, a few pixels in from its left end


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    program = launch(runner, exe)
    failures = []
    try:
        window = find_window(GALLERY_TITLE, time.monotonic() + 60)
        if window is None:
            print("the gallery window never showed")
            return 1
        origin = window_origin(window)
        if not wait_for(lambda: pixel(origin, CHECK_BOX_FILL) is not None, 10):
            print("the screen cannot be read back")
            return 1
        before_box = pixel(origin, CHECK_BOX_FILL)
        before_switch = pixel(origin, SWITCH_LEFT_TRACK)
        if is_accent(before_box) or is_accent(before_switch):
            failures.append(f"check box {before_box} or switch {before_switch} starts on")

        click(origin, CHECK_BOX_FILL)
        if not wait_for(lambda: is_accent(pixel(origin, CHECK_BOX_FILL)), 10):
            failures.append(f"the click left the check box at {pixel(origin, CHECK_BOX_FILL)}")
        if not wait_for(lambda: is_accent(pixel(origin, SWITCH_LEFT_TRACK)), 5):
            failures.append(f"the switch did not follow: {pixel(origin, SWITCH_LEFT_TRACK)}")

        if is_accent(pixel(origin, PROGRESS_BAR_START)):
            failures.append("the progress bar shows before the update was asked for")
        click(origin, UPDATE_BUTTON_CENTRE)
        if not wait_for(lambda: is_accent(pixel(origin, PROGRESS_BAR_START)), 10):
            failures.append("the update button did not start the progress")

        close_gallery(program, origin, failures)
    finally:
        stop(program)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
