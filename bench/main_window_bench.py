#!/usr/bin/env python3
"""Figures of the main window under Wine, on a private X server and the simulated mouse:

  startup  launch to the first painted frame, seen from outside (the window mapped and its
           pixels no longer the empty background), beside the program's own figure from the
           first line of TAVIK_PAINT_LOG; the first run after the server started is the cold one
  paint    paint times over a tour of views and tabs (real clicks on the targets that
           TAVIK_UI_STATE gives) and of the window hidden to the tray and shown again, read
           from TAVIK_PAINT_LOG; resident memory after start-up and after the tour
  idle     wake-ups per second (context switches of every thread) of the program and of the
           server while the program sits hidden in the tray (-autorun), and while shown

It prints figures and asserts nothing. Run: bench/main_window_bench.py [--exe PATH]
[--runs N] [--tours N] [--reshows N] [--idle-seconds S] [--settle-seconds S]
[startup] [paint] [idle]. The machine's load is printed beside each section: measure when
it is low.
"""

import argparse
import ctypes
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
WINDOW_TITLE = b"Tavik Mouse"
PROCESS_NAME = "Tavik Mouse.exe"
HOME_TAB = 1
CLOSE_BUTTON = 39  # the caption's close button: hides the window to the tray
# A step has ended when no paint has been logged for this long.
PAINT_QUIET_SECONDS = 0.3
POLL_SECONDS = 0.005
SECTIONS = ("startup", "paint", "idle")


class XImageFunctions(ctypes.Structure):
    _fields_ = [(name, ctypes.c_void_p) for name in ("create_image", "destroy_image", "get_pixel",
                                                      "put_pixel", "sub_image", "add_pixel")]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
                ("obdata", ctypes.c_void_p), ("f", XImageFunctions)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", ctypes.c_ulong), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


X_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
DESTROY_IMAGE = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.POINTER(XImage))
IS_VIEWABLE = 2
Z_PIXMAP = 2


class Screen:
    """The private X server read through Xlib directly: a poll costs a few milliseconds,
    where starting `import` or `xdotool` for each one would cost tens."""

    def __init__(self, display):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                 ctypes.POINTER(ctypes.c_void_p)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                           ctypes.POINTER(XWindowAttributes)]
        x.XGetImage.restype = ctypes.POINTER(XImage)
        x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XSetErrorHandler.argtypes = [X_ERROR_HANDLER]
        self._x = x
        # A window that goes away between listing and reading is not an error worth dying for.
        self._on_error = X_ERROR_HANDLER(lambda display, event: 0)
        x.XSetErrorHandler(self._on_error)
        self._display = x.XOpenDisplay(display.encode())
        if not self._display:
            raise RuntimeError(f"cannot open the X display {display}")
        self._root = x.XDefaultRootWindow(self._display)

    def find_window(self, title):
        """(x, y, width, height) of a viewable top-level window with this title, or None."""
        x = self._x
        root, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        count = ctypes.c_uint()
        if not x.XQueryTree(self._display, self._root, ctypes.byref(root), ctypes.byref(parent),
                            ctypes.byref(children), ctypes.byref(count)):
            return None
        found = None
        try:
            for index in range(count.value):
                window = children[index]
                attributes = XWindowAttributes()
                if not x.XGetWindowAttributes(self._display, window, ctypes.byref(attributes)):
                    continue
                if attributes.map_state != IS_VIEWABLE or attributes.width < 64:
                    continue
                name = ctypes.c_void_p()
                if not x.XFetchName(self._display, window, ctypes.byref(name)) or not name:
                    continue
                matches = ctypes.string_at(name) == title
                x.XFree(name)
                if matches:
                    found = (attributes.x, attributes.y, attributes.width, attributes.height)
                    break
        finally:
            if children:
                x.XFree(children)
        return found

    def grab(self, box):
        """The screen's pixels in box (x, y, width, height), as the server holds them."""
        left, top, width, height = box
        image = self._x.XGetImage(self._display, self._root, left, top, width, height,
                                  0xFFFFFFFF, Z_PIXMAP)
        if not image:
            return None
        try:
            return ctypes.string_at(image.contents.data,
                                    image.contents.bytes_per_line * image.contents.height)
        finally:
            DESTROY_IMAGE(image.contents.f.destroy_image)(image)


def is_blank(pixels):
    """One colour over the whole area: nothing drawn yet (the server's background, or the
    window's before its first paint)."""
    if not pixels:
        return True
    return pixels.count(pixels[:4]) * 4 == len(pixels)


def load_average():
    with open("/proc/loadavg") as file:
        return " ".join(file.read().split()[:3])


def percentile(values, fraction):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    rank = max(1, min(len(ordered), int(-(-fraction * len(ordered) // 1))))
    return ordered[rank - 1]


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


class WineSession:
    """A private Xvfb and the project's Wine prefix with its server started on it, set up by
    the functions of scripts/wine-env.sh."""

    def __init__(self):
        self.env = None
        self.xvfb_pid = None

    def start(self):
        report = tempfile.NamedTemporaryFile(prefix="tavik-bench-env-", delete=False)
        report.close()
        # The Wine desktop belongs to the display its server started with: the prefix's
        # server is stopped and started again on our own Xvfb. Every output goes away from
        # our pipes: the persistent server keeps what it inherited open.
        script = (f'source "{ROOT}/scripts/wine-env.sh" && '
                  'wineserver -k 2>/dev/null; tavik_xvfb_start && tavik_wine_prepare && '
                  f'{{ echo "TAVIK_XVFB_PID=$tavik_xvfb_pid"; env; }} > "{report.name}"')
        subprocess.run(["bash", "-c", script], stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False,
                       timeout=300)
        values = {}
        with open(report.name) as file:
            for line in file:
                key, separator, value = line.rstrip("\n").partition("=")
                if separator:
                    values.setdefault(key, value)
        os.unlink(report.name)
        if "DISPLAY" not in values or "WINEPREFIX" not in values:
            raise RuntimeError("the Xvfb or the Wine prefix did not start")
        self.xvfb_pid = int(values["TAVIK_XVFB_PID"]) if values.get("TAVIK_XVFB_PID") else None
        self.env = dict(os.environ)
        for key in ("DISPLAY", "WINEPREFIX", "WINEARCH", "WINEDEBUG", "WINEDLLOVERRIDES"):
            if key in values:
                self.env[key] = values[key]

    def stop(self):
        if self.env is not None:
            subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=False, timeout=60)
        if self.xvfb_pid:
            try:
                os.kill(self.xvfb_pid, 15)
            except ProcessLookupError:
                pass
            self.xvfb_pid = None

    def wineserver_pid(self):
        prefix = self.env["WINEPREFIX"].encode()
        for entry in pathlib.Path("/proc").iterdir():
            if not entry.name.isdigit():
                continue
            try:
                if not (entry / "comm").read_text().strip().startswith("wineserver"):
                    continue
                if b"WINEPREFIX=" + prefix in (entry / "environ").read_bytes().split(b"\0"):
                    return int(entry.name)
            except OSError:
                continue
        return None


class Program:
    """One run of the program under Wine. The `wine` launcher execs the loader, so the pid
    we start is the program's own Wine process."""

    def __init__(self, session, exe, arguments, work, hooks=True):
        self.paint_log = work / "paint.log"
        self.ui_state = work / "ui-state.txt"
        for path in (self.paint_log, self.ui_state):
            if path.exists():
                path.unlink()
        env = dict(session.env)
        if hooks:
            env["TAVIK_PAINT_LOG"] = windows_path(self.paint_log)
            env["TAVIK_UI_STATE"] = windows_path(self.ui_state)
        self.started = time.perf_counter()
        self.process = subprocess.Popen(["wine", str(exe), *arguments], env=env,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.pid = self.process.pid

    def alive(self):
        return self.process.poll() is None

    def stop(self):
        if self.alive():
            self.process.kill()
        self.process.wait(timeout=30)

    def paints(self):
        """(duration in microseconds, milliseconds since process start) of every paint logged."""
        try:
            text = self.paint_log.read_text()
        except OSError:
            return []
        lines = []
        for line in text.splitlines():
            fields = line.split()
            if len(fields) != 2:
                continue  # a line still being written
            try:
                lines.append((float(fields[0]), float(fields[1])))
            except ValueError:
                continue
        return lines

    def state(self):
        try:
            text = self.ui_state.read_text(encoding="utf-8")
        except OSError:
            return None
        values = {}
        for line in text.splitlines():
            key, separator, value = line.partition("=")
            if separator:
                values[key] = value
        return values

    def wait_paint_quiet(self, seconds=PAINT_QUIET_SECONDS, timeout=5.0):
        deadline = time.monotonic() + timeout
        count = len(self.paints())
        quiet_since = time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.05)
            now = len(self.paints())
            if now != count:
                count = now
                quiet_since = time.monotonic()
            elif time.monotonic() - quiet_since >= seconds:
                return True
        return False


def memory(pid):
    """(VmRSS, private resident) in kB; private is None without smaps_rollup."""
    rss = None
    private = None
    try:
        for line in pathlib.Path(f"/proc/{pid}/status").read_text().splitlines():
            if line.startswith("VmRSS:"):
                rss = int(line.split()[1])
    except OSError:
        return None, None
    try:
        total = 0
        for line in pathlib.Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1])
        private = total
    except OSError:
        pass
    return rss, private


def thread_switches(pid):
    """{tid: (name, voluntary + nonvoluntary context switches)} of every thread of pid."""
    threads = {}
    try:
        tasks = list(pathlib.Path(f"/proc/{pid}/task").iterdir())
    except OSError:
        return threads
    for task in tasks:
        try:
            fields = dict(line.split(":", 1)
                          for line in (task / "status").read_text().splitlines() if ":" in line)
        except OSError:
            continue
        switches = (int(fields.get("voluntary_ctxt_switches", "0")) +
                    int(fields.get("nonvoluntary_ctxt_switches", "0")))
        threads[int(task.name)] = (fields.get("Name", "?").strip(), switches)
    return threads


def switch_rates(before, after, seconds):
    """Per-thread wake-ups per second between two thread_switches samples; a thread born in
    between counts from zero, one that ended in between is lost."""
    rates = []
    for tid, (name, switches) in after.items():
        start = before.get(tid, (name, 0))[1]
        rates.append((tid, name, (switches - start) / seconds))
    return sorted(rates, key=lambda rate: -rate[2])


def kb_to_mb(value):
    return "n/a" if value is None else f"{value / 1024:.1f} MB"


def format_memory(pid):
    rss, private = memory(pid)
    text = f"VmRSS {kb_to_mb(rss)}"
    if private is not None:
        text += f", private {kb_to_mb(private)}"
    return text


def ms(seconds):
    return f"{seconds * 1000:.0f} ms"


class Bench:
    def __init__(self, options, session, screen, work):
        self.options = options
        self.session = session
        self.screen = screen
        self.work = work
        self.grab_seconds = []  # what each read of the window's pixels took
        self.launches = 0

    def launch(self, *arguments, hooks=True):
        self.launches += 1
        return Program(self.session, self.options.exe, ["--simulate", *arguments], self.work,
                       hooks)

    def finish(self, program):
        program.stop()
        # The server tidies up after the process (its windows, the tray icon, the
        # single-instance mutex) before the next one starts.
        time.sleep(1.0)

    def time_first_frame(self):
        """(mapped, first painted, program's own figure) in seconds, or None where not seen."""
        program = self.launch()
        mapped = painted = None
        deadline = program.started + 60
        while time.perf_counter() < deadline and program.alive():
            box = self.screen.find_window(WINDOW_TITLE)
            if box is not None:
                if mapped is None:
                    mapped = time.perf_counter() - program.started
                grab_start = time.perf_counter()
                pixels = self.screen.grab(box)
                self.grab_seconds.append(time.perf_counter() - grab_start)
                if not is_blank(pixels):
                    painted = time.perf_counter() - program.started
                    break
            time.sleep(POLL_SECONDS)
        own = None
        wait_log = time.monotonic() + 5
        while own is None and time.monotonic() < wait_log:
            paints = program.paints()
            if paints:
                own = paints[0][1] / 1000
            else:
                time.sleep(0.05)
        self.finish(program)
        return mapped, painted, own

    def startup(self):
        print(f"== start-up to the first painted frame (load {load_average()})")
        print("   outside: from the launch to the first poll that finds the window mapped with "
              "its pixels\n   not one colour; own: the first line of the program's paint log")
        first_label = ("cold (the first start since the server started)" if self.launches == 0
                       else "first run (not cold: the program ran before in this session)")
        runs = [self.time_first_frame() for _ in range(self.options.runs + 1)]
        poll = statistics.median(self.grab_seconds) if self.grab_seconds else 0

        def describe(run):
            mapped, painted, own = run
            parts = [f"painted {ms(painted) if painted is not None else 'never seen'}",
                     f"mapped {ms(mapped) if mapped is not None else 'never'}",
                     f"own {ms(own) if own is not None else 'no log'}"]
            return ", ".join(parts)

        print(f"   {first_label}: {describe(runs[0])}")
        warm = runs[1:]
        painted = [run[1] for run in warm if run[1] is not None]
        own = [run[2] for run in warm if run[2] is not None]
        print(f"   warm, {len(warm)} runs: painted median {ms(statistics.median(painted))}, "
              f"max {ms(max(painted))}" if painted else "   warm: no painted frame seen")
        if own:
            print(f"   warm, program's own: median {ms(statistics.median(own))}, "
                  f"max {ms(max(own))}")
        for index, run in enumerate(warm, 1):
            print(f"     warm run {index}: {describe(run)}")
        print(f"   a poll of the window's pixels takes {poll * 1000:.1f} ms, then "
              f"{POLL_SECONDS * 1000:.0f} ms of sleep; "
              f"load after: {load_average()}")

    def run_step(self, program, box, point, expected):
        """Clicks point (client coordinates), or hides and shows the window again when point
        is None; returns the paints logged and whether the window then showed what expected
        names."""
        first = len(program.paints())
        if point is None:
            reached, first = self.reshow(program, box)
        else:
            self.click(box, point)
            reached = False
            deadline = time.monotonic() + 3
            while not reached and time.monotonic() < deadline:
                reached = (program.state() or {}).get(expected[0]) == expected[1]
                if not reached:
                    time.sleep(0.02)
        program.wait_paint_quiet()
        return program.paints()[first:], reached

    def reshow(self, program, box):
        """Hides the window to the tray (its caption's close button, or Alt+F4 where it has
        none); starting the program again shows the running one (the single-instance path),
        which paints the whole window. Returns whether it showed again, and how many paints
        had been logged before it did. An exposure from X would not do: Wine puts back the
        window's pixels from its own copy, with no WM_PAINT."""
        state = program.state() or {}
        if f"rect.{CLOSE_BUTTON}" in state:
            self.click(box, centre(state[f"rect.{CLOSE_BUTTON}"]))
        else:
            self.click(box, (box[2] // 2, box[3] - 20))
            self.xdotool("key", "alt+F4")
        hidden = wait_until(lambda: self.screen.find_window(WINDOW_TITLE) is None, 3)
        program.wait_paint_quiet()
        # The paints of the click itself (hover, press) are not the ones asked for.
        first = len(program.paints())
        if not hidden:
            return False, first
        subprocess.run(["wine", str(self.options.exe), "--simulate"], env=self.session.env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False, timeout=60)
        shown = wait_until(lambda: self.screen.find_window(WINDOW_TITLE) is not None, 3)
        return shown, first

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.session.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def click(self, box, point):
        # A pixel beside the target first: the pointer may already rest on it, and a window
        # that appeared under a still pointer has not seen it arrive.
        x, y = box[0] + point[0], box[1] + point[1]
        self.xdotool("mousemove", str(x + 1), str(y + 1))
        time.sleep(0.05)
        self.xdotool("mousemove", str(x), str(y))
        time.sleep(0.1)
        self.xdotool("click", "1")

    def paint(self):
        print(f"== paint times and memory (load {load_average()})")
        program = self.launch()
        box = None
        deadline = time.monotonic() + 60
        while box is None and time.monotonic() < deadline and program.alive():
            box = self.screen.find_window(WINDOW_TITLE)
            time.sleep(0.05)
        if box is None:
            print("   the window never showed")
            self.finish(program)
            return
        # Settled: the device list filled (when the window reports its state) and no paint
        # for a second.
        state_deadline = time.monotonic() + 10
        while time.monotonic() < state_deadline:
            state = program.state()
            if state is None or "card.0" in state:
                break
            time.sleep(0.1)
        time.sleep(1.0)
        program.wait_paint_quiet(seconds=1.0, timeout=10)
        print(f"   after start-up: {format_memory(program.pid)}")
        startup_paints = len(program.paints())
        # The longest paint of each step is the full repaint it caused; the others are
        # the pointer's hover and press feedback.
        clicks = []
        reshows = []
        everything = []
        missed = []
        has_state = program.state() is not None
        for _ in range(self.options.tours):
            for what, point, expected in self.tour(program, has_state):
                logged, reached = self.run_step(program, box, point, expected)
                if not reached:
                    missed.append(what)
                durations = [duration for duration, _ in logged]
                everything += durations
                if durations:
                    (reshows if point is None else clicks).append(max(durations))
                else:
                    missed.append(f"{what} (no paint)")
        print(f"   after the tour: {format_memory(program.pid)}")
        if not program.paints():
            print("   no paint log: the window does not write TAVIK_PAINT_LOG")
        else:
            print(f"   paints logged during start-up: {startup_paints}")
            report_durations("full repaints, all steps", clicks + reshows)
            report_durations("  view and tab changes (clicks)", clicks)
            report_durations("  hidden to the tray and shown again", reshows)
            report_durations("every paint during the tour", everything)
        if not has_state:
            print("   no TAVIK_UI_STATE file: the tour is hide-and-show steps only")
        if missed:
            print(f"   steps that did not show what they should: {', '.join(sorted(set(missed)))}"
                  f" ({len(missed)} times)")
        print(f"   load after: {load_average()}")
        self.finish(program)

    def tour(self, program, has_state):
        """The steps of one tour, each (what, client point to click or None to hide and show
        the window, (state key, value) the click should show): the first device card, every
        tab item, the home tab, then the window hidden and shown again. The tab items show
        only in the device view, so their places are read once it is up."""
        if has_state:
            state = program.state() or {}
            if state.get("view") != "device-list" and f"tab_item.{HOME_TAB}" in state:
                yield ("home tab", centre(state[f"tab_item.{HOME_TAB}"]), ("view", "device-list"))
                state = program.state() or {}
            if "card.0" in state:
                yield ("device card", centre(state["card.0"]), ("view", "device"))
            state = program.state() or {}
            tabs = sorted(int(key.split(".")[1]) for key in state if key.startswith("tab_item."))
            for tab in tabs:
                if tab != HOME_TAB:
                    yield (f"tab {tab}", centre(state[f"tab_item.{tab}"]), ("tab", str(tab)))
            if HOME_TAB in tabs:
                yield ("home tab", centre(state[f"tab_item.{HOME_TAB}"]), ("view", "device-list"))
        for _ in range(self.options.reshows):
            yield ("hide and show", None, None)

    def idle(self):
        seconds = self.options.idle_seconds
        print(f"== wake-ups while idle, over {seconds:.0f} s (load {load_average()})")
        # The server also serves the prefix's own services: its rate without the program is
        # the floor the program's figure stands on.
        server = self.session.wineserver_pid()
        if server:
            before = thread_switches(server)
            started = time.monotonic()
            time.sleep(seconds)
            rates = switch_rates(before, thread_switches(server), time.monotonic() - started)
            print(f"   no program running: wineserver {sum(rate for *_, rate in rates):.1f}/s")
        for label, arguments in (("hidden in the tray (-autorun)", ["-autorun"]),
                                 ("shown, untouched", [])):
            # Without the test hooks: the state file's writes are not what a user's idle
            # program does.
            program = self.launch(*arguments, hooks=False)
            time.sleep(self.options.settle_seconds)
            server = self.session.wineserver_pid()
            program_before = thread_switches(program.pid)
            server_before = thread_switches(server) if server else {}
            started = time.monotonic()
            time.sleep(seconds)
            elapsed = time.monotonic() - started
            program_rates = switch_rates(program_before, thread_switches(program.pid), elapsed)
            server_rates = (switch_rates(server_before, thread_switches(server), elapsed)
                            if server else [])
            visible = self.screen.find_window(WINDOW_TITLE) is not None
            print(f"   {label}: program {sum(rate for *_, rate in program_rates):.1f}/s over "
                  f"{len(program_rates)} threads, wineserver "
                  f"{sum(rate for *_, rate in server_rates):.1f}/s; window "
                  f"{'visible' if visible else 'not visible'}; {format_memory(program.pid)}")
            timers = multimedia_timer_threads(self.session.env)
            names = name_threads(program_rates, windows_thread_names(self.session.env),
                                 timers or ())
            print("     threads (by creation order): " +
                  ", ".join(f"{name} {rate:.1f}/s" for name, rate in names))
            if timers is None:
                print("     multimedia timer thread: the debugger could not tell")
            elif timers:
                matched = [f"{name} {rate:.1f}/s" for name, rate in names
                           if name.startswith("winmm timer")]
                ids = ", ".join(f"{tid:#x}" for tid in sorted(timers))
                print("     multimedia timer thread: " + (", ".join(matched) if matched else
                      f"Windows thread {ids}, not matched to a Linux thread"))
            else:
                print("     multimedia timer thread: none among the program's threads")
            self.finish(program)
        print(f"   load after: {load_average()}")


def windows_thread_names(env):
    """[(Windows thread id, name)] of the program's threads as Wine's debugger lists them,
    in creation order; None when the debugger cannot tell."""
    try:
        listing = subprocess.run(["winedbg", "--command", "info threads"], env=env,
                                 stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                 timeout=60).stdout
    except (OSError, subprocess.TimeoutExpired):
        return None
    found = None
    current = None  # the thread list of the process being read, when it is ours
    for line in listing.splitlines():
        if line.startswith("\t"):
            if current is not None:
                fields = line.split(None, 2)
                current.append((int(fields[0], 16), fields[2].strip() if len(fields) > 2 else ""))
        else:
            fields = line.split(None, 1)
            current = [] if len(fields) == 2 and fields[1].strip() == PROCESS_NAME else None
            if current is not None:
                found = current
    return sorted(found) if found is not None else None


def multimedia_timer_threads(env):
    """Windows ids of the program's threads that run winmm's timer loop, from the backtraces
    of Wine's debugger (Wine leaves that thread unnamed); None when the debugger cannot tell.
    The debugger stops every process for a moment: call it after the measurement."""
    try:
        listing = subprocess.run(["winedbg", "--command", "bt all"], env=env,
                                 stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                 timeout=120).stdout
    except (OSError, subprocess.TimeoutExpired):
        return None
    if "Backtracing for thread" not in listing:
        return None
    timers = set()
    thread = None  # the Windows id of the program's thread whose backtrace is being read
    for line in listing.splitlines():
        if line.startswith("Backtracing for thread"):
            fields = line.split()
            thread = int(fields[3], 16) if PROCESS_NAME in line else None
        elif thread is not None and ("TIME_MMSysTimeThread" in line or " in winmm " in line):
            timers.add(thread)
    return timers


def name_threads(rates, windows_threads, timer_threads=()):
    """(name, wake-ups per second) of each thread. Wine 8 gives every Linux thread the
    process's name; the Windows names are matched to Linux threads by creation order (both
    ids grow as threads are made), so the pairing is a good guess, not a certainty."""
    by_tid = sorted(rates)
    if windows_threads is None or len(windows_threads) != len(by_tid):
        return [(f"{name}[{tid}]", rate) for tid, name, rate in by_tid]
    named = []
    for (tid, _, rate), (windows_tid, name) in zip(by_tid, windows_threads):
        label = name or ("main" if tid == by_tid[0][0] else
                         "winmm timer" if windows_tid in timer_threads else "unnamed")
        named.append((f"{label}[{tid}/{windows_tid:#x}]", rate))
    return named


def wait_until(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.02)
    return condition()


def centre(rectangle):
    left, top, right, bottom = (int(value) for value in rectangle.split(","))
    return (left + right) // 2, (top + bottom) // 2


def report_durations(label, durations):
    if not durations:
        print(f"   {label}: none")
        return
    values = [duration / 1000 for duration in durations]
    print(f"   {label}: p50 {percentile(values, 0.5):.2f} ms, p99 "
          f"{percentile(values, 0.99):.2f} ms, max {max(values):.2f} ms ({len(values)} paints)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    build_root = pathlib.Path(os.environ.get("TAVIK_BUILD_ROOT", ROOT / "build"))
    parser.add_argument("--exe", type=pathlib.Path,
                        default=build_root / "win" / "out" / PROCESS_NAME)
    parser.add_argument("--runs", type=int, default=7, help="warm start-up runs")
    parser.add_argument("--tours", type=int, default=5)
    parser.add_argument("--reshows", type=int, default=3,
                        help="hide-and-show steps in each tour")
    parser.add_argument("--idle-seconds", type=float, default=20)
    parser.add_argument("--settle-seconds", type=float, default=8)
    parser.add_argument("sections", nargs="*", metavar="startup|paint|idle")
    options = parser.parse_args()
    sections = options.sections or list(SECTIONS)
    unknown = [section for section in sections if section not in SECTIONS]
    if unknown:
        parser.error(f"unknown section {unknown[0]}: choose from {', '.join(SECTIONS)}")
    if not options.exe.is_file():
        print(f"no program at {options.exe}: build the Windows tree first", file=sys.stderr)
        return 2
    for tool in ("wine", "wineserver", "Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            print(f"{tool} is missing", file=sys.stderr)
            return 2
    session = WineSession()
    work = pathlib.Path(tempfile.mkdtemp(prefix="tavik-window-bench-"))
    try:
        session.start()
        screen = Screen(session.env["DISPLAY"])
        wine = subprocess.run(["wine", "--version"], capture_output=True, text=True,
                              env=session.env).stdout.strip()
        print(f"main window bench: {options.exe}, {wine}, display {session.env['DISPLAY']}, "
              f"{os.cpu_count()} cores, load {load_average()}")
        bench = Bench(options, session, screen, work)
        for section in sections:
            getattr(bench, section)()
    finally:
        session.stop()
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
