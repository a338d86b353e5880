#!/usr/bin/env python3
"""The gallery under a real X11 pointer: xdotool moves and clicks, ImageMagick reads the
screen back. A click on the check box checks it and turns the switch that stands for the
same setting on; a click on "Update firmware" runs the overlay progress, whose bar grows
along the overlay's bottom edge; a click on the close button closes the dialog and the
program ends with status 0.

Usage: gallery_pointer_test.py WINE_RUNNER GALLERY_EXE
"""

import subprocess
import sys
import time

# Client coordinates of the gallery's live controls.
CHECK_BOX_FILL = (638, 172)  # inside the box, clear of the check mark
SWITCH_LEFT_TRACK = (933, 168)  # the knob's place when off, bare track when on
CLOSE_BUTTON_CENTRE = (965, 25)
UPDATE_BUTTON_CENTRE = (905, 613)
PROGRESS_BAR_START = (710, 312)  # the overlay's bar, a few pixels in from its left end


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30)


def find_window(deadline):
    while time.monotonic() < deadline:
        found = run("xdotool", "search", "--onlyvisible", "--name", "^Orvo gallery$")
        ids = found.stdout.split()
        if found.returncode == 0 and ids:
            return ids[0]
        time.sleep(0.2)
    return None


def window_origin(window):
    geometry = run("xdotool", "getwindowgeometry", "--shell", window).stdout
    values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def pixel(origin, point):
    x, y = origin[0] + point[0], origin[1] + point[1]
    shot = subprocess.run(
        ["import", "-silent", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "rgb:-"],
        capture_output=True,
        timeout=30,
    )
    if shot.returncode != 0 or len(shot.stdout) < 3:
        return None
    return tuple(shot.stdout[:3])


def is_accent(colour):
    return colour is not None and colour[0] > 200 and colour[1] < 140 and colour[2] < 80


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


def click(origin, point):
    x, y = origin[0] + point[0], origin[1] + point[1]
    run("xdotool", "mousemove", str(x), str(y))
    time.sleep(0.3)
    run("xdotool", "click", "1")


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    program = subprocess.Popen([runner, exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    failures = []
    try:
        window = find_window(time.monotonic() + 60)
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

        click(origin, CLOSE_BUTTON_CENTRE)
        try:
            status = program.wait(timeout=20)
        except subprocess.TimeoutExpired:
            failures.append("the close button did not end the program")
        else:
            if status != 0:
                failures.append(f"the program ended with status {status}")
    finally:
        if program.poll() is None:
            program.kill()
            program.wait()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
