# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Type a text, watch the preview, convert, and copy the picture out."""

import unittest

from kelmora_e2e import (DEFAULT_UNIT, INPUT_BOX, OUTPUT_BOX_TOP, Rect, Session, artifacts_dir,
                         count_true, offsets_matching, parse_picture, wait_for)


def enter(kelmora, typed, pasted):
    if typed:
        kelmora.type(typed)
    if pasted:
        kelmora.paste(pasted)


# (typed with the keyboard, pasted from the clipboard, screenshot to keep)
TEXTS = [
    ("Hi", "", None),
    ("", "中国", None),
    ("Hi", "中国", "hi-zhongguo.png"),
]


class MainRoadTest(unittest.TestCase):
    def test_picture_is_what_the_preview_shows(self):
        for typed, pasted, screenshot in TEXTS:
            with self.subTest(text=typed + pasted), Session() as (desktop, kelmora):
                enter(kelmora, typed, pasted)
                canvas = kelmora.wait_canvas_ink()
                self.assertEqual(kelmora.copy_focused(), typed + pasted, "the input box text")

                output = Rect(0, OUTPUT_BOX_TOP, 600, 100)
                before = kelmora.shot().region(output)
                kelmora.convert_by_click()
                if screenshot:
                    wait_for(lambda: kelmora.shot().region(output) != before, "the picture to show")
                    desktop.save_screenshot(kelmora.window, artifacts_dir() / screenshot)

                picture = kelmora.picture()
                self.assertGreater(count_true(picture), 0, "the picture has no ink")
                self.assertTrue(offsets_matching(picture, canvas),
                                "the picture's ink is not the preview's ink")

    def test_chinese_characters_are_drawn_as_themselves(self):
        # Two missing-glyph boxes would give the same picture.
        pictures = []
        with Session() as (_, kelmora):
            for character in ("中", "国"):
                shown = kelmora.canvas_ink()
                kelmora.key("ctrl+a")
                kelmora.paste(character)
                kelmora.wait_canvas("the preview of " + character,
                                    lambda ink: ink != shown and kelmora.canvas_has_text(ink))
                kelmora.convert_by_click()
                pictures.append(kelmora.picture())
                kelmora.click_control(INPUT_BOX)
        self.assertNotEqual(pictures[0], pictures[1])

    def test_space_on_the_button_converts_and_enter_does_not(self):
        with Session() as (_, kelmora):
            kelmora.type("Hi")
            kelmora.wait_canvas_ink()
            kelmora.key("Tab", "Return", "KP_Enter")
            # Still the 32-line sample: Enter pressed nothing.
            parse_picture(kelmora.copy_output(), DEFAULT_UNIT, rows=32)
            kelmora.key("shift+Tab", "shift+Tab", "space")  # output, unit, button
            self.assertGreater(count_true(kelmora.picture()), 0)


if __name__ == "__main__":
    unittest.main()
