# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The installed tool as a native Wayland client, on weston, looked at and used the way a screen
reader user's tools do: no input is injected, everything goes through AT-SPI."""

import os
import unittest

from kelmora_e2e import (CANVAS, CONVERT_BUTTON, DEFAULT_UNIT, INPUT_BOX, OUTER_SIZE,
                         OUTPUT_BOX_TOP, TITLE, UNIT_BOX, Rect, Session, box_text_look,
                         count_true, is_ink, parse_picture, wait_for)
from wayland_desktop import BACKGROUND, WaylandDesktop

# The form's accessible names and what AT-SPI calls each kind of control.
INPUT_NAME, UNIT_NAME, OUTPUT_NAME, CANVAS_NAME, BUTTON_NAME = (
    "输入文字", "基本单元", "文字画", "预览", "开始转换")
CONTROLS = {
    INPUT_NAME: ("text", INPUT_BOX),
    UNIT_NAME: ("text", UNIT_BOX),
    CANVAS_NAME: ("frame", CANVAS),
    BUTTON_NAME: ("push button", CONVERT_BUTTON),
}


def window_rect(image):
    """The bounding box of everything that is not the compositor's background."""
    background_row = bytes(BACKGROUND) * image.width
    rows = [y for y in range(image.height)
            if image.pixels[y * image.width * 3:(y + 1) * image.width * 3] != background_row]
    if not rows:
        return None
    columns = [x for x in range(image.width)
               if any(image.rgb(x, y) != BACKGROUND for y in range(rows[0], rows[-1] + 1, 4))]
    return Rect(columns[0], rows[0], columns[-1] - columns[0] + 1, rows[-1] - rows[0] + 1)


def moved(rect, origin):
    return Rect(rect.left + origin[0], rect.top + origin[1], rect.width, rect.height)


def ink_runs(flags):
    return sum(1 for i, flag in enumerate(flags) if flag and (i == 0 or not flags[i - 1]))


def shown_lines(image, rect):
    """For each line of text shown in rect, top to bottom, how many separate marks it holds.

    A line cut off by the box's bottom edge is left out."""
    dark = [[image.luma(x, y) < 160 for x in range(rect.left, rect.left + rect.width)]
            for y in range(rect.top, rect.top + rect.height)]
    lines, band = [], []
    for y, row in enumerate(dark):
        if any(row):
            band.append(row)
        elif band:
            lines.append([any(column) for column in zip(*band)])
            band = []
    return [ink_runs(columns) for columns in lines]


def marks_per_line(text, unit):
    """What shown_lines should see for a picture: the ink cells of each line with any ink."""
    counts = [sum(row) for row in parse_picture(text, unit, rows=text.count("\n"))]
    return [count for count in counts if count]


class WaylandTest(unittest.TestCase):
    def start(self, desktop):
        process = desktop.start_kelmora()
        found = desktop.atspi("controls", process.pid)

        def mapped():
            if process.poll() is not None:
                raise AssertionError(f"the program ended with status {process.returncode}")
            image = desktop.screenshot()
            if image.rgb(0, 0) != BACKGROUND:
                return None  # the shell has not painted its background yet
            rect = window_rect(image)
            return (image, rect) if rect else None

        image, outer = wait_for(mapped, "the window to show on the compositor's output")
        return process, found, image, outer

    def test_window_maps_with_its_title_and_form(self):
        with WaylandDesktop() as desktop:
            process, found, image, outer = self.start(desktop)
            desktop.save_last_screenshot("wayland-window.png")

            # The title as the compositor got it, and as the accessibility tree has it.
            self.assertIn(f'set_title("{TITLE}")', desktop.log("kelmora"))
            # Docks match a Wayland window to its desktop entry by the app id alone.
            self.assertIn(f'set_app_id("{os.environ["KELMORA_APP_ID"]}")', desktop.log("kelmora"))
            self.assertEqual((found["window"]["name"], found["window"]["role"]), (TITLE, "filler"))
            # Qt draws the frame itself here, so the form's outer size holds frame included.
            self.assertEqual((outer.width, outer.height), OUTER_SIZE)
            client_width, client_height = found["window"]["extents"][2:]
            side = (outer.width - client_width) // 2
            self.assertEqual(outer.width - client_width, 2 * side, "uneven side borders")
            caption = outer.height - client_height - side
            origin = (outer.left + side, outer.top + caption)
            title_bar = Rect(outer.left + outer.width // 3, outer.top + 2, outer.width // 3,
                             caption - 4)
            self.assertGreater(count_true(image.grid(title_bar, lambda rgb: sum(rgb) < 600)), 20,
                               "no title is drawn in the middle of the caption")

            # The controls, by name, role and place, as AT-SPI reports them.
            controls = {control["name"]: control for control in found["controls"]}
            for name, (role, rect) in CONTROLS.items():
                self.assertIn(name, controls)
                self.assertEqual(controls[name]["role"], role, name)
                self.assertEqual(controls[name]["extents"],
                                 [rect.left, rect.top, rect.width, rect.height], name)
            self.assertEqual(controls[OUTPUT_NAME]["role"], "text")
            self.assertEqual(controls[OUTPUT_NAME]["extents"][:3],
                             [0, OUTPUT_BOX_TOP, OUTER_SIZE[0] - 8])
            for name in (INPUT_NAME, UNIT_NAME, OUTPUT_NAME):
                self.assertIn("EditableText", controls[name]["interfaces"], name)

            # And where the screenshot shows them: each control's own frame inside the window's
            # face, 3 pixels around it untouched.
            face = image.rgb(origin[0] + 260, origin[1] + 40)
            for name, (_, rect) in CONTROLS.items():
                shown = moved(rect, origin)
                ring = moved(Rect(rect.left - 3, rect.top - 3, rect.width + 6, rect.height + 6),
                             origin)
                around = [image.rgb(x, y) for x in range(ring.left, ring.left + ring.width)
                          for y in (ring.top, ring.top + ring.height - 1)]
                around += [image.rgb(x, y) for y in range(ring.top, ring.top + ring.height)
                           for x in (ring.left, ring.left + ring.width - 1)]
                self.assertEqual(set(around), {face}, f"{name}: something is drawn around it")
                edge = [image.rgb(x, shown.top) for x in range(shown.left, shown.left + shown.width)]
                self.assertNotEqual(set(edge), {face}, f"{name}: no frame at its place")
            self.assertEqual(box_text_look(image, moved(INPUT_BOX, origin)), "empty")
            self.assertEqual(box_text_look(image, moved(UNIT_BOX, origin)), "grey", "the hint")
            self.assertEqual(count_true(image.grid(moved(CANVAS, origin).inset(4), is_ink)), 0)
            button = moved(CONVERT_BUTTON, origin).inset(4)
            self.assertGreater(count_true(image.grid(button, lambda rgb: sum(rgb) < 300)), 20,
                               "the button's caption")

            # The output box below them shows the sample picture, line by line.
            sample = desktop.atspi("text", process.pid, OUTPUT_NAME)
            output = Rect(origin[0] + 4, origin[1] + OUTPUT_BOX_TOP + 4, client_width - 8,
                          client_height - OUTPUT_BOX_TOP - 4)
            lines = shown_lines(image, output)
            self.assertGreaterEqual(len(lines), 10, "too few lines of the sample show")
            self.assertEqual(lines, marks_per_line(sample, DEFAULT_UNIT)[: len(lines)])

    def test_screen_reader_converts_as_on_x11(self):
        # (input text, unit text or None for the hint's "* ")
        cases = [("Hi", None), ("中Q", "# ")]
        with WaylandDesktop() as desktop:
            process, found, _, outer = self.start(desktop)
            client_width, client_height = found["window"]["extents"][2:]
            side = (outer.width - client_width) // 2
            origin = (outer.left + side, outer.top + outer.height - client_height - side)
            for text, unit in cases:
                with self.subTest(text=text, unit=unit):
                    self.assertTrue(desktop.atspi("set", process.pid, INPUT_NAME, text))
                    self.assertEqual(desktop.atspi("text", process.pid, INPUT_NAME), text)
                    # Setting the text is a change of it: the preview draws it.
                    canvas = moved(CANVAS, origin).inset(3)
                    wait_for(lambda: count_true(desktop.screenshot().grid(canvas, is_ink)) > 4,
                             "the preview of the text set through AT-SPI")
                    if unit is not None:
                        self.assertTrue(desktop.atspi("set", process.pid, UNIT_NAME, unit))
                    before = desktop.atspi("text", process.pid, OUTPUT_NAME)
                    self.assertTrue(desktop.atspi("press", process.pid, BUTTON_NAME))
                    picture = wait_for(
                        lambda: (lambda now: now if now != before else None)(
                            desktop.atspi("text", process.pid, OUTPUT_NAME)),
                        "the picture in the output box")
                    on_wayland = parse_picture(picture, unit or DEFAULT_UNIT)
                    self.assertGreater(count_true(on_wayland), 0, "the picture has no ink")
                    self.assertEqual(on_wayland, x11_picture(text, unit),
                                     "the picture differs from the one on X11")
                    shown = Rect(origin[0] + 4, origin[1] + OUTPUT_BOX_TOP + 4,
                                 client_width - 8, client_height - OUTPUT_BOX_TOP - 4)
                    self.assertEqual(shown_lines(desktop.screenshot(), shown),
                                     [sum(row) for row in on_wayland if any(row)])
            desktop.save_last_screenshot("wayland-converted.png")


def x11_picture(text, unit):
    """The same conversion on X11, as the end-to-end suite does it: keys, clicks, clipboard."""
    with Session() as (_, kelmora):
        kelmora.paste(text)
        kelmora.wait_canvas_ink()
        if unit is not None:
            kelmora.click_control(UNIT_BOX)
            kelmora.type(unit)
        kelmora.convert_by_click()
        return kelmora.picture(unit or DEFAULT_UNIT)


if __name__ == "__main__":
    unittest.main()
