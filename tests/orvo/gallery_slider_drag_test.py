#!/usr/bin/env python3
"""The slider under a real X11 pointer: on the gallery's sliders page xdotool presses the
first slider's thumb, drags it past the right end of its track and on below the control,
and lets go; the accent fill then reaches the track's end. A second drag to the far left
empties the track again. ImageMagick reads the screen back.

Usage: gallery_slider_drag_test.py WINE_RUNNER GALLERY_EXE
"""

import subprocess
import sys
import time

# Client coordinates on the sliders page: the first slider's knob at value 3 of 10, and
# points on its track near both ends.
THUMB_AT_THREE = (92, 111)
KNOB_RING = (98, 111)  # the knob's accent ring, right of its white centre
TRACK_NEAR_RIGHT_END = (224, 111)
TRACK_NEAR_LEFT_END = (44, 111)
CLOSE_BUTTON_CENTRE = (965, 25)


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


def move(origin, point):
    run("xdotool", "mousemove", str(origin[0] + point[0]), str(origin[1] + point[1]))
    time.sleep(0.05)


def drag(origin, start, path):
    move(origin, start)
    time.sleep(0.3)
    run("xdotool", "mousedown", "1")
    time.sleep(0.2)
    for point in path:
        move(origin, point)
    time.sleep(0.3)
    run("xdotool", "mouseup", "1")
    time.sleep(0.3)


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    program = subprocess.Popen(
        [runner, exe, "--family", "sliders"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL
    )
    failures = []
    try:
        window = find_window(time.monotonic() + 60)
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

        move(origin, CLOSE_BUTTON_CENTRE)
        time.sleep(0.3)
        run("xdotool", "click", "1")
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
