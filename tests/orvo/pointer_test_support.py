"""What the real-pointer tests share: the program started under the Wine runner, its window
found by title, the screen read back with ImageMagick and the pointer driven with xdotool.
Points are client coordinates, offset by the window's origin on the screen."""

import subprocess
import time

GALLERY_TITLE = "^Orvo gallery$"
CLOSE_BUTTON_CENTRE = (965, 25)  # the gallery's close button


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, timeout=30)


def launch(runner, exe, *arguments, capture_output=False):
    output = subprocess.PIPE if capture_output else subprocess.DEVNULL
    return subprocess.Popen([runner, exe, *arguments], stdout=output,
                            stderr=subprocess.DEVNULL, text=capture_output)


def stop(program):
    if program.poll() is None:
        program.kill()
        program.wait()


def find_window(title, deadline):
    while time.monotonic() < deadline:
        found = run("xdotool", "search", "--onlyvisible", "--name", title)
        ids = found.stdout.split()
        if found.returncode == 0 and ids:
            return ids[0]
        time.sleep(0.2)
    return None


def window_origin(window):
    geometry = run("xdotool", "getwindowgeometry", "--shell", window).stdout
    values = dict(line.split("=", 1) for line in geometry.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


def grab(origin, box):
    x, y, width, height = box
    shot = subprocess.run(
        ["import", "-silent", "-window", "root", "-crop",
         f"{width}x{height}+{origin[0] + x}+{origin[1] + y}", "-depth", "8", "rgb:-"],
        capture_output=True,
        timeout=30,
    )
    if shot.returncode != 0 or len(shot.stdout) < 3 * width * height:
        return None
    return shot.stdout


def pixel(origin, point):
    data = grab(origin, (point[0], point[1], 1, 1))
    return None if data is None else tuple(data[:3])


def is_accent(colour):
    return colour is not None and colour[0] > 200 and colour[1] < 140 and colour[2] < 80


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return condition()


def move(origin, point, settle=0.0):
    run("xdotool", "mousemove", str(origin[0] + point[0]), str(origin[1] + point[1]))
    if settle:
        time.sleep(settle)


def click(origin, point, repeat=1):
    move(origin, point, settle=0.3)
    if repeat > 1:
        run("xdotool", "click", "--repeat", str(repeat), "--delay", "80", "1")
    else:
        run("xdotool", "click", "1")


def close_gallery(program, origin, failures):
    click(origin, CLOSE_BUTTON_CENTRE)
    try:
        status = program.wait(timeout=20)
    except subprocess.TimeoutExpired:
        failures.append("the close button did not end the program")
    else:
        if status != 0:
            failures.append(f"the program ended with status {status}")
