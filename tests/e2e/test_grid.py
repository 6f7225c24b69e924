# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What the output box shows of a converted picture, read from screenshots: every ink cell of a
two-column unit stands where a blank cell would, and lines start at the left edge in any script."""

import unittest

from kelmora_e2e import (INPUT_BOX, OUTPUT_BOX_TOP, UNIT_BOX, Rect, Session, artifacts_dir,
                         is_ink, wait_for)

# Inside the output box's frame, left of any wrap; only the rows the window shows.
PICTURE_LEFT = 3


def convert_with_unit(desktop, kelmora, unit, typed, screenshot=None):
    """Enters the unit and the text, converts; returns the shown picture and its ink rows."""
    kelmora.click_control(UNIT_BOX)
    kelmora.wait_unit_box_look("empty")
    kelmora.paste(unit)
    kelmora.click_control(INPUT_BOX)
    kelmora.paste(typed)
    kelmora.wait_canvas_ink()
    image = kelmora.shot()
    area = Rect(PICTURE_LEFT, OUTPUT_BOX_TOP + 3, 620, image.height - OUTPUT_BOX_TOP - 6)
    before = image.region(area)
    kelmora.convert_by_click()
    wait_for(lambda: kelmora.shot().region(area) != before, "the picture to show")
    shown = wait_for(lambda: (lambda a, b: b if a.region(area) == b.region(area) else None)(
        kelmora.shot(), kelmora.shot()), "the picture to stand still")
    if screenshot:
        desktop.save_screenshot(kelmora.window, artifacts_dir() / screenshot)
    rows = [row for row in kelmora.picture(unit) if any(row)]
    return shown, area, rows


def text_bands(image, area):
    """The horizontal extent of the ink of each shown line of text, top to bottom."""
    bands = []
    current = None
    for y in range(area.top, area.top + area.height):
        xs = [x for x in range(area.left, area.left + area.width) if is_ink(image.rgb(x, y))]
        if xs:
            current = (min(xs), max(xs)) if current is None else (
                min(current[0], min(xs)), max(current[1], max(xs)))
        elif current is not None:
            bands.append(current)
            current = None
    if current is not None:
        bands.append(current)
    return bands


def one_pitch(edges, what):
    """Given (cell index, x) pairs, the one cell width that puts every x on a common grid."""
    distinct = sorted(set(edges))
    pitches = {
        (x2 - x1) / (c2 - c1)
        for (c1, x1) in distinct for (c2, x2) in distinct if c2 != c1
    }
    if len(pitches) > 1:
        raise AssertionError(f"{what} are off the grid: cell and x {distinct}")
    return pitches.pop() if pitches else None


def blank_runs_between_ink(cells):
    """The lengths of the runs of blank cells between ink cells, left to right."""
    runs, blanks, seen_ink = [], 0, False
    for ink in cells:
        if ink:
            if seen_ink and blanks:
                runs.append(blanks)
            seen_ink, blanks = True, 0
        else:
            blanks += 1
    return runs


def shown_blank_runs(image, area, pitch):
    """For each shown line of ink, the gaps between its glyphs in blank cells, left to right.
    Glyphs closer than most of a blank cell stand in neighbouring ink cells; a line ends at a few
    white pixel rows, as a small glyph may have one white row of its own."""
    lines = []
    current, white_rows = None, 0
    for y in range(area.top, area.top + area.height + 3):
        xs = {x for x in range(area.left, area.left + area.width)
              if y < area.top + area.height and is_ink(image.rgb(x, y))}
        white_rows = 0 if xs else white_rows + 1
        if xs:
            current = xs if current is None else current | xs
        elif current is not None and white_rows == 3:
            ordered = sorted(current)
            gaps = [b - a for a, b in zip(ordered, ordered[1:]) if b - a > 0.75 * pitch]
            lines.append([round(gap / pitch) for gap in gaps])
            current = None
    return lines


class GridTest(unittest.TestCase):
    def test_two_column_ink_lines_up_with_blank_cells(self):
        cases = [("中", "H", None), ("Ｗ", "H", None), ("中", "Hi中国", "hi-zhongguo-unit-zhong.png")]
        for unit, typed, screenshot in cases:
            with self.subTest(unit=unit, text=typed), Session() as (desktop, kelmora):
                image, area, rows = convert_with_unit(desktop, kelmora, unit, typed, screenshot)
                bands = text_bands(image, area)
                self.assertEqual(len(bands), len(rows), "one shown line of ink per picture row with ink")
                rights = [(max(i for i, ink in enumerate(row) if ink), band[1])
                          for row, band in zip(rows, bands)]
                lefts = [(row.index(True), band[0]) for row, band in zip(rows, bands)]
                # The right edge of the last ink cell, and the left edge of the first, sit on one
                # grid in every row: the same cell ends at the same x whatever is before it.
                for cell in {c for c, _ in rights}:
                    self.assertEqual(len({x for c, x in rights if c == cell}), 1,
                                     f"rows ending in cell {cell} end at different x: {rights}")
                for cell in {c for c, _ in lefts}:
                    self.assertEqual(len({x for c, x in lefts if c == cell}), 1,
                                     f"rows starting in cell {cell} start at different x: {lefts}")
                pitch = one_pitch(rights, "right edges")
                if pitch is not None:
                    self.assertEqual(pitch, int(pitch), "a cell is a whole number of pixels")

    def test_right_to_left_unit_lines_start_at_the_left(self):
        with Session() as (desktop, kelmora):
            image, area, rows = convert_with_unit(desktop, kelmora, "א", "Hi")
            bands = text_bands(image, area)
            self.assertEqual(len(bands), len(rows), "one shown line of ink per picture row with ink")
            # Only blank cells come before the first ink cell, so the first glyph of every line
            # stands that many blank cells from the left edge.
            lefts = [(row.index(True), band[0]) for row, band in zip(rows, bands)]
            for cell in {c for c, _ in lefts}:
                self.assertEqual(len({x for c, x in lefts if c == cell}), 1,
                                 f"lines starting in cell {cell} start at different x: {lefts}")
            one_pitch(lefts, "the first glyphs of the lines")
            for cell, x in lefts:
                # Even at a generous 16 pixels a blank cell, far left of the box's middle.
                self.assertLess(x - PICTURE_LEFT, 40 + 16 * cell,
                                f"a line starts at the right, not after its blank cells: {lefts}")

    def test_right_to_left_unit_keeps_the_cells_in_order(self):
        # A two-column left-to-right unit gives the pattern and the pitch of a blank cell; a
        # right-to-left unit must show the same blanks between its ink, in the same order.
        with Session() as (desktop, kelmora):
            image, area, rows = convert_with_unit(desktop, kelmora, "##", "Hi")
            pitch = one_pitch([(max(i for i, ink in enumerate(row) if ink), band[1])
                               for row, band in zip(rows, text_bands(image, area))],
                              "the last glyphs of the lines")
            self.assertIsNotNone(pitch, "lines end in different cells")
            reference = shown_blank_runs(image, area, pitch)
            reference_rows = rows
            self.assertEqual(reference, [blank_runs_between_ink(row) for row in rows])
        for unit in ["א", "אב", "ب"]:
            with self.subTest(unit=unit), Session() as (desktop, kelmora):
                screenshot = "hi-right-to-left-unit.png" if unit == "א" else None
                image, area, rows = convert_with_unit(desktop, kelmora, unit, "Hi", screenshot)
                self.assertEqual(rows, reference_rows, "the same picture in the text")
                self.assertEqual(shown_blank_runs(image, area, pitch), reference,
                                 "the blanks between the ink cells of each line, left to right")

if __name__ == "__main__":
    unittest.main()
