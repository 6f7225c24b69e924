# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The unit box: reached by Tab, its grey hint, and the unit a conversion writes."""

import unittest

from kelmora_e2e import (CONVERT_BUTTON, DEFAULT_UNIT, HINT, INPUT_BOX, OUTPUT_BOX_TOP, UNIT_BOX,
                         Session, check_focus_holder, count_true, focus_by_tab, offsets_matching)

# From the start state: the keys pressed, and which control then has the focus.
TAB_WALKS = [
    (["Tab"] * 0, "input"),
    (["Tab"] * 1, "button"),
    (["Tab"] * 2, "unit"),
    (["Tab"] * 3, "output"),
    (["Tab"] * 4, "input"),
    (["shift+Tab"] * 1, "output"),
    (["shift+Tab"] * 2, "unit"),
    (["shift+Tab"] * 3, "button"),
    (["shift+Tab"] * 4, "input"),
]

ENTER_UNIT_BOX = {
    "Tab": lambda kelmora: focus_by_tab(kelmora, "unit"),
    "click": lambda kelmora: kelmora.click_control(UNIT_BOX),
}

LEAVE_UNIT_BOX = {
    "Tab": lambda kelmora: kelmora.key("Tab"),
    "shift+Tab": lambda kelmora: kelmora.key("shift+Tab"),
    "click on the input box": lambda kelmora: kelmora.click_control(INPUT_BOX),
    "click on the convert button": lambda kelmora: kelmora.click_control(CONVERT_BUTTON),
}

# Units and how they get into the box. The hint with a trailing space is an ordinary unit.
UNITS = [
    ("@", "type"),
    ("ab", "type"),
    ("字", "paste"),
    (HINT + " ", "paste"),
]


# Points in the strips above and below the unit box's text band, which count as its border.
STRIPS = {
    "top strip": (UNIT_BOX.centre[0], UNIT_BOX.top + 5),
    "bottom strip": (UNIT_BOX.centre[0], UNIT_BOX.top + UNIT_BOX.height - 5),
}
BUTTONS = {"left": 1, "middle": 2, "right": 3}
CLIPBOARD_TEXT = "XYZ"
PRIMARY_TEXT = "PRI"

# Ways into the unit box's band while the hint shows: each takes the focus first, so what it
# puts in replaces the hint instead of joining it.
INTO_THE_BAND = {
    "middle-button paste": (lambda kelmora: kelmora.click(*UNIT_BOX.centre, button=2), PRIMARY_TEXT),
    "paste from the context menu": (
        lambda kelmora: (kelmora.click(*UNIT_BOX.centre, button=3), kelmora.key("p")), CLIPBOARD_TEXT),
}


def enter_text(kelmora, text, how):
    if how == "type":
        kelmora.type(text)
    else:
        kelmora.paste(text)


class UnitBoxTest(unittest.TestCase):
    def test_tab_and_shift_tab_walk_the_focus_order(self):
        for keys, holder in TAB_WALKS:
            with self.subTest(keys=" ".join(keys) or "none", holder=holder), Session() as (_, kelmora):
                if keys:
                    kelmora.key(*keys)
                check_focus_holder(kelmora, holder)

    def test_hint_gives_way_on_entry_and_returns_when_left_empty(self):
        for enter_name, enter in ENTER_UNIT_BOX.items():
            for leave_name, leave in LEAVE_UNIT_BOX.items():
                with self.subTest(enter=enter_name, leave=leave_name), Session() as (_, kelmora):
                    kelmora.type("Hi")
                    canvas = kelmora.wait_canvas_ink()
                    enter(kelmora)
                    kelmora.wait_unit_box_look("empty")
                    leave(kelmora)
                    kelmora.wait_unit_box_look("grey")
                    if leave_name == "click on the convert button":
                        # The hint was back before the click converted: "* " cells, none empty.
                        picture = kelmora.picture(DEFAULT_UNIT)
                        self.assertTrue(offsets_matching(picture, canvas))

    def test_typed_unit_is_written_for_every_ink_cell(self):
        for unit, how in UNITS:
            with self.subTest(unit=unit), Session() as (_, kelmora):
                kelmora.type("Hi")
                canvas = kelmora.wait_canvas_ink()
                focus_by_tab(kelmora, "unit")
                enter_text(kelmora, unit, how)
                kelmora.convert_by_click()
                picture = kelmora.picture(unit)
                self.assertGreater(count_true(picture), 0)
                self.assertTrue(offsets_matching(picture, canvas))
                kelmora.wait_unit_box_look("black")  # kept, in black, once left

    def test_no_button_in_the_strips_edits_the_unit_box(self):
        with Session() as (desktop, kelmora):
            kelmora.type("Hi")
            canvas = kelmora.wait_canvas_ink()
            desktop.set_clipboard(CLIPBOARD_TEXT)
            desktop.set_clipboard(PRIMARY_TEXT, selection="primary")
            kelmora.key("Tab")  # onto the convert button, which takes no text
            for strip, point in STRIPS.items():
                for button_name, button in BUTTONS.items():
                    with self.subTest(strip=strip, button=button_name):
                        kelmora.click(*point, button=button)
                        # Were a menu open, p would paste from it and close it. (Esc would
                        # close the window.)
                        kelmora.key("p")
                        kelmora.wait_unit_box_look("grey")
            kelmora.key("space")
            # The hint stayed the hint: the picture has "* " cells, none of pasted text.
            self.assertTrue(offsets_matching(kelmora.picture(DEFAULT_UNIT), canvas))

    def test_every_way_into_the_band_takes_the_focus_first(self):
        for name, (enter, unit) in INTO_THE_BAND.items():
            with self.subTest(way=name), Session() as (desktop, kelmora):
                kelmora.type("Hi")
                canvas = kelmora.wait_canvas_ink()
                desktop.set_clipboard(CLIPBOARD_TEXT)
                desktop.set_clipboard(PRIMARY_TEXT, selection="primary")
                enter(kelmora)
                kelmora.wait_unit_box_look("black")
                kelmora.convert_by_click()
                self.assertTrue(offsets_matching(kelmora.picture(unit), canvas))

    def test_a_drop_goes_through_the_focus(self):
        targets = {"band": (UNIT_BOX.centre, "black"), **{name: (point, "grey") for name, point in STRIPS.items()}}
        for target, (point, look) in targets.items():
            with self.subTest(target=target), Session() as (_, kelmora):
                # Line edits give no drags; the output box does. Its whole text becomes DROP.
                kelmora.click(60, OUTPUT_BOX_TOP + 30)
                kelmora.key("ctrl+a")
                kelmora.type("DROP")
                kelmora.key("ctrl+a")
                kelmora.drag((14, OUTPUT_BOX_TOP + 10), point)
                kelmora.wait_unit_box_look(look)
                if look == "black":
                    # The drop took the focus, so the hint went first: exactly the dropped text.
                    self.assertEqual(kelmora.copy_focused(), "DROP")
                else:
                    # Turned away: the text stays where it was dragged from.
                    self.assertEqual(kelmora.copy_output(), "DROP")

    def test_unit_equal_to_the_hint_counts_as_the_hint(self):
        with Session() as (_, kelmora):
            kelmora.type("Hi")
            canvas = kelmora.wait_canvas_ink()
            focus_by_tab(kelmora, "unit")
            kelmora.paste(HINT)
            kelmora.key("Tab")
            kelmora.wait_unit_box_look("black")  # typed, so not grey
            kelmora.convert_by_click()
            self.assertTrue(offsets_matching(kelmora.picture(DEFAULT_UNIT), canvas))
            kelmora.click_control(UNIT_BOX)
            kelmora.wait_unit_box_look("empty")  # cleared on entry, like the shown hint


if __name__ == "__main__":
    unittest.main()
