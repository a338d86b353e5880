#!/usr/bin/env python3
"""The buttons and popups gallery pages under a real X11 pointer: xdotool moves and clicks,
ImageMagick reads the screen back.

buttons: the pointer over a push button lights it up, holding the button down darkens it,
releasing lights it again; a click on an unchecked check box fills it with the accent.
popups: a click on "Open menu" opens the menu, a click on its "Rename" entry posts the
menu's command to the page, whose lamp switch turns on, and the menu closes.

Usage: buttons_pointer_test.py WINE_RUNNER GALLERY_EXE
"""

import subprocess
import sys
import time

# Client coordinates on the buttons page.
APPLY_BUTTON_EDGE = (46, 95)  # inside the first "Apply" button, clear of its text
APPLY_BUTTON_CENTRE = (95, 110)
CHECK_BOX_FILL = (50, 174)  # inside the "Beep" box, above where the tick goes
# Client coordinates on the popups page.
OPEN_MENU_BUTTON = (660, 125)
RENAME_ENTRY = (650, 140 + 72)  # the menu opens under the button; "Rename" is its third entry
LAMP_TRACK = (60, 512)


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30)


def find_window(name, deadline):
    while time.monotonic() < deadline:
        found = run("xdotool", "search", "--onlyvisible", "--name", name)
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


def brightness(colour):
    return sum(colour) if colour is not None else -1


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


def move(origin, point):
    run("xdotool", "mousemove", str(origin[0] + point[0]), str(origin[1] + point[1]))


def click(origin, point):
    move(origin, point)
    time.sleep(0.3)
    run("xdotool", "click", "1")


def close(program, origin, failures):
    click(origin, (965, 25))
    try:
        status = program.wait(timeout=20)
    except subprocess.TimeoutExpired:
        failures.append("the close button did not end the program")
    else:
        if status != 0:
            failures.append(f"the program ended with status {status}")


def buttons_page(origin, failures):
    move(origin, (500, 600))
    if not wait_for(lambda: is_accent(pixel(origin, APPLY_BUTTON_EDGE)), 10):
        failures.append(f"the push button does not show: {pixel(origin, APPLY_BUTTON_EDGE)}")
        return
    normal = pixel(origin, APPLY_BUTTON_EDGE)
    move(origin, APPLY_BUTTON_CENTRE)
    if not wait_for(lambda: brightness(pixel(origin, APPLY_BUTTON_EDGE)) > brightness(normal) + 20, 10):
        failures.append(f"hovering left the button at {pixel(origin, APPLY_BUTTON_EDGE)} (was {normal})")
    hot = pixel(origin, APPLY_BUTTON_EDGE)
    run("xdotool", "mousedown", "1")
    if not wait_for(lambda: brightness(pixel(origin, APPLY_BUTTON_EDGE)) < brightness(normal) - 20, 10):
        failures.append(f"pressing left the button at {pixel(origin, APPLY_BUTTON_EDGE)} (hot {hot})")
    run("xdotool", "mouseup", "1")
    if not wait_for(lambda: brightness(pixel(origin, APPLY_BUTTON_EDGE)) > brightness(normal) + 20, 10):
        failures.append(f"after the release the button shows {pixel(origin, APPLY_BUTTON_EDGE)}")

    if is_accent(pixel(origin, CHECK_BOX_FILL)):
        failures.append("the check box starts checked")
    click(origin, CHECK_BOX_FILL)
    if not wait_for(lambda: is_accent(pixel(origin, CHECK_BOX_FILL)), 10):
        failures.append(f"the click left the check box at {pixel(origin, CHECK_BOX_FILL)}")


def popups_page(origin, failures):
    if is_accent(pixel(origin, LAMP_TRACK)):
        failures.append("the lamp is on before any command")
    click(origin, OPEN_MENU_BUTTON)
    if find_window("^Menu Window$", time.monotonic() + 10) is None:
        failures.append("the menu did not open")
        return
    time.sleep(0.5)
    click(origin, RENAME_ENTRY)
    if not wait_for(lambda: is_accent(pixel(origin, LAMP_TRACK)), 10):
        failures.append(f"the menu's command did not reach the page: lamp {pixel(origin, LAMP_TRACK)}")
    if not wait_for(lambda: find_window("^Menu Window$", time.monotonic()) is None, 10):
        failures.append("the menu stayed open after the click")


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    failures = []
    for family, check in (("buttons", buttons_page), ("popups", popups_page)):
        program = subprocess.Popen([runner, exe, "--family", family],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = find_window("^Orvo gallery$", time.monotonic() + 60)
            if window is None:
                print(f"the {family} page never showed")
                return 1
            origin = window_origin(window)
            if not wait_for(lambda: pixel(origin, (500, 600)) is not None, 10):
                print("the screen cannot be read back")
                return 1
            page_failures = []
            check(origin, page_failures)
            close(program, origin, page_failures)
            failures += [f"{family}: {failure}" for failure in page_failures]
        finally:
            if program.poll() is None:
                program.kill()
                program.wait()
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
