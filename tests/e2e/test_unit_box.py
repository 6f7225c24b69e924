"""The unit box: reached by Tab, its grey hint, and the unit a conversion writes."""

import unittest

from kelmora_e2e import (CONVERT_BUTTON, DEFAULT_UNIT, HINT, INPUT_BOX, UNIT_BOX, Session,
                         check_focus_holder, count_true, focus_by_tab, offsets_matching)

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
