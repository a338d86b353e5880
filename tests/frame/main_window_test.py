#!/usr/bin/env python3
"""The real main window of "Tavik Mouse.exe" on the simulated mouse, end to end under Wine:
the device plays a scenario, the window's state file says what it shows, xdotool clicks and
types as a person would, and ImageMagick reads the screen back for the golden pictures.

Usage: main_window_test.py WINE_RUNNER PROGRAM_EXE POSTER_EXE GROUP
GROUP is one of: views, events, factory-reset, geometry, profile, language, pictures.
Exits 0 when every case of the group passed, 1 when one failed, 2 for bad usage and 77 when
the X11 peers are missing (skipped).
"""

import glob
import os
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

import main_window_support as support
from main_window_support import MainWindow, parse_devices, parse_rect

MAIN_DEVICE_TYPE = 102
WIRED_MODE = 0
WIRELESS_MODE = 1
CONNECTED = 1
STATUS_NOT_CONNECTED = 50
STATUS_WIRED = 51
STATUS_WIRELESS = 52
SCENARIO_BATTERY = 60  # the level every scenario starts the mouse with
REPORTED_BATTERY = 40  # the level events.txt reports later

HOME_TAB = 1
BUTTONS_TAB = 2
DEVICE_SETTINGS_TAB = 6
FACTORY_RESET_BUTTON = 266
FACTORY_RESET_JOB = 24
SELECT_PROFILE_JOB = 5

# The language text of each tab item.
TAB_TEXTS = {1: 71, 2: 72, 3: 73, 4: 74, 5: 75, 6: 76, 8: 77}
STATUS_TEXTS = (STATUS_NOT_CONNECTED, STATUS_WIRED, STATUS_WIRELESS)
VERSION_LABEL_TEXT = 17
PROFILE_WORD_TEXT = 61

# What each view shows (1) and hides (0), by frame control id: 35 caption picture,
# 44 battery, 45 status, 46 profile button, 47 left panel, 48 tab strip, 49 home view,
# 57 device list, 61 no-connection text.
VIEW_VISIBILITY = {
    "device-list": {49: 1, 57: 1, 35: 0, 44: 0, 45: 0, 46: 0, 47: 0, 48: 0, 61: 0},
    "no-connection": {49: 1, 61: 1, 47: 0, 48: 0, 57: 0},
    "device": {35: 1, 44: 1, 45: 1, 46: 1, 47: 1, 48: 1},
}

# Titles of the skinned message box and of the wait dialog, top-level windows of their own.
MESSAGE_BOX_TITLE = "MessageBox"
WAIT_DIALOG_TITLE = "WaitDlg"


def centred_span(width, span):
    left = (width - span) // 2
    return left, left + span


def frame_geometry(width, height, logo_size):
    """The client rectangle each frame control is laid out at for a client of width x height:
    (control id, what it is, (left, top, right, bottom), slack in pixels)."""
    right, bottom = width, height
    scale = height / 780
    logo_width, logo_height = logo_size
    title_left, title_right = centred_span(width, 260)
    centre_left, centre_right = centred_span(width, 550)
    gone_width = 500 * scale
    gone_left = (width - gone_width) / 2
    return [
        (30, "background", (0, 0, right, bottom), 0),
        (32, "caption bar", (1, 1, right - 1, 50), 0),
        (33, "status bar", (1, bottom - 50, right - 1, bottom - 1), 0),
        (34, "logo", (30, 30, 30 + logo_width, 30 + logo_height), 0),
        (39, "close button", (right - 50, 10, right - 20, 40), 0),
        (40, "minimise button", (right - 81, 10, right - 51, 40), 0),
        (42, "settings button", (right - 112, 10, right - 82, 40), 0),
        (36, "title", (title_left, 10, title_right, 40), 1),
        (37, "application version", (25, bottom - 38, 185, bottom - 12), 0),
        (38, "status-bar centre text", (centre_left, bottom - 38, centre_right, bottom - 12), 1),
        (44, "battery", (right - 110, 50, right - 15, 80), 0),
        (46, "profile button", (right - 150, bottom - 38, right - 20, bottom - 12), 0),
        (47, "left panel", (1, 1, 201, bottom - 1), 0),
        (48, "tab strip", (1, 120, 191, 540), 0),
        (50, "page area", (200, 75, right - 1, bottom - 50), 0),
        (49, "home view", (10, 75, right - 10, bottom - 1), 0),
        (57, "device list", (90, 130, right - 60, bottom - 100), 0),
        (61, "no-connection text",
         (gone_left, 200 * scale, gone_left + gone_width, 280 * scale), 1),
    ]


def main_record(state):
    """Index and record of the main model in the device list, or (None, None)."""
    for index, record in enumerate(parse_devices(state.get("devices"))):
        if record["type"] == MAIN_DEVICE_TYPE:
            return index, record
    return None, None


def connected_by(state, mode):
    _, record = main_record(state)
    return record is not None and record["state"] == CONNECTED and record["mode"] == mode


def nothing_connected(state):
    return all(record["state"] != CONNECTED for record in parse_devices(state.get("devices")))


def job_count(state, code):
    return int(state.get(f"job.{code}", "0"))


def brief(state):
    """The keys that say most about what the window shows, for a failure message."""
    keys = ("view", "tab", "status", "battery", "devices", "dpi_stage", "profile", "language",
            "message_box", "wait_dialog", f"job.{FACTORY_RESET_JOB}",
            f"job.{SELECT_PROFILE_JOB}")
    shown = [f"{key}={state[key]}" for key in keys if key in state]
    return "; ".join(shown) if shown else "(no state file yet)"


def check_view(state, view, failures):
    if state.get("view") != view:
        failures.append(f"the window shows view {state.get('view')!r}, not {view!r}")
    for control, expected in VIEW_VISIBILITY[view].items():
        shown = state.get(f"visible.{control}")
        if shown != str(expected):
            failures.append(f"in the {view} view control {control} should be "
                            f"{'shown' if expected else 'hidden'} (visible.{control}={shown})")


def wait_or_fail(window, predicate, what, failures, seconds=20):
    state = window.wait_for_state(predicate, seconds)
    if state is None:
        failures.append(f"{what} did not happen within {seconds} s; the window shows: "
                        f"{brief(window.state())}")
        if not window.running():
            failures.append("the program is no longer running")
    return state


def open_device(window, failures):
    """From the device list, a real click on the main mouse's card; the device view."""
    state = wait_or_fail(
        window,
        lambda s: s["view"] == "device-list" and connected_by(s, WIRED_MODE) and
        parse_rect(s[f"card.{main_record(s)[0]}"]) is not None, "the mouse's card showing",
        failures)
    if state is None:
        return None
    window.click(parse_rect(state[f"card.{main_record(state)[0]}"]))
    return wait_or_fail(window, lambda s: s["view"] == "device", "the device view on a click",
                        failures)


def open_tab(window, item, failures):
    state = window.state()
    rect = parse_rect(state.get(f"tab_item.{item}"))
    if rect is None:
        failures.append(f"tab item {item} has no rectangle; the window shows: {brief(state)}")
        return None
    window.click(rect)
    return wait_or_fail(window, lambda s: s["tab"] == str(item), f"tab {item} on a click",
                        failures)


# views: what the window shows on start, on clicks and as the devices come and go.


def views_group(setup, cases):
    with MainWindow(setup, "start.txt", lcid=1033) as window:

        def start_shows_the_device_list(failures):
            state = wait_or_fail(
                window, lambda s: s["view"] == "device-list" and main_record(s)[1]["level"] ==
                SCENARIO_BATTERY and connected_by(s, WIRED_MODE), "the mouse in the device list",
                failures)
            if state is None:
                return
            check_view(state, "device-list", failures)
            index, record = main_record(state)
            if record["charging"] != 0:
                failures.append(f"the mouse shows as charging: {state['devices']}")
            if parse_rect(state.get(f"card.{index}")) is None:
                failures.append(f"the mouse has no card: card.{index}={state.get(f'card.{index}')}")

        def clicking_the_card_opens_the_device_on_its_buttons_tab(failures):
            state = open_device(window, failures)
            if state is None:
                return
            state = wait_or_fail(window, lambda s: s["tab"] == str(BUTTONS_TAB),
                                 "the buttons tab selected", failures)
            if state is None:
                return
            check_view(state, "device", failures)
            if state.get("visible.50") != "1" or state.get("visible.49") != "0":
                failures.append("the buttons page is not the page shown: visible.49="
                                f"{state.get('visible.49')} visible.50={state.get('visible.50')}")
            if state.get("battery") != str(SCENARIO_BATTERY):
                failures.append(f"the caption battery shows {state.get('battery')}, the mouse "
                                f"reports {SCENARIO_BATTERY}")
            if state.get("status") != str(STATUS_WIRED):
                failures.append(f"the status shows text {state.get('status')}, not "
                                f"{STATUS_WIRED} (connected by cable)")

        def clicking_the_home_tab_shows_the_device_list_again(failures):
            if window.state().get("view") != "device":
                failures.append("needs the device view of the case before")
                return
            home = parse_rect(window.state().get(f"tab_item.{HOME_TAB}"))
            if home is None:
                failures.append("the home tab item has no rectangle")
                return
            window.click(home)
            state = wait_or_fail(window, lambda s: s["view"] == "device-list",
                                 "the device list on the home tab", failures)
            if state is not None:
                check_view(state, "device-list", failures)

        cases.run("start shows the device list with the mouse and its battery",
                  start_shows_the_device_list)
        cases.run("clicking the mouse's card opens the device view on the buttons tab",
                  clicking_the_card_opens_the_device_on_its_buttons_tab)
        cases.run("clicking the home tab shows the device list again",
                  clicking_the_home_tab_shows_the_device_list_again)

    def command_100_ends_the_program(failures):
        if window.exit_status is None:
            failures.append("the program did not end within 20 s of command 100")
        elif window.exit_status != 0:
            failures.append(f"command 100 ended the program with status {window.exit_status}")

    cases.run("command 100 ends the program with status 0", command_100_ends_the_program)

    with MainWindow(setup, "unplug.txt", lcid=1033) as window:

        def unplugging_follows_the_mouse_to_its_receiver_then_to_nothing(failures):
            steps = [
                ("the mouse on its cable",
                 lambda s: connected_by(s, WIRED_MODE) and s["status"] == str(STATUS_WIRED),
                 "device-list"),
                ("the mouse through its receiver once the cable is out",
                 lambda s: connected_by(s, WIRELESS_MODE) and s["status"] == str(
                     STATUS_WIRELESS), "device-list"),
                ("the no-connection view once the mouse is off",
                 lambda s: s["view"] == "no-connection" and nothing_connected(s) and s[
                     "status"] == str(STATUS_NOT_CONNECTED), "no-connection"),
            ]
            for what, predicate, view in steps:
                state = wait_or_fail(window, predicate, what, failures)
                if state is None:
                    return
                check_view(state, view, failures)

        cases.run("unplugging the cable shows the receiver's mouse, switching it off shows "
                  "no connection", unplugging_follows_the_mouse_to_its_receiver_then_to_nothing)


# events: what the mouse reports by itself reaches the controls.


def events_group(setup, cases):
    with MainWindow(setup, "events.txt", lcid=1033) as window:

        def pressing_the_dpi_button_moves_the_dpi_control(failures):
            state = wait_or_fail(window, lambda s: int(s["dpi_stage"]) >= 0,
                                 "a DPI stage read from the mouse", failures)
            if state is None:
                return
            before = int(state["dpi_stage"])
            wait_or_fail(window, lambda s: int(s["dpi_stage"]) not in (before, -1),
                         f"the DPI control leaving stage {before} on the mouse's DPI button",
                         failures)

        def a_battery_report_changes_the_gauge(failures):
            if wait_or_fail(window, lambda s: s["battery"] == str(SCENARIO_BATTERY),
                            f"the gauge at {SCENARIO_BATTERY} before the report",
                            failures) is None:
                return
            state = wait_or_fail(window, lambda s: s["battery"] == str(REPORTED_BATTERY),
                                 f"the gauge at {REPORTED_BATTERY} after the battery report",
                                 failures)
            if state is not None and main_record(state)[1]["level"] != REPORTED_BATTERY:
                failures.append(f"the device list did not follow: {state.get('devices')}")

        cases.run("pressing the DPI button on the mouse moves the DPI control",
                  pressing_the_dpi_button_moves_the_dpi_control)
        cases.run("a battery report changes the gauge", a_battery_report_changes_the_gauge)


# factory-reset: the question box answered each way.


def message_box_point(box, accept):
    """Screen point of an answer of the question box `box` (an X window id): the middle of
    the accept button (100 wide, ending 20 left of the box's middle) or of the decline button
    (starting 20 right of it), both 14..50 above the bottom."""
    geometry = support.pointer.run("xdotool", "getwindowgeometry", "--shell", box).stdout
    values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
    x, y = int(values["X"]), int(values["Y"])
    width, height = int(values["WIDTH"]), int(values["HEIGHT"])
    middle = width // 2
    offset = -70 if accept else 70
    return x + middle + offset, y + height - 32


def click_screen(point):
    support.pointer.run("xdotool", "mousemove", str(point[0]), str(point[1]))
    time.sleep(0.3)
    support.pointer.run("xdotool", "click", "1")
    time.sleep(0.2)


def open_reset_question(window, failures):
    """The factory reset's question box opened from the device settings page; its X window
    id, or None."""
    state = window.state()
    if state.get("view") != "device":
        if open_device(window, failures) is None:
            return None
    if window.state().get("tab") != str(DEVICE_SETTINGS_TAB):
        if open_tab(window, DEVICE_SETTINGS_TAB, failures) is None:
            return None
    state = wait_or_fail(window, lambda s: parse_rect(s[f"button.{FACTORY_RESET_BUTTON}"]),
                         "the factory reset button on the device settings page", failures)
    if state is None:
        return None
    window.click(parse_rect(state[f"button.{FACTORY_RESET_BUTTON}"]))
    if wait_or_fail(window, lambda s: s["message_box"] == "1", "the question box opening",
                    failures) is None:
        return None
    box = support.find_top_level(MESSAGE_BOX_TITLE, 10)
    if box is None:
        failures.append("the state says a message box is open but no window titled "
                        f"{MESSAGE_BOX_TITLE!r} shows")
    return box


def box_closed(window, failures, what):
    if wait_or_fail(window, lambda s: s["message_box"] == "0", what, failures) is None:
        return False
    if not support.pointer.wait_for(lambda: not support.window_shown(MESSAGE_BOX_TITLE), 10):
        failures.append(f"the state says the box closed, but a {MESSAGE_BOX_TITLE!r} window "
                        "still shows")
        return False
    return True


def nothing_was_reset(window, failures):
    # A reset goes ahead at once on the answer; a second is plenty to see it if it did.
    time.sleep(1.0)
    state = window.state()
    if job_count(state, FACTORY_RESET_JOB) != 0:
        failures.append(f"a factory reset was queued: job.{FACTORY_RESET_JOB}="
                        f"{state.get(f'job.{FACTORY_RESET_JOB}')}")
    if state.get("wait_dialog") != "0" or support.window_shown(WAIT_DIALOG_TITLE):
        failures.append("the wait dialog shows")


def watch_wait_dialog(window, seconds):
    """(seen, closed): whether the wait dialog showed (in the state file or as a window) and
    closed again within `seconds`. Polled quickly: it may show for a fraction of a second."""
    seen = False
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        shown = window.state().get("wait_dialog") == "1" or support.window_shown(
            WAIT_DIALOG_TITLE)
        if shown:
            seen = True
        elif seen:
            return True, True
        time.sleep(0.02)
    return seen, False


def factory_reset_group(setup, cases):
    with MainWindow(setup, "start.txt", lcid=1033) as window:

        def declining_resets_nothing(failures):
            box = open_reset_question(window, failures)
            if box is None:
                return
            click_screen(message_box_point(box, accept=False))
            if box_closed(window, failures, "the box closing on the decline button"):
                nothing_was_reset(window, failures)

        def alt_f4_resets_nothing(failures):
            box = open_reset_question(window, failures)
            if box is None:
                return
            support.pointer.run("xdotool", "key", "--window", box, "alt+F4")
            if box_closed(window, failures, "the box closing on Alt+F4"):
                nothing_was_reset(window, failures)

        def accepting_resets_and_waits_for_the_mouse(failures):
            box = open_reset_question(window, failures)
            if box is None:
                return
            click_screen(message_box_point(box, accept=True))
            seen, closed = watch_wait_dialog(window, 30)
            if not seen:
                failures.append("the wait dialog never showed")
            elif not closed:
                failures.append("the wait dialog did not close after the reset")
            state = wait_or_fail(window, lambda s: job_count(s, FACTORY_RESET_JOB) >= 1,
                                 "the factory reset job queued", failures)
            if state is None:
                return
            time.sleep(1.0)
            count = job_count(window.state(), FACTORY_RESET_JOB)
            if count != 1:
                failures.append(f"one accepting answer queued {count} factory reset jobs")
            if window.state().get("message_box") != "0":
                failures.append("a message box is still open")

        cases.run("factory reset declined resets nothing", declining_resets_nothing)
        cases.run("factory reset closed with Alt+F4 resets nothing", alt_f4_resets_nothing)
        cases.run("factory reset accepted queues one reset and shows the wait dialog until done",
                  accepting_resets_and_waits_for_the_mouse)

    with MainWindow(setup, "unplug_late.txt", lcid=1033) as window:

        def a_disconnect_closes_the_question_and_resets_nothing(failures):
            box = open_reset_question(window, failures)
            if box is None or nothing_connected(window.state()):
                if nothing_connected(window.state()):
                    failures.append("the mouse was unplugged (18 s after the start) before the "
                                    "question box opened: the case could not be played")
                return
            if not box_closed(window, failures, "the box closing when the mouse is unplugged"):
                return
            wait_or_fail(window, lambda s: s["view"] == "no-connection",
                         "the no-connection view", failures)
            nothing_was_reset(window, failures)

        cases.run("factory reset question closed by a disconnect resets nothing",
                  a_disconnect_closes_the_question_and_resets_nothing)


# geometry: UISize at two window sizes.


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    return int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")


def logo_size(setup):
    found = glob.glob(os.path.join(os.path.dirname(setup.program), "skins", "*", "logo",
                                   "logo.png"))
    if len(found) != 1:
        raise RuntimeError(f"expected one skin's logo\\logo.png beside the program, found {found}")
    return png_size(found[0])


def geometry_group(setup, cases):
    logo = logo_size(setup)
    with MainWindow(setup, "start.txt", lcid=1033) as window:

        def check_geometry(width, height, failures):
            state = wait_or_fail(
                window, lambda s: s["client"] == f"{width},{height}" and "rect.57" in s,
                f"a client of {width} x {height}", failures)
            if state is None:
                return
            # The rectangles are written after the layout that the new size ran.
            time.sleep(0.3)
            state = window.state()
            for control, what, expected, slack in frame_geometry(width, height, logo):
                actual = parse_rect(state.get(f"rect.{control}"))
                if actual is None:
                    failures.append(f"{what} ({control}): no rectangle in the state file")
                    continue
                if any(abs(a - e) > slack for a, e in zip(actual, expected)):
                    wanted = ",".join(f"{e:g}" for e in expected)
                    failures.append(f"{what} ({control}) at {width} x {height}: "
                                    f"{','.join(map(str, actual))}, expected {wanted}")

        def at_the_start_size(failures):
            check_geometry(1280, 780, failures)

        def after_a_resize(failures):
            if window.resize(1600, 900) != 0:
                failures.append("main-window-poster could not resize the window")
                return
            check_geometry(1600, 900, failures)

        cases.run("frame layout at 1280 x 780", at_the_start_size)
        cases.run("frame layout after a resize to 1600 x 900", after_a_resize)


# profile: a profile chosen in the profile dialog.


# A profile number another program may post, the profile it should leave current and how
# many apply jobs it should queue. Numbers outside 1..4 are not profiles.
PROFILE_SELECTIONS = [
    ("profile 0 is ignored", 0, 1, 0),
    ("profile 5 is ignored", 5, 1, 0),
    ("profile 2 is selected with exactly one apply job", 2, 2, 1),
]


def profile_group(setup, cases):
    profile_word = support.read_language_file(
        os.path.join(os.path.dirname(setup.program), "language", "1033.lan"))[PROFILE_WORD_TEXT]
    with MainWindow(setup, "start.txt", lcid=1033) as window:
        ready = []

        def wait_until_ready(failures):
            if ready:
                return True
            if wait_or_fail(window, lambda s: connected_by(s, WIRED_MODE) and s["profile"] ==
                            "1", "the mouse connected on profile 1", failures) is None:
                return False
            # What start-up queued of its own is done before the counts are taken.
            time.sleep(1.0)
            ready.append(True)
            return True

        for name, posted, profile, jobs in PROFILE_SELECTIONS:

            def case(failures, posted=posted, profile=profile, jobs=jobs):
                if not wait_until_ready(failures):
                    return
                before = job_count(window.state(), SELECT_PROFILE_JOB)
                if window.post(support.MESSAGE_SELECT_PROFILE, 0, posted) != 0:
                    failures.append("main-window-poster could not post 1705")
                    return
                if jobs:
                    wait_or_fail(
                        window, lambda s: s["profile"] == str(profile) and
                        job_count(s, SELECT_PROFILE_JOB) > before,
                        f"profile {profile} with its apply job", failures)
                # A second job, or one for an ignored number, would be queued at once.
                time.sleep(1.0)
                state = window.state()
                after = job_count(state, SELECT_PROFILE_JOB)
                if after - before != jobs:
                    failures.append(f"1705 with profile {posted} queued {after - before} apply "
                                    f"jobs, expected {jobs}")
                if state.get("profile") != str(profile):
                    failures.append(f"profile {state.get('profile')} is current, expected "
                                    f"{profile}")
                if state.get("text.46") != f"{profile_word} {profile}":
                    failures.append(f"the profile button reads {state.get('text.46')!r}, "
                                    f"expected {profile_word + ' ' + str(profile)!r}")

            cases.run(f"1705 from the profile dialog: {name}", case)


# language: 1033 <-> 2052 re-applies every text.


def application_version(setup):
    config = os.path.join(os.path.dirname(setup.program), "config.xml")
    return ElementTree.parse(config).getroot().find("software").get("version")


def expected_texts(state, texts, version):
    """What each text of the state file should read in the language of `texts`, for the
    texts whose source is known: {key: text}."""
    expected = {f"text.37": f"{texts[VERSION_LABEL_TEXT]}: v{version}"}
    status = int(state.get("status", "0"))
    if status in STATUS_TEXTS:
        expected["text.45"] = texts[status]
    for item, number in TAB_TEXTS.items():
        if f"tab_text.{item}" in state:
            expected[f"tab_text.{item}"] = texts[number]
    return expected


def check_texts(state, texts, other, version, language, failures):
    """Every text of the state file reads as in `texts`: the known ones exactly, a profile
    name with this language's profile word, any other one that is a text of either language
    (or such a text as the label before ": ") as this language's text of the same number."""
    expected = expected_texts(state, texts, version)
    for key, text in expected.items():
        if state.get(key) != text:
            failures.append(f"{language}: {key} reads {state.get(key)!r}, expected {text!r}")
    by_text = {}
    for table in (texts, other):
        for number, text in table.items():
            by_text.setdefault(text, number)
    for key, value in sorted(state.items()):
        if not (key.startswith("text.") or key.startswith("tab_text.")) or key in expected:
            continue
        if key == "text.46":
            words = (texts[PROFILE_WORD_TEXT], other[PROFILE_WORD_TEXT])
            if value.startswith(words[1]) and not value.startswith(words[0]):
                failures.append(f"{language}: the profile name {value!r} keeps the other "
                                f"language's word {words[1]!r}")
            continue
        number = by_text.get(value)
        if number is not None and number in texts and texts[number] != value:
            failures.append(f"{language}: {key} reads {value!r}, the other language's text "
                            f"{number}; expected {texts[number]!r}")
            continue
        # A label before a value: "Mouse firmware: 1.2.5".
        label, separator, rest = value.partition(": ")
        number = by_text.get(label) if separator else None
        if number is not None and number in texts and texts[number] != label:
            failures.append(f"{language}: {key} reads {value!r}, with the other language's "
                            f"text {number}; expected {texts[number] + separator + rest!r}")


def language_group(setup, cases):
    languages = {}
    for lcid in (1033, 2052):
        languages[lcid] = support.read_language_file(
            os.path.join(os.path.dirname(setup.program), "language", f"{lcid}.lan"))
    version = application_version(setup)

    def switch(first, second):

        def case(failures):
            with MainWindow(setup, "start.txt", lcid=first) as window:
                state = wait_or_fail(window, lambda s: s["language"] == str(first) and
                                     connected_by(s, WIRED_MODE) and s["status"] == str(
                                         STATUS_WIRED), f"the window in {first}", failures)
                if state is None:
                    return
                # The device view, so its tab texts are in the file too.
                if open_device(window, failures) is None:
                    return
                time.sleep(0.3)
                before = window.state()
                check_texts(before, languages[first], languages[second], version, first,
                            failures)
                window.set_language(second)
                if window.post(support.MESSAGE_LANGUAGE_CHANGED) != 0:
                    failures.append("main-window-poster could not post 2022")
                    return
                after = wait_or_fail(window, lambda s: s["language"] == str(second),
                                     f"the window switching to {second}", failures)
                if after is None:
                    return
                time.sleep(0.3)
                after = window.state()
                check_texts(after, languages[second], languages[first], version, second,
                            failures)

        return case

    cases.run("English to Chinese re-applies every text", switch(1033, 2052))
    cases.run("Chinese to English re-applies every text", switch(2052, 1033))


# pictures: each view in each language against its golden picture.


def wait_for_still_picture(window, width, height, seconds=15):
    """The client area once two captures in a row are the same (the paint has settled)."""
    window.park_pointer()
    previous = window.screenshot(width, height)
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        time.sleep(0.5)
        current = window.screenshot(width, height)
        if current is not None and current == previous:
            return current
        previous = current
    return None


def golden_name(view, lcid):
    return "main_" + view.replace(" ", "_").replace("-", "_") + f"_{lcid}.png"


def pictures_group(setup, cases):
    views = [
        ("device list", "start.txt", lambda window, failures: wait_or_fail(
            window, lambda s: s["view"] == "device-list" and connected_by(s, WIRED_MODE) and
            main_record(s)[1]["level"] == SCENARIO_BATTERY, "the device list", failures)),
        ("no-connection", "nothing.txt", lambda window, failures: wait_or_fail(
            window, lambda s: s["view"] == "no-connection", "the no-connection view",
            failures)),
        ("device buttons tab", "start.txt", lambda window, failures: open_device(window, failures)
         and wait_or_fail(window, lambda s: s["tab"] == str(BUTTONS_TAB) and
                          s["battery"] == str(SCENARIO_BATTERY), "the buttons tab", failures)),
    ]
    for lcid in (1033, 2052):
        for view, scenario, reach in views:

            def case(failures, view=view, scenario=scenario, reach=reach, lcid=lcid):
                with MainWindow(setup, scenario, lcid=lcid) as window:
                    if not reach(window, failures):
                        return
                    client = parse_rect("0,0," + window.state().get("client", ""))
                    if client is None:
                        failures.append("the state file has no client size")
                        return
                    width, height = client[2], client[3]
                    picture = wait_for_still_picture(window, width, height)
                    if picture is None:
                        failures.append("the window's picture never settled (or the screen "
                                        "cannot be read back)")
                        return
                    problem = support.compare_with_golden(picture, width, height,
                                                          golden_name(view, lcid))
                    if problem:
                        failures.append(problem)

            cases.run(f"the {view} view in {lcid} looks as its golden picture", case)


GROUPS = {
    "views": views_group,
    "events": events_group,
    "factory-reset": factory_reset_group,
    "geometry": geometry_group,
    "profile": profile_group,
    "language": language_group,
    "pictures": pictures_group,
}


def main():
    if len(sys.argv) != 5 or sys.argv[4] not in GROUPS:
        print(__doc__)
        return 2
    missing = support.missing_peers()
    if missing:
        print(f"skipped: {missing}")
        return support.SKIP
    setup = support.Setup(sys.argv[1], sys.argv[2], sys.argv[3])
    cases = support.CaseRunner()
    try:
        GROUPS[sys.argv[4]](setup, cases)
    except (RuntimeError, OSError, subprocess.SubprocessError) as error:
        # The program could not be started or reached: the cases not yet run cannot run.
        print(f"[ FAIL ] {sys.argv[4]}: {error}")
        return 1
    return cases.status()


if __name__ == "__main__":
    sys.exit(main())
