#!/usr/bin/env python3
"""Raw input capture under real X11 input: xdotool types and clicks into the probe window
(raw_input_probe.exe), which prints what the capture made of each message.

  - Shift and A: the left Shift arrives as code 160 named "Shift", down before A, up after.
  - B held until it repeats: one key-down, the repeats ignored (kind 0).
  - A left click inside the window: "LB" down and up.
  - Escape ends the probe.

Usage: raw_input_xdotool_test.py WINE_RUNNER PROBE_EXE
"""

import subprocess
import sys
import threading
import time


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30)


def find_window(deadline):
    while time.monotonic() < deadline:
        found = run("xdotool", "search", "--onlyvisible", "--name", "^Raw input probe$")
        ids = found.stdout.split()
        if found.returncode == 0 and ids:
            return ids[0]
        time.sleep(0.2)
    return None


def main():
    runner, exe = sys.argv[1], sys.argv[2]
    if run("xdotool", "version").returncode != 0:
        print("xdotool is not available")
        return 77
    probe = subprocess.Popen([runner, exe], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                             text=True)
    lines = []
    reader = threading.Thread(target=lambda: lines.extend(probe.stdout), daemon=True)
    reader.start()
    failures = []
    try:
        window = find_window(time.monotonic() + 60)
        if window is None:
            print("the probe window did not appear")
            return 1
        run("xdotool", "windowfocus", "--sync", window)
        time.sleep(0.5)
        run("xdotool", "keydown", "shift", "key", "a", "keyup", "shift")
        time.sleep(0.3)
        # Held past the server's auto-repeat delay, the key repeats.
        run("xdotool", "keydown", "b")
        time.sleep(1.5)
        run("xdotool", "keyup", "b")
        time.sleep(0.3)
        run("xdotool", "mousemove", "--window", window, "200", "150", "click", "1")
        time.sleep(0.5)
        run("xdotool", "key", "Escape")
        probe.wait(timeout=30)
        reader.join(timeout=5)
    finally:
        if probe.poll() is None:
            probe.kill()
    records = [line.split(" ", 3) for line in (l.rstrip("\n") for l in lines) if line]
    records = [r + [""] * (4 - len(r)) for r in records if len(r) >= 3]
    events = [(int(r[0]), int(r[1]), int(r[2]), r[3]) for r in records if r[0].isdigit()]

    def index(event):
        return events.index(event) if event in events else -1

    shift_down, a_down = index((2, 0, 160, "Shift")), -1
    a_down = next((i for i, e in enumerate(events) if e[:3] == (2, 0, 65)), -1)
    shift_up = index((2, 1, 160, "Shift"))
    if not 0 <= shift_down < a_down < shift_up:
        failures.append("Shift as 160 around A: %s" % events)
    b_downs = [e[0] for e in events if e[2] == 66 and e[1] == 0]
    if len(b_downs) < 2 or b_downs[0] != 2 or any(kind != 0 for kind in b_downs[1:]):
        failures.append("one B down and its repeats ignored: %s" % b_downs)
    if not any(e[:3] == (2, 1, 66) for e in events):
        failures.append("B up: %s" % events)
    left_down, left_up = index((1, 0, 1, "LB")), index((1, 1, 1, "LB"))
    if not 0 <= left_down < left_up:
        failures.append("left button down and up: %s" % events)
    if probe.returncode != 0:
        failures.append("probe ended with %s" % probe.returncode)
    for failure in failures:
        print("FAILED:", failure)
    if not failures:
        print("raw input: %d records as expected" % len(events))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
