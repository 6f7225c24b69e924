# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a person finds when the tool has just opened."""

import re
import unittest

from kelmora_e2e import (CANVAS, DEFAULT_UNIT, OUTER_SIZE, TITLE, UNIT_BOX, Session,
                         box_text_look, count_true, parse_picture)

# Screens of even, odd and too small sizes: the centring truncates, and a screen smaller than
# the window leaves it hanging off the top-left edge rather than being pushed back on.
SCREENS = [
    ((1280, 1024), (320, 272)),
    ((1025, 769), (192, 144)),
    ((600, 400), (-20, -40)),
]


class StartTest(unittest.TestCase):
    def test_window_is_640_by_480_with_its_frame_and_centred(self):
        for screen, origin in SCREENS:
            with self.subTest(screen=screen), Session(screen) as (_, kelmora):
                geometry = kelmora.geometry()
                self.assertNotEqual(geometry.frame, (0, 0, 0, 0), "the window manager drew no frame")
                self.assertEqual(geometry.outer_size, OUTER_SIZE)
                self.assertEqual(geometry.outer_origin, origin)

    def test_title_icon_and_class_name_the_tool(self):
        with Session() as (desktop, kelmora):
            window = str(kelmora.window)
            self.assertEqual(desktop.xdotool("getwindowname", window).strip(), TITLE)
            wm_class = desktop.run("xprop", "-id", window, "WM_CLASS")
            # The class is the desktop entry's id: it is what groups window and entry.
            self.assertIn('"kelmora", "org.kelmora.kelmora"', wm_class)
            icons = desktop.run("xprop", "-id", window, "_NET_WM_ICON")
            sizes = {int(w) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons) if w == h}
            self.assertTrue({16, 32, 48}.issubset(sizes), f"window icon sizes: {sorted(sizes)}")

    def test_first_look(self):
        with Session() as (_, kelmora):
            shot = kelmora.shot()
            inner = [row[3:-3] for row in shot.grid(CANVAS, lambda rgb: rgb != (255, 255, 255))[3:-3]]
            self.assertEqual(count_true(inner), 0, "the preview canvas is not plain white")
            self.assertEqual(box_text_look(shot, UNIT_BOX), "grey", "the unit box shows no grey hint")

            sample = parse_picture(kelmora.copy_output(), DEFAULT_UNIT, rows=32)
            ink = count_true(sample)
            self.assertTrue(0 < ink < 32 * 50, f"the sample picture has {ink} ink cells")

    def test_typing_goes_into_the_input_box(self):
        with Session() as (_, kelmora):
            kelmora.type("Hi")
            kelmora.wait_canvas_ink()
            self.assertEqual(kelmora.copy_focused(), "Hi")


if __name__ == "__main__":
    unittest.main()
