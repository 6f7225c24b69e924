# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""A private Wayland desktop for the installed Kelmora: weston on its headless backend, a session
bus for AT-SPI, and the tool started on them as a native Wayland client.

Nothing is borrowed from the machine: the runtime directory (where the compositor's socket and
the accessibility bus live) and the session bus are the test's own, and every process started
here is ended, by its own id, when the desktop closes, on failure too.
"""

import contextlib
import json
import os
import select
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from kelmora_e2e import (DEADLINE, Image, artifacts_dir, clean_environment, end_process,
                         installed_prefix, read_reported_line, wait_for)

SCREEN = (1024, 768)
# A colour no part of the window uses, so the window is what differs from it.
BACKGROUND = (0x3C, 0x6E, 0x28)
ATSPI_CLIENT = Path(__file__).with_name("atspi_client.py")

WESTON_INI = f"""\
[core]
idle-time=0

[shell]
background-image=
background-color=0xff{BACKGROUND[0]:02x}{BACKGROUND[1]:02x}{BACKGROUND[2]:02x}
panel-position=none
locking=false
# A screenshot taken while a window fades or zooms in would show it half transparent.
animation=none
startup-animation=none
close-animation=none
focus-animation=none
"""


class WaylandDesktop:
    def __init__(self):
        self.prefix = installed_prefix()
        self._stack = contextlib.ExitStack()
        self._shots = 0

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self._keep_logs()
            self._stack.close()
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        if exc_type is not None:
            self._keep_logs()
        self._stack.close()
        return False

    def _start(self):
        self.tmp = Path(self._stack.enter_context(tempfile.TemporaryDirectory(prefix="kelmora-wl-")))
        home = self.tmp / "home"
        home.mkdir()
        runtime = self.tmp / "runtime"
        runtime.mkdir(mode=0o700)
        self.env = clean_environment(home, runtime, self.prefix)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("DBUS_SYSTEM_BUS_ADDRESS", None)
        self._start_weston(runtime)
        self._start_session_bus()

    def _start_weston(self, runtime):
        config = self.tmp / "weston.ini"
        config.write_text(WESTON_INI)
        socket = f"kelmora-test-{os.getpid()}-{time.monotonic_ns()}"
        width, height = SCREEN
        # --debug lets weston-screenshooter take pictures of the output.
        weston = self.spawn(["weston", "--backend=headless-backend.so", "--use-pixman",
                             f"--width={width}", f"--height={height}", f"--socket={socket}",
                             f"--config={config}", "--debug"], log="weston")

        def listening():
            if weston.poll() is not None:
                raise AssertionError(f"weston ended with status {weston.returncode}")
            return (runtime / socket).is_socket()

        wait_for(listening, "weston's socket")
        self.env["WAYLAND_DISPLAY"] = socket

    def _start_session_bus(self):
        read_end, write_end = os.pipe()
        # A session of its own, so the bus and what it starts on demand (the accessibility bus
        # and registry) are ended together through the bus's process group.
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_end}"],
            env=self.env, pass_fds=(write_end,), start_new_session=True, cwd=self.tmp,
            stdin=subprocess.DEVNULL, stdout=self._log("dbus"), stderr=subprocess.STDOUT)
        self._stack.callback(_end_process_group, bus)
        os.close(write_end)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = read_reported_line(
            read_end, "the session bus did not report its address")

    def _log(self, name):
        return self._stack.enter_context(open(self.tmp / f"{name}.log", "ab"))

    def spawn(self, argv, log, env=None):
        process = subprocess.Popen(argv, env=env or self.env, cwd=self.tmp,
                                   stdin=subprocess.DEVNULL, stdout=self._log(log),
                                   stderr=subprocess.STDOUT)
        self._stack.callback(end_process, process)
        return process

    def start_kelmora(self):
        env = dict(self.env,
                   QT_QPA_PLATFORM="wayland",
                   # Qt offers its accessibility tree only when asked to or a screen reader runs.
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   # The requests the client sends, the window's title among them.
                   WAYLAND_DEBUG="client")
        return self.spawn([str(self.prefix / "bin" / "kelmora")], log="kelmora", env=env)

    def log(self, name):
        return (self.tmp / f"{name}.log").read_text(errors="replace")

    def screenshot(self):
        """The whole output as the compositor shows it."""
        self._shots += 1
        folder = self.tmp / f"shot-{self._shots}"
        folder.mkdir()
        # The screenshooter writes a file named after the time into its working directory.
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=folder, check=True,
                       capture_output=True, timeout=DEADLINE)
        (png,) = folder.glob("*.png")
        self.last_screenshot = png
        ppm = subprocess.run(["convert", str(png), "-depth", "8", "ppm:-"], check=True,
                             capture_output=True, timeout=DEADLINE).stdout
        return Image(ppm)

    def save_last_screenshot(self, name):
        target = artifacts_dir() / name
        target.write_bytes(self.last_screenshot.read_bytes())
        return target

    def atspi(self, *args):
        """One step of a screen reader's tools; see atspi_client.py."""
        result = subprocess.run([sys.executable, str(ATSPI_CLIENT), *map(str, args)],
                                env=self.env, capture_output=True, timeout=DEADLINE + 10)
        if result.returncode != 0:
            raise AssertionError(f"AT-SPI {args[0]} failed: {result.stderr.decode(errors='replace')}")
        return json.loads(result.stdout.decode())

    def _keep_logs(self):
        if not hasattr(self, "tmp"):
            return
        target = artifacts_dir() / "failed" / f"wayland-{os.getpid()}-{time.monotonic_ns()}"
        target.mkdir(parents=True, exist_ok=True)
        for path in list(self.tmp.glob("*.log")) + list(self.tmp.glob("shot-*/*.png")):
            name = path.name if path.suffix == ".log" else f"{path.parent.name}.png"
            (target / name).write_bytes(path.read_bytes())
        print(f"logs of the failed Wayland session: {target}")


def _end_process_group(process):
    """Ends a process that leads its own group, and whatever it started in that group."""
    with contextlib.suppress(ProcessLookupError):
        os.killpg(process.pid, signal.SIGTERM)
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        with contextlib.suppress(ProcessLookupError):
            os.killpg(process.pid, signal.SIGKILL)
        process.wait()
