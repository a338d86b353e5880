#!/usr/bin/env python3
"""The text and list families of the gallery under a real X11 pointer and keyboard (xdotool),
with the screen read back (ImageMagick).

text: a click on the combo box opens its drop-down list below it; a click on a row of the list
picks it: the list closes and the combo shows the picked text.
lists: a double click on a macro row opens the row editor over it; typed text and Return
rename the row in place: the editor goes and the row shows the longer name.

Usage: text_pointer_test.py WINE_RUNNER GALLERY_EXE
"""

import sys
import time

from pointer_test_support import (GALLERY_TITLE, click, close_gallery, find_window, grab,
                                  is_accent, launch, move, pixel, run, stop, wait_for,
                                  window_origin)

# The text page: the first combo (rows of 30 pixels below it, the list 6 pixels in).
COMBO_CENTRE = (100, 283)
COMBO_TEXT = (48, 272, 150, 22)  # x, y, width, height
LIST_ROW_2 = (100, 381)
# The lists page: the macro list is scrolled to its end, so its third row is on screen second.
MACRO_ROW = (100, 144)
EDITOR_INSIDE = (58, 137)  # left end of the row editor, clear of its text
TEXT_PAST_OLD_NAME = (178, 136, 24, 16)  # right of "Copy and paste", left of the pencil


def brightest(origin, box):
    data = grab(origin, box)
    return -1 if data is None else max(data)


def is_dark(colour):
    return colour is not None and sum(colour) < 60


def is_editor(colour):
    # The row editor's background (61, 83, 80).
    return colour is not None and all(abs(c - e) < 14 for c, e in zip(colour, (61, 83, 80)))


def start(runner, exe, family):
    program = launch(runner, exe, "--family", family)
    window = find_window(GALLERY_TITLE, time.monotonic() + 60)
    if window is None:
        return program, None, None
    origin = window_origin(window)
    if not wait_for(lambda: pixel(origin, COMBO_CENTRE) is not None, 10):
        return program, window, None
    time.sleep(1.0)
    return program, window, origin


def combo_picks_from_its_list(runner, exe, failures):
    program, window, origin = start(runner, exe, "text")
    try:
        if origin is None:
            failures.append("the text page never showed")
            return
        if not is_dark(pixel(origin, LIST_ROW_2)):
            failures.append(f"something lies below the combo already: {pixel(origin, LIST_ROW_2)}")
        title_before = grab(origin, COMBO_TEXT)
        click(origin, COMBO_CENTRE)
        if not wait_for(lambda: not is_dark(pixel(origin, LIST_ROW_2)), 10):
            failures.append("a click on the combo opened no list below it")
            return
        move(origin, LIST_ROW_2, settle=0.3)
        if not wait_for(lambda: is_accent(pixel(origin, LIST_ROW_2)), 5):
            failures.append(f"the row under the pointer is not lit: {pixel(origin, LIST_ROW_2)}")
        click(origin, LIST_ROW_2)
        if not wait_for(lambda: is_dark(pixel(origin, LIST_ROW_2)), 10):
            failures.append("picking a row left the list open")
        if not wait_for(lambda: grab(origin, COMBO_TEXT) != title_before, 5):
            failures.append("the combo still shows the text it had before the pick")
        close_gallery(program, origin, failures)
    finally:
        stop(program)


def macro_row_renamed_in_place(runner, exe, failures):
    program, window, origin = start(runner, exe, "lists")
    try:
        if origin is None:
            failures.append("the lists page never showed")
            return
        if brightest(origin, TEXT_PAST_OLD_NAME) > 120:
            failures.append("the row shows text past its name before the rename")
        run("xdotool", "windowfocus", "--sync", window)
        move(origin, MACRO_ROW, settle=0.3)
        click(origin, MACRO_ROW, repeat=2)
        if not wait_for(lambda: is_editor(pixel(origin, EDITOR_INSIDE)), 10):
            failures.append(f"a double click opened no editor: {pixel(origin, EDITOR_INSIDE)}")
            return
        run("xdotool", "type", "--delay", "60", "WWWWWW")
        run("xdotool", "key", "Return")
        if not wait_for(lambda: not is_editor(pixel(origin, EDITOR_INSIDE)), 10):
            failures.append("Return left the editor open")
        if not wait_for(lambda: brightest(origin, TEXT_PAST_OLD_NAME) > 150, 5):
            failures.append("the row does not show the longer name")
        close_gallery(program, origin, failures)
    finally:
        stop(program)


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    failures = []
    combo_picks_from_its_list(runner, exe, failures)
    macro_row_renamed_in_place(runner, exe, failures)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
