# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Drives the installed Kelmora on a private X server, from outside, as a person would.

Every session gets its own Xvfb and openbox, so no test sees another's windows, focus or
clipboard. Keys and clicks go through XTEST (xdotool), the clipboard through xclip, and what
only pixels show is read from screenshots. Every wait polls a condition against a deadline.
"""

import contextlib
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from dataclasses import dataclass
from pathlib import Path

# Long enough for a loaded CI machine, short enough that a hang fails the test quickly.
DEADLINE = 15.0
POLL = 0.05

TITLE = "Kelmora 1.0"
OUTER_SIZE = (640, 480)
HINT = "输入基本单元"
DEFAULT_UNIT = "* "
BLANK_CELL = "  "
SCAN_COLUMNS = 50
SCAN_ROWS = 15


@dataclass(frozen=True)
class Rect:
    left: int
    top: int
    width: int
    height: int

    @property
    def centre(self):
        return (self.left + self.width // 2, self.top + self.height // 2)

    def inset(self, by):
        return Rect(self.left + by, self.top + by, self.width - 2 * by, self.height - 2 * by)


# Where the form puts the controls, in client coordinates. The output box's size follows the
# window, so only its top-left part, which is always on screen, is named here.
INPUT_BOX = Rect(8, 16, 240, 50)
CONVERT_BUTTON = Rect(272, 16, 104, 50)
UNIT_BOX = Rect(400, 16, 120, 50)
CANVAS = Rect(536, 16, 88, 50)
OUTPUT_BOX_TOP = 80

# What Tab reaches from the input box, in order.
FOCUS_ORDER = ("input", "button", "unit", "output")


def wait_for(condition, what, deadline=DEADLINE):
    """Polls condition() until it returns something truthy; fails naming what was awaited."""
    end = time.monotonic() + deadline
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() > end:
            raise AssertionError(f"timed out after {deadline:.0f} s waiting for {what}")
        time.sleep(POLL)


def read_reported_line(read_end, failure, deadline=DEADLINE):
    """The one line a child process writes to the pipe it was handed, read within the deadline."""
    line = b""
    end = time.monotonic() + deadline
    with open(read_end, "rb", buffering=0) as pipe:
        while not line.endswith(b"\n"):
            ready, _, _ = select.select([pipe], [], [], max(0.0, end - time.monotonic()))
            chunk = pipe.read(256) if ready else b""
            if not chunk:
                raise AssertionError(failure)
            line += chunk
    return line.decode().strip()


def installed_prefix():
    prefix = Path(os.environ.get("KELMORA_E2E_PREFIX", ""))
    binary = prefix / "bin" / "kelmora"
    if not binary.is_file():
        raise RuntimeError(f"no installed kelmora at {binary}: set KELMORA_E2E_PREFIX to an install prefix")
    return prefix


def artifacts_dir():
    path = Path(os.environ.get("KELMORA_E2E_ARTIFACTS", tempfile.gettempdir()))
    path.mkdir(parents=True, exist_ok=True)
    return path


def clean_environment(home, runtime_dir, prefix):
    """What a desktop session hands a program, with nothing of the developer's own."""
    env = {
        key: value
        for key, value in os.environ.items()
        if not key.startswith(("QT_", "XDG_", "WAYLAND_", "DISPLAY", "KELMORA_"))
    }
    env.update(
        HOME=str(home),
        XDG_RUNTIME_DIR=str(runtime_dir),
        XDG_CONFIG_HOME=str(home / ".config"),
        XDG_CACHE_HOME=str(home / ".cache"),
        XDG_DATA_HOME=str(home / ".local/share"),
        XDG_DATA_DIRS=f"{prefix / 'share'}:/usr/local/share:/usr/share",
        PATH=f"{prefix / 'bin'}:{os.environ.get('PATH', '/usr/bin:/bin')}",
        LANG="C.UTF-8",
        LC_ALL="C.UTF-8",
    )
    return env


# ----------------------------------------------------------------------------------- pixels


class Image:
    """An RGB screenshot, read from the PPM that ImageMagick writes."""

    def __init__(self, ppm):
        magic, size, maxval, pixels = ppm.split(b"\n", 3)
        if magic != b"P6" or maxval != b"255":
            raise ValueError("expected an 8-bit binary PPM")
        self.width, self.height = map(int, size.split())
        self.pixels = pixels[: self.width * self.height * 3]

    def rgb(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i : i + 3])

    def luma(self, x, y):
        r, g, b = self.rgb(x, y)
        return (299 * r + 587 * g + 114 * b) // 1000

    def grid(self, rect, predicate):
        return [
            [predicate(self.rgb(x, y)) for x in range(rect.left, rect.left + rect.width)]
            for y in range(rect.top, rect.top + rect.height)
        ]

    def region(self, rect):
        return [
            self.pixels[(y * self.width + rect.left) * 3 : (y * self.width + rect.left + rect.width) * 3]
            for y in range(rect.top, rect.top + rect.height)
        ]


def is_ink(rgb):
    return rgb != (255, 255, 255)


def count_true(grid):
    return sum(sum(1 for cell in row if cell) for row in grid)


def box_text_look(image, box):
    """How a single-line box's text looks: 'empty' (at most a caret), 'grey' or 'black'.

    Only meaningful for the colour while the box is not focused, when no caret is drawn."""
    inner = box.inset(4)
    text = [
        (x, image.luma(x, y))
        for y in range(inner.top, inner.top + inner.height)
        for x in range(inner.left, inner.left + inner.width)
        if image.luma(x, y) < 235
    ]
    columns = {x for x, _ in text}
    if not columns or max(columns) - min(columns) < 2:
        return "empty"
    return "black" if min(luma for _, luma in text) < 100 else "grey"


def output_box_right_edge(image, row=OUTPUT_BOX_TOP + 40):
    """The last column of the output box's frame: right of it lies the window's background."""
    background = image.rgb(image.width - 1, row)
    x = image.width - 1
    while x > 0 and image.rgb(x, row) == background:
        x -= 1
    return x


# --------------------------------------------------------------------------------- pictures


def parse_picture(text, unit, rows=SCAN_ROWS):
    """Splits a copied text picture into rows of ink flags; fails unless it is well formed.

    The box keeps CR LF line ends; a copy through the X clipboard may hand out LF only."""
    line_end = "\r\n" if "\r\n" in text else "\n"
    if not text.endswith(line_end):
        raise AssertionError(f"the picture does not end with a line end: {text[-20:]!r}")
    lines = text[: -len(line_end)].split(line_end)
    if len(lines) != rows:
        raise AssertionError(f"expected {rows} lines, got {len(lines)}: {text[:200]!r}")
    grid = []
    for number, line in enumerate(lines, 1):
        cells = []
        rest = line
        while rest:
            if rest.startswith(unit):
                cells.append(True)
                rest = rest[len(unit) :]
            elif rest.startswith(BLANK_CELL):
                cells.append(False)
                rest = rest[len(BLANK_CELL) :]
            else:
                raise AssertionError(f"line {number} holds a cell that is neither blank nor {unit!r}: {line!r}")
        if len(cells) != SCAN_COLUMNS:
            raise AssertionError(f"line {number} has {len(cells)} cells, not {SCAN_COLUMNS}: {line!r}")
        grid.append(cells)
    return grid


def offsets_matching(picture, canvas_ink):
    """The offsets at which the picture's ink is exactly the canvas's ink as shown on screen."""
    found = []
    for dy in range(len(canvas_ink) - len(picture) + 1):
        for dx in range(len(canvas_ink[0]) - len(picture[0]) + 1):
            if all(
                canvas_ink[dy + r][dx : dx + len(row)] == row for r, row in enumerate(picture)
            ):
                found.append((dx, dy))
    return found


# ---------------------------------------------------------------------------------- sessions


class Desktop:
    """A private X server with a window manager, and the tools that drive it.

    With window_manager=False the screen starts bare, as a session that starts programs before
    its window manager; start_window_manager() brings openbox in later."""

    def __init__(self, screen=(1280, 1024), window_manager=True):
        self.screen = screen
        self.window_manager = window_manager
        self._stack = contextlib.ExitStack()
        self.prefix = installed_prefix()

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self._stack.close()
            raise
        return self

    def __exit__(self, *exc):
        self._stack.close()
        return False

    def _start(self):
        self.tmp = Path(self._stack.enter_context(tempfile.TemporaryDirectory(prefix="kelmora-e2e-")))
        home = self.tmp / "home"
        runtime = self.tmp / "runtime"
        home.mkdir()
        runtime.mkdir(mode=0o700)
        self.env = clean_environment(home, runtime, self.prefix)
        self.display = self._start_xvfb()
        self.env["DISPLAY"] = self.display
        if self.window_manager:
            self.start_window_manager()

    def start_window_manager(self):
        self.spawn(["openbox", "--sm-disable"], log="openbox")
        wait_for(self._window_manager_running, "openbox to manage the screen")

    def _start_xvfb(self):
        # Xvfb picks a free display number itself and writes it to the descriptor.
        read_end, write_end = os.pipe()
        width, height = self.screen
        self.spawn(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset", "-fp", "built-ins"],
            log="xvfb", pass_fds=(write_end,), env=os.environ.copy(),
        )
        os.close(write_end)
        return ":" + read_reported_line(read_end, "Xvfb did not report a display number")

    def spawn(self, argv, log=None, **options):
        """Starts a process that is ended, by its own id, when the session closes."""
        out = subprocess.DEVNULL
        if log:
            out = self._stack.enter_context(open(self.tmp / f"{log}.log", "ab"))
        options.setdefault("env", self.env)
        options.setdefault("stdin", subprocess.DEVNULL)
        process = subprocess.Popen(argv, stdout=out, stderr=out, cwd=self.tmp, **options)
        self._stack.callback(end_process, process)
        return process

    def run(self, *argv, check=True, input=None, timeout=DEADLINE):
        result = subprocess.run(argv, env=self.env, capture_output=True, input=input,
                                timeout=timeout, cwd=self.tmp)
        if check and result.returncode != 0:
            raise AssertionError(f"{' '.join(argv)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode(errors="replace")

    def xdotool(self, *args):
        return self.run("xdotool", *map(str, args))

    def _window_manager_running(self):
        out = self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)
        return "window id #" in out

    def active_window(self):
        out = self.run("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False)
        return int(out.rsplit("#", 1)[1].split(",")[0], 16) if "#" in out else None

    def wait_active(self, window, what):
        wait_for(lambda: self.active_window() == window, what)

    def activate(self, window):
        self.xdotool("windowactivate", "--sync", window)
        self.wait_active(window, f"window {window:#x} to become active")

    def find_window(self, process, name):
        """The first visible window of the process whose title is name, once mapped."""
        def search():
            if process.poll() is not None:
                raise AssertionError(f"the program ended with status {process.returncode} before its window showed")
            out = self.run("xdotool", "search", "--onlyvisible", "--pid", str(process.pid),
                           "--name", f"^{name}$", check=False)
            return int(out.split()[0]) if out.split() else None
        return wait_for(search, f"a window titled {name!r}")

    # Clipboard ---------------------------------------------------------------------------

    def set_clipboard(self, text, selection="clipboard"):
        """Puts text on the clipboard, or with selection="primary" on the primary selection
        that a middle-button press pastes."""
        # xclip keeps serving the selection until someone else takes it, then ends by itself.
        owner = self.spawn(["xclip", "-quiet", "-selection", selection, "-i"], log="xclip",
                           stdin=subprocess.PIPE)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        wait_for(lambda: self.clipboard(selection) == text, f"the {selection} selection to hold {text!r}")

    def clipboard(self, selection="clipboard"):
        result = subprocess.run(["xclip", "-o", "-selection", selection], env=self.env,
                                capture_output=True, timeout=DEADLINE)
        return result.stdout.decode() if result.returncode == 0 else None

    # Other windows -----------------------------------------------------------------------

    def open_other_window(self):
        """A second X client, for switching away from the tool and back."""
        process = self.spawn(["xmessage", "-geometry", "+0+0", "another window"], log="xmessage")
        return self.find_window(process, "xmessage")

    def screenshot(self, window, frame=False):
        argv = ["import", "-window", str(window)] + (["-frame"] if frame else [])
        return Image(subprocess.run(argv + ["-depth", "8", "ppm:-"], env=self.env,
                                    capture_output=True, timeout=DEADLINE, check=True).stdout)

    def save_screenshot(self, window, path, frame=True):
        argv = ["import", "-window", str(window)] + (["-frame"] if frame else []) + [str(path)]
        self.run(*argv)


def end_process(process):
    """Asks a process to end, and kills it if it has not within five seconds."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


@dataclass(frozen=True)
class Geometry:
    """The window as the window manager has it: client area and frame extents."""

    client_left: int
    client_top: int
    client_width: int
    client_height: int
    frame: tuple  # left, right, top, bottom

    @property
    def outer_size(self):
        left, right, top, bottom = self.frame
        return (self.client_width + left + right, self.client_height + top + bottom)

    @property
    def outer_origin(self):
        left, _, top, _ = self.frame
        return (self.client_left - left, self.client_top - top)


class Kelmora:
    """The installed program, running on a desktop, and what a person does with it."""

    def __init__(self, desktop):
        self.desktop = desktop
        binary = desktop.prefix / "bin" / "kelmora"
        self.process = desktop.spawn([str(binary)], log="kelmora")
        self.window = desktop.find_window(self.process, TITLE.replace(".", r"\."))
        if desktop.window_manager:
            desktop.wait_active(self.window, "the tool's window to become active")
            self.wait_frame()

    def wait_frame(self):
        wait_for(lambda: self.geometry().frame != (0, 0, 0, 0) or None, "the frame extents")

    # Looking -----------------------------------------------------------------------------

    def geometry(self):
        info = self.desktop.run("xwininfo", "-id", str(self.window))
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        extents = self.desktop.run("xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS")
        frame = (0, 0, 0, 0)
        if "=" in extents:
            frame = tuple(int(v) for v in extents.split("=", 1)[1].split(","))
        return Geometry(int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                        int(values["Width"]), int(values["Height"]), frame)

    def window_state(self):
        return self.desktop.run("xprop", "-id", str(self.window), "_NET_WM_STATE")

    def shot(self):
        return self.desktop.screenshot(self.window)

    def canvas_ink(self, image=None):
        return (image or self.shot()).grid(CANVAS, is_ink)

    def wait_canvas(self, what, condition):
        """Waits until the canvas ink as shown satisfies condition; returns that ink."""
        return wait_for(lambda: (lambda ink: ink if condition(ink) else None)(self.canvas_ink()), what)

    def wait_canvas_ink(self):
        return self.wait_canvas("ink on the preview canvas", self.canvas_has_text)

    @staticmethod
    def canvas_has_text(ink):
        # The frame's own line is the same in every state; text adds well over a few pixels.
        return count_true([row[2:-2] for row in ink[2:-2]]) > 4

    def wait_unit_box_look(self, look):
        found = []

        def matches():
            found[:] = [box_text_look(self.shot(), UNIT_BOX)]
            return found[0] == look

        try:
            wait_for(matches, f"the unit box to look {look}")
        except AssertionError as error:
            raise AssertionError(f"{error}; it looks {found[0]}") from None

    # Doing -------------------------------------------------------------------------------

    def key(self, *keys):
        self.desktop.xdotool("key", "--delay", "40", *keys)

    def type(self, text):
        self.desktop.xdotool("type", "--delay", "40", text)

    def paste(self, text):
        """Puts text on the clipboard and pastes it into the focused control."""
        self.desktop.set_clipboard(text)
        self.key("ctrl+v")

    def click(self, x, y, button=1):
        self.desktop.xdotool("mousemove", "--window", self.window, x, y, "click", button)

    def drag(self, start, end, steps=10):
        """Presses the left button at start, moves to end in steps and lets go there."""
        (x0, y0), (x1, y1) = start, end
        self.desktop.xdotool("mousemove", "--window", self.window, x0, y0, "mousedown", 1)
        for step in range(1, steps + 1):
            self.desktop.xdotool("mousemove", "--window", self.window,
                                 x0 + (x1 - x0) * step // steps, y0 + (y1 - y0) * step // steps)
            time.sleep(POLL)
        self.desktop.xdotool("mouseup", 1)

    def click_control(self, rect):
        self.click(*rect.centre)

    def convert_by_click(self):
        self.click_control(CONVERT_BUTTON)

    def copy_focused(self):
        """Select all and copy in the focused control; returns what the clipboard then holds."""
        sentinel = f"kelmora-e2e-{time.monotonic_ns()}"
        self.desktop.set_clipboard(sentinel)
        self.key("ctrl+a", "ctrl+c")
        return wait_for(lambda: (lambda text: text if text not in (None, sentinel) else None)(
            self.desktop.clipboard()), "the copy to reach the clipboard")

    def copy_output(self):
        """Clicks into the output box, selects all, copies."""
        self.click(60, OUTPUT_BOX_TOP + 30)
        return self.copy_focused()

    def picture(self, unit=DEFAULT_UNIT):
        return parse_picture(self.copy_output(), unit)

    def wait_exit(self, deadline=DEADLINE):
        try:
            return self.process.wait(timeout=deadline)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end") from None


class Session(contextlib.AbstractContextManager):
    """A desktop with the tool started on it; yields (desktop, kelmora)."""

    def __init__(self, screen=(1280, 1024), window_manager=True):
        self.desktop = Desktop(screen, window_manager)

    def __enter__(self):
        self.desktop.__enter__()
        try:
            self.kelmora = Kelmora(self.desktop)
        except BaseException:
            self._keep_logs()
            self.desktop.__exit__(None, None, None)
            raise
        return self.desktop, self.kelmora

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None and not issubclass(exc_type, unittest.SkipTest):
            self._keep_logs()
        return self.desktop.__exit__(exc_type, exc, tb)

    def _keep_logs(self):
        # A failed case leaves its logs and a last screenshot where CTest keeps artifacts.
        target = artifacts_dir() / "failed" / f"{os.getpid()}-{time.monotonic_ns()}"
        target.mkdir(parents=True, exist_ok=True)
        for log in self.desktop.tmp.glob("*.log"):
            shutil.copy(log, target)
        with contextlib.suppress(Exception):
            self.desktop.save_screenshot("root", target / "screen.png", frame=False)
        print(f"logs of the failed session: {target}")


def focus_by_tab(kelmora, control):
    """From the start state, Tab as often as the focus order needs to reach control."""
    steps = FOCUS_ORDER.index(control)
    if steps:
        kelmora.key(*["Tab"] * steps)


def check_focus_holder(kelmora, holder):
    """Shows by what a key does that holder has the focus; the input box must still be empty.

    Each check ends in an effect that only that control produces, and copies the box's text
    out, so a Tab that slipped into a box shows up too."""
    if holder == "input":
        kelmora.type("W")
        kelmora.wait_canvas_ink()
        text = kelmora.copy_focused()
        if text != "W":
            raise AssertionError(f"typing W into the input box left {text!r} there")
    elif holder == "unit":
        kelmora.wait_unit_box_look("empty")  # the hint gave way to the focus
        kelmora.type("@")
        kelmora.wait_unit_box_look("black")
        text = kelmora.copy_focused()
        if text != "@":
            raise AssertionError(f"typing @ into the unit box left {text!r} there")
    elif holder == "output":
        kelmora.type("MARK")
        text = kelmora.copy_focused()
        # The sample picture around the mark tells the output box from the other boxes.
        if "MARK" not in text or "\t" in text or text.count("\n") < 15:
            raise AssertionError(f"the output box holds {text[:120]!r}")
    elif holder == "button":
        kelmora.key("space")
        # Only a conversion turns the 32-line sample into a 15-line picture.
        parse_picture(kelmora.copy_output(), DEFAULT_UNIT)
    else:
        raise ValueError(holder)


def wait_output_box_fits(kelmora, outer_width):
    """The output box is laid out 8 pixels narrower than the window's outer width."""
    edges = []

    def fits():
        edges[:] = [output_box_right_edge(kelmora.shot())]
        return edges[0] == outer_width - 9

    try:
        wait_for(fits, f"the output box to fit a window {outer_width} pixels wide")
    except AssertionError as error:
        raise AssertionError(f"{error}; its right edge stays at {edges[0]}, "
                             f"not at {outer_width - 9}") from None
