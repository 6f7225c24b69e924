# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Every way of closing ends the program with status 0; no display gives 255 and one line."""

import contextlib
import resource
import subprocess
import tempfile
import unittest
from pathlib import Path

from kelmora_e2e import (DEADLINE, FOCUS_ORDER, Session, check_focus_holder, clean_environment,
                         focus_by_tab, installed_prefix)


def close_button(desktop, kelmora):
    # Openbox puts the close button last in the title bar.
    geometry = kelmora.geometry()
    left, top = geometry.outer_origin
    desktop.xdotool("mousemove", left + geometry.outer_size[0] - 11, top + geometry.frame[2] // 2,
                    "click", 1)


def close_shortcut(desktop, kelmora):
    # Now and then openbox lets the first Alt+F4 after a window maps go by without acting on
    # it (a second press always works, and its close request is the same one wmctrl sends, which
    # is never lost), so the shortcut is pressed once more if the program is still running.
    kelmora.key("alt+F4")
    with contextlib.suppress(AssertionError):
        kelmora.wait_exit(deadline=3)
        return
    print("alt+F4 was not acted on; pressing it once more")
    kelmora.key("alt+F4")


WINDOW_MANAGER_CLOSES = {
    # The window manager's own shortcut.
    "alt+F4": close_shortcut,
    # The close request a pager or task bar sends.
    "wmctrl -c": lambda desktop, kelmora: desktop.run("wmctrl", "-i", "-c", str(kelmora.window)),
    "the close button": close_button,
}


def free_display():
    """A display number on which no X server listens."""
    for number in range(4000, 4100):
        if not Path(f"/tmp/.X11-unix/X{number}").exists() and not Path(f"/tmp/.X{number}-lock").exists():
            return f":{number}"
    raise AssertionError("no free display number")


def allow_core_files():
    # So that a crash would leave the core file this test looks for.
    _, hard = resource.getrlimit(resource.RLIMIT_CORE)
    resource.setrlimit(resource.RLIMIT_CORE, (hard, hard))


class EndingTest(unittest.TestCase):
    def test_escape_closes_from_every_control(self):
        for holder in FOCUS_ORDER:
            with self.subTest(holder=holder), Session() as (_, kelmora):
                kelmora.type("Hi")
                kelmora.wait_canvas_ink()
                focus_by_tab(kelmora, holder)
                kelmora.key("Escape")
                self.assertEqual(kelmora.wait_exit(), 0)

    def test_escape_with_a_modifier_does_not_close(self):
        for modifier in ("shift", "ctrl"):
            with self.subTest(modifier=modifier), Session() as (_, kelmora):
                kelmora.key(f"{modifier}+Escape")
                # The keys after it are handled after it: if it had closed, these would fail.
                check_focus_holder(kelmora, "input")
                self.assertIsNone(kelmora.process.poll())

    def test_window_manager_close_exits_with_status_0(self):
        for name, close in WINDOW_MANAGER_CLOSES.items():
            with self.subTest(close=name), Session() as (desktop, kelmora):
                close(desktop, kelmora)
                self.assertEqual(kelmora.wait_exit(), 0)

    def test_start_without_a_display_exits_255_with_one_line(self):
        prefix = installed_prefix()
        nowhere = free_display()
        # A desktop-like environment without a display, and a bare one as from a cron job.
        cases = {
            "DISPLAY unset": lambda env: env.pop("DISPLAY", None),
            "DISPLAY with no server": lambda env: env.update(DISPLAY=nowhere),
            "bare environment": lambda env: [env.clear(), env.update(PATH="/usr/bin:/bin",
                                                                     DISPLAY=nowhere)],
        }
        for name, adjust in cases.items():
            with self.subTest(case=name), tempfile.TemporaryDirectory() as tmp:
                home = Path(tmp) / "home"
                runtime = Path(tmp) / "runtime"
                home.mkdir()
                runtime.mkdir(mode=0o700)
                env = clean_environment(home, runtime, prefix)
                adjust(env)
                result = subprocess.run([str(prefix / "bin" / "kelmora")], env=env, cwd=tmp,
                                        capture_output=True, timeout=DEADLINE,
                                        preexec_fn=allow_core_files)
                self.assertEqual(result.returncode, 255, result.stderr)
                lines = result.stderr.decode().splitlines()
                self.assertEqual(len(lines), 1, lines)
                self.assertTrue(lines[0].strip())
                self.assertEqual(result.stdout, b"")
                self.assertEqual([p.name for p in Path(tmp).iterdir() if p.name.startswith("core")], [])

if __name__ == "__main__":
    unittest.main()
