#!/usr/bin/env python3
"""The buttons and popups gallery pages under a real X11 pointer: xdotool moves and clicks,
ImageMagick reads the screen back.

buttons: the pointer over a push button lights it up, holding the button down darkens it,
releasing lights it again; a click on an unchecked check box fills it with the accent.
popups: a click on "Open menu" opens the menu, a click on its "Rename" entry posts the
menu's command to the page, whose lamp switch turns on, and the menu closes.

Usage: buttons_pointer_test.py WINE_RUNNER GALLERY_EXE
"""

import sys
import time

from pointer_test_support import (GALLERY_TITLE, click, close_gallery, find_window, is_accent,
                                  launch, move, pixel, run, stop, wait_for, window_origin)

# Client coordinates on the buttons page.
APPLY_BUTTON_EDGE = (46, 95)  # inside the first "Apply" button, clear of its text
APPLY_BUTTON_CENTRE = (95, 110)
CHECK_BOX_FILL = (50, 174)  # inside the "Beep" box, above where the tick goes
# Client coordinates on the popups page.
OPEN_MENU_BUTTON = (660, 125)
RENAME_ENTRY = (650, 140 + 72)  # the menu opens under the button; "Rename" is its third entry
LAMP_TRACK = (60, 512)


def brightness(colour):
    return sum(colour) if colour is not None else -1


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
        program = launch(runner, exe, "--family", family)
        try:
            window = find_window(GALLERY_TITLE, time.monotonic() + 60)
            if window is None:
                print(f"the {family} page never showed")
                return 1
            origin = window_origin(window)
            if not wait_for(lambda: pixel(origin, (500, 600)) is not None, 10):
                print("the screen cannot be read back")
                return 1
            page_failures = []
            check(origin, page_failures)
            close_gallery(program, origin, page_failures)
            failures += [f"{family}: {failure}" for failure in page_failures]
        finally:
            stop(program)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
