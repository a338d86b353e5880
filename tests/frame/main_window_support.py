"""What the end-to-end tests of the main window share: "Tavik Mouse.exe" started on the
simulated devices with a scenario and a fresh registry key, the state file the window writes
(TAVIK_UI_STATE) read back, the real pointer and keyboard driven with xdotool, the screen read
back with ImageMagick and compared with golden pictures, and messages posted to the window by
main-window-poster.exe.

Points and rectangles of the state file are client coordinates; the window's origin on the
screen is added before the pointer moves."""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "orvo"))
import pointer_test_support as pointer  # noqa: E402

APPLICATION_KEY = r"HKCU\SOFTWARE\Tavik Mouse"
MAIN_TITLE = "^Tavik Mouse$"
SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
GOLDEN_DIR = os.path.join(SOURCE_DIR, "tests", "data", "frame")
SCENARIO_DIR = GOLDEN_DIR
# Far from the window (centred on the 1920 x 1080 screen), so nothing shows a hover.
POINTER_PARK = (2, 2)
SKIP = 77

# Message numbers of the window's interface.
WM_KEYDOWN = 0x0100
COMMAND_EXIT = 100
MESSAGE_SELECT_PROFILE = 1705
MESSAGE_LANGUAGE_CHANGED = 2022


class Setup:
    """The programs a test needs, from the command line of the test script."""

    def __init__(self, runner, program, poster):
        self.runner = runner
        self.program = program
        self.poster = poster


def missing_peers():
    """Why the real X11 peers cannot be used here, or None."""
    for tool in ("xdotool", "import"):
        if shutil.which(tool) is None:
            return f"{tool} is missing"
    if not os.environ.get("DISPLAY"):
        return "no X display (DISPLAY is not set)"
    return None


def run_wine(setup, *command, timeout=60):
    return subprocess.run([setup.runner, *command], capture_output=True, text=True,
                          timeout=timeout)


def windows_path(setup, unix_path):
    converted = run_wine(setup, "winepath.exe", "-w", unix_path)
    path = converted.stdout.strip()
    if converted.returncode != 0 or not path:
        raise RuntimeError(f"winepath -w {unix_path} failed: {converted.stderr.strip()}")
    return path


def parse_state(text):
    """The state file's key=value lines as a dict; lines without '=' are ignored."""
    state = {}
    for line in text.split("\n"):
        key, separator, value = line.partition("=")
        if separator:
            state[key] = value
    return state


def parse_rect(text):
    """"l,t,r,b" as a tuple of four ints, or None."""
    if text is None:
        return None
    parts = text.split(",")
    if len(parts) != 4:
        return None
    try:
        return tuple(int(part) for part in parts)
    except ValueError:
        return None


def parse_devices(text):
    """"T:S:M:L:C;..." as a list of dicts with type, state, mode, level, charging."""
    records = []
    for item in (text or "").split(";"):
        fields = item.split(":")
        if len(fields) != 5:
            continue
        try:
            values = [int(field) for field in fields]
        except ValueError:
            continue
        records.append(dict(zip(("type", "state", "mode", "level", "charging"), values)))
    return records


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


def read_language_file(path):
    """A language file ("[LAN]", "number=text", UTF-16 LE) as {number: text}, with the blanks
    around a value and one pair of enclosing quotes dropped, as the program's reader does."""
    with open(path, "rb") as file:
        raw = file.read()
    text = raw.decode("utf-16")
    texts = {}
    in_section = False
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            in_section = line[1:-1].strip().upper() == "LAN"
            continue
        key, separator, value = line.partition("=")
        if not in_section or not separator or not key.strip().isdigit():
            continue
        value = value.strip(" \t")
        if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
            value = value[1:-1]
        texts[int(key.strip())] = value
    return texts


class MainWindow:
    """One run of the program, from a fresh registry key and settings folder to its end.

    Use as a context manager: the program is started on entry and ended on exit (command 100,
    then killed if it does not end)."""

    def __init__(self, setup, scenario, lcid=None):
        self.setup = setup
        self.scenario = scenario
        self.lcid = lcid
        self.process = None
        self.window = None
        self.folder = None
        self.state_path = None
        self.exit_status = None

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exception):
        self.close()
        return False

    def reset_settings(self):
        run_wine(self.setup, "reg.exe", "delete", APPLICATION_KEY, "/f")
        if self.lcid is not None:
            self.set_language(self.lcid)
        data = local_data_folder(self.setup)
        if data is not None:
            shutil.rmtree(os.path.join(data, "Tavik Mouse Files"), ignore_errors=True)

    def set_language(self, lcid):
        added = run_wine(self.setup, "reg.exe", "add", APPLICATION_KEY, "/v", "LCID", "/t",
                         "REG_SZ", "/d", str(lcid), "/f")
        if added.returncode != 0:
            raise RuntimeError(f"reg add LCID {lcid} failed: {added.stdout} {added.stderr}")

    def start(self):
        self.reset_settings()
        self.folder = tempfile.mkdtemp(prefix="tavik-frame-")
        # Copied beside the state file: a path without blanks survives the command line.
        scenario_copy = os.path.join(self.folder, "scenario.txt")
        shutil.copyfile(os.path.join(SCENARIO_DIR, self.scenario), scenario_copy)
        self.state_path = os.path.join(self.folder, "state.txt")
        environment = dict(os.environ)
        environment["TAVIK_UI_STATE"] = windows_path(self.setup, self.state_path)
        simulate = "--simulate=" + windows_path(self.setup, scenario_copy)
        self.process = subprocess.Popen([self.setup.runner, self.setup.program, simulate],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        env=environment)
        self.window = pointer.find_window(MAIN_TITLE, time.monotonic() + 60)
        if self.window is None:
            raise RuntimeError("the main window never showed")

    def close(self):
        if self.process is None:
            return
        if self.process.poll() is None:
            self.post_command(COMMAND_EXIT)
            try:
                self.exit_status = self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.exit_status = None
        else:
            self.exit_status = self.process.returncode
        pointer.stop(self.process)
        self.process = None
        if self.folder is not None:
            shutil.rmtree(self.folder, ignore_errors=True)
            self.folder = None

    def running(self):
        return self.process is not None and self.process.poll() is None

    # The state file.

    def state(self):
        try:
            with open(self.state_path, encoding="utf-8") as file:
                return parse_state(file.read())
        except (OSError, UnicodeDecodeError):
            return {}

    def wait_for_state(self, predicate, seconds=20):
        """The first state for which predicate(state) holds, or None after `seconds`; a
        predicate that raises (a key not there yet) counts as not holding."""
        deadline = time.monotonic() + seconds
        while True:
            state = self.state()
            try:
                if state and predicate(state):
                    return state
            except (KeyError, ValueError, TypeError, IndexError):
                pass
            if time.monotonic() >= deadline or not self.running():
                return None
            time.sleep(0.1)

    # The pointer, the keyboard and posted messages.

    def origin(self):
        return pointer.window_origin(self.window)

    def click(self, rect):
        """A real click in the middle of a client rectangle, the pointer parked after it."""
        pointer.click(self.origin(), centre(rect))
        time.sleep(0.2)
        self.park_pointer()

    def park_pointer(self):
        pointer.run("xdotool", "mousemove", str(POINTER_PARK[0]), str(POINTER_PARK[1]))

    def post(self, message, wparam=0, lparam=0):
        return self.poster("post", message, wparam, lparam)

    def post_command(self, command):
        return self.poster("command", command)

    def resize(self, width, height):
        return self.poster("size", width, height)

    def poster(self, *arguments):
        result = run_wine(self.setup, self.setup.poster, *[str(a) for a in arguments])
        return result.returncode

    # The screen.

    def screenshot(self, width, height):
        """The client area as width * height RGB bytes, or None."""
        return pointer.grab(self.origin(), (0, 0, width, height))


def find_top_level(title, seconds):
    """The X window id of a visible top-level window with exactly this title, or None."""
    return pointer.find_window("^" + title + "$", time.monotonic() + seconds)


def window_shown(title):
    found = pointer.run("xdotool", "search", "--onlyvisible", "--name", "^" + title + "$")
    return found.returncode == 0 and bool(found.stdout.split())


_local_data = []


def local_data_folder(setup):
    """The Unix path of the Wine user's local application data folder, or None."""
    if not _local_data:
        echoed = run_wine(setup, "cmd.exe", "/c", "echo", "%LOCALAPPDATA%")
        folder = echoed.stdout.strip()
        unix = None
        if echoed.returncode == 0 and folder and "%" not in folder:
            converted = run_wine(setup, "winepath.exe", "-u", folder)
            unix = converted.stdout.strip() or None
        _local_data.append(unix)
    return _local_data[0]


# Golden pictures: 8-bit RGB PNG files, compared channel by channel with a tolerance.


def _png_chunk(kind, data):
    body = kind + data
    return len(data).to_bytes(4, "big") + body + zlib.crc32(body).to_bytes(4, "big")


def write_png(path, rgb, width, height):
    rows = bytearray()
    stride = 3 * width
    for y in range(height):
        rows.append(0)
        rows.extend(rgb[y * stride:(y + 1) * stride])
    header = width.to_bytes(4, "big") + height.to_bytes(4, "big") + bytes([8, 2, 0, 0, 0])
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(_png_chunk(b"IHDR", header))
        file.write(_png_chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
        file.write(_png_chunk(b"IEND", b""))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """(rgb bytes, width, height) of an 8-bit RGB or RGBA non-interlaced PNG file; raises
    ValueError for anything else."""
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG file")
    position = 8
    width = height = channels = None
    compressed = bytearray()
    while position + 8 <= len(data):
        length = int.from_bytes(data[position:position + 4], "big")
        kind = data[position + 4:position + 8]
        body = data[position + 8:position + 8 + length]
        position += 12 + length
        if kind == b"IHDR":
            width = int.from_bytes(body[0:4], "big")
            height = int.from_bytes(body[4:8], "big")
            depth, colour, interlace = body[8], body[9], body[12]
            if depth != 8 or colour not in (2, 6) or interlace != 0:
                raise ValueError(f"{path}: only 8-bit RGB or RGBA, not interlaced")
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            compressed.extend(body)
        elif kind == b"IEND":
            break
    if width is None:
        raise ValueError(f"{path} has no header")
    raw = zlib.decompress(bytes(compressed))
    stride = channels * width
    if len(raw) < (stride + 1) * height:
        raise ValueError(f"{path} is cut short")
    previous = bytearray(stride)
    rgb = bytearray()
    for y in range(height):
        start = y * (stride + 1)
        kind = raw[start]
        row = bytearray(raw[start + 1:start + 1 + stride])
        if kind == 1:
            for i in range(channels, stride):
                row[i] = (row[i] + row[i - channels]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = row[i - channels] if i >= channels else 0
                up_left = previous[i - channels] if i >= channels else 0
                row[i] = (row[i] + _paeth(left, previous[i], up_left)) & 0xFF
        elif kind != 0:
            raise ValueError(f"{path}: unknown row filter {kind}")
        previous = row
        if channels == 3:
            rgb.extend(row)
        else:
            for x in range(width):
                rgb.extend(row[4 * x:4 * x + 3])
    return bytes(rgb), width, height


def compare_with_golden(rgb, width, height, name, tolerance=24):
    """"" when the picture matches tests/data/frame/<name> within `tolerance` on every
    channel of every pixel, else what differs; the actual picture and a difference map
    (magenta where beyond) are then written to the working folder. TAVIK_UPDATE_GOLDEN=1
    writes the picture as the new golden one instead."""
    golden_path = os.path.join(GOLDEN_DIR, name)
    if os.environ.get("TAVIK_UPDATE_GOLDEN") == "1":
        write_png(golden_path, rgb, width, height)
        return ""
    stem = name[:-4] if name.endswith(".png") else name
    actual_path = os.path.abspath(stem + ".actual.png")
    problem = ""
    golden = None
    diff_written = False
    try:
        golden, golden_width, golden_height = read_png(golden_path)
        if (golden_width, golden_height) != (width, height):
            problem = (f"the golden picture is {golden_width} x {golden_height}, the window "
                       f"{width} x {height}")
            golden = None
    except (OSError, ValueError, zlib.error) as error:
        problem = f"no golden picture {golden_path} ({error})"
    if golden is not None:
        diff = bytearray(len(rgb))
        differing = 0
        for i in range(0, 3 * width * height, 3):
            if (abs(rgb[i] - golden[i]) > tolerance or abs(rgb[i + 1] - golden[i + 1]) > tolerance
                    or abs(rgb[i + 2] - golden[i + 2]) > tolerance):
                differing += 1
                diff[i:i + 3] = b"\xff\x00\xff"
            else:
                diff[i:i + 3] = b"\x20\x20\x20"
        if differing:
            problem = f"{differing} pixels differ beyond {tolerance}"
            write_png(os.path.abspath(stem + ".diff.png"), bytes(diff), width, height)
            diff_written = True
    if problem:
        write_png(actual_path, rgb, width, height)
        beside = f" and {stem}.diff.png beside it" if diff_written else ""
        problem += f" (see {actual_path}{beside})"
    return problem


class CaseRunner:
    """Runs named cases, prints each one's name and PASS or FAIL with what went wrong."""

    def __init__(self):
        self.failed = []

    def run(self, name, case):
        print(f"[ RUN  ] {name}", flush=True)
        failures = []
        try:
            case(failures)
        except Exception as error:  # a broken case fails with what broke, the others go on
            failures.append(f"{type(error).__name__}: {error}")
        for failure in failures:
            print(f"    {failure}", flush=True)
        print(f"[ {'FAIL' if failures else 'PASS'} ] {name}", flush=True)
        if failures:
            self.failed.append(name)

    def status(self):
        if self.failed:
            print("failed: " + ", ".join(self.failed))
            return 1
        return 0
