"""Answering the host with the pointer: a click near an intersection answers
its exact coordinates, a click elsewhere the cursor's; drags are windows
(left to right) and crossings (right to left); a click picks, a shift-click
removes, a right click ends the selection; Esc cancels."""
import math
import os
import re
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import web_session_support as support  # noqa: E402

# What a clause found, by kind (others are not axes), and the selection so far.
FOUND = re.compile(r"(\d+) LINE, (\d+) ARC")
SELECTED = re.compile(r"(\d+) lines?, (\d+) arcs?")


def script_lines(session):
    return [line for line in session.script().splitlines() if not line.startswith(";")]


def parse_point(text):
    x, y = text.split(",")
    return float(x), float(y)


class PickingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        support.require_browser()
        cls.folder = support.temp_folder_for_class(cls, "tavrin-page-picking-")
        drawing = os.path.join(cls.folder, "plan.dxf")
        shutil.copy(os.path.join(support.EXAMPLES, "plan", "plan.dxf"), drawing)
        cls.curves = support.read_dxf_curves(drawing)
        cls.session = support.WebSession(drawing, cls.folder)
        cls.page = support.Page()
        cls.page.open(cls.session)

    @classmethod
    def tearDownClass(cls):
        cls.page.quit()
        cls.session.stop()

    def setUp(self):
        # Every case starts at "Command:" with the whole drawing shown.
        page = self.page
        if not page.prompt().startswith("Command"):
            page.find("#command-line").send_keys(support.Keys.ESCAPE)
            page.wait_until(lambda: page.js("return window.tavrin.ready()") and
                            page.prompt().startswith("Command"), "Command:")
        page.find("#zoom-extents").click()

    def start_command(self):
        self.page.command("acadtomn")
        self.assertEqual(self.page.js("return document.body.dataset.ask"), "point")

    def pixel_size(self):
        a, b = self.page.screen(0, 0), self.page.screen(1000, 0)
        return 1000 / (b[0] - a[0])

    def click_point(self, x, y, dx, dy):
        sx, sy = self.page.screen(x, y)
        self.page.move_to(sx + dx, sy + dy)
        self.page.click_at(sx + dx, sy + dy)
        self.page.wait_ready()
        return script_lines(self.session)[-1]

    def test_a_click_near_an_intersection_answers_its_exact_coordinates(self):
        # Two axes; an axis and an arc (the arc of radius 9000 about (24000, 9000)
        # and the ray at -30 degrees, inside both).
        cases = [((6000.0, 6000.0), (4, -3)),
                 ((24000 + 9000 * math.cos(math.radians(30)), 9000 - 4500.0), (-3, 4))]
        for (x, y), (dx, dy) in cases:
            with self.subTest(point=(x, y)):
                self.start_command()
                line = self.click_point(x, y, dx, dy)
                got = parse_point(line)
                # What the host computes for that intersection, to the last bit.
                snap = self.session.snap(x, y, 1e-3)
                self.assertEqual(snap["kind"], "intersection")
                self.assertEqual(got, (snap["x"], snap["y"]), line)
                self.assertAlmostEqual(got[0], x, delta=1e-6)
                self.assertAlmostEqual(got[1], y, delta=1e-6)
                self.assertIn(line, self.page.transcript())
                self.page.find("#command-line").send_keys(support.Keys.ESCAPE)
                self.page.wait_ready()

    def test_a_click_out_of_snap_reach_answers_the_cursor_position(self):
        self.start_command()
        got = parse_point(self.click_point(3000, 3000, 0, 0))
        self.assertAlmostEqual(got[0], 3000, delta=1.5 * self.pixel_size())
        self.assertAlmostEqual(got[1], 3000, delta=1.5 * self.pixel_size())
        self.assertNotEqual(got, (3000.0, 3000.0), "a cursor position is not rounded to a snap")

    def found(self):
        """(lines and arcs the last clause found, lines and arcs selected)."""
        matches = FOUND.findall(self.page.transcript())
        found = sum(int(v) for v in matches[-1]) if matches else 0
        summary = self.page.js("return document.getElementById('selection-summary').textContent")
        selected = SELECTED.search(summary)
        self.assertTrue(selected, summary)
        return found, int(selected.group(1)) + int(selected.group(2))

    def drag(self, corner, other):
        a, b = self.page.screen(*corner), self.page.screen(*other)
        self.page.drag(a, b)
        self.page.wait_ready()
        clause = script_lines(self.session)[-1]
        verb, first, second = clause.split(" ")
        p, q = parse_point(first), parse_point(second)
        box = (min(p[0], q[0]), min(p[1], q[1]), max(p[0], q[0]), max(p[1], q[1]))
        return verb, p, q, box

    def test_window_crossing_pick_remove_and_right_click(self):
        self.start_command()
        self.click_point(0, 0, 3, 3)
        self.assertEqual(self.page.js("return document.body.dataset.ask"), "objects")
        tolerance = 2 * self.pixel_size()

        verb, p, q, box = self.drag((-2000, 20000), (7000, -2000))
        self.assertEqual(verb, "window")
        for got, want in zip(p + q, (-2000, 20000, 7000, -2000)):
            self.assertAlmostEqual(got, want, delta=tolerance)
        window = support.selected_by(self.curves, box, crossing=False)
        self.assertEqual(window, 2, "the box holds two axes wholly")
        self.assertEqual(self.found(), (window, window))

        verb, p, q, box = self.drag((13000, 13000), (5000, 5000))
        self.assertEqual(verb, "crossing")
        crossing = support.selected_by(self.curves, box, crossing=True)
        self.assertEqual(crossing, 4)
        found, total = self.found()
        self.assertEqual(found, crossing)
        self.assertEqual(total, 5, "x=6000 was in both")

        # Shift-click on the axis x=12000 takes it out again.
        sx, sy = self.page.screen(12000, 15000)
        self.page.click_at(sx, sy, shift=True)
        self.page.wait_ready()
        handle = next(c["handle"] for c in self.curves
                      if c["type"] == "LINE" and c["points"][0][0] == 12000 == c["points"][1][0])
        self.assertEqual(script_lines(self.session)[-1].lower(), f"remove handle {handle}".lower())
        self.assertEqual(self.found()[1], 4)

        # A plain click adds it back; a right click ends the selection.
        self.page.click_at(sx, sy)
        self.page.wait_ready()
        self.assertEqual(script_lines(self.session)[-1].lower(), f"handle {handle}".lower())
        self.assertEqual(self.found()[1], 5)
        self.page.click_at(sx + 200, sy, button="right")
        self.page.wait_ready()
        self.assertEqual(script_lines(self.session)[-1], "")
        self.assertTrue(self.page.find('[data-control="file-name"]').is_displayed())

    def test_the_layer_button_selects_the_layers_axes(self):
        self.start_command()
        self.click_point(0, 0, 3, 3)
        self.page.find('#layer-table tr[data-layer="AXIS"] .select-layer').click()
        self.page.wait_ready()
        self.assertEqual(script_lines(self.session)[-1], "layer AXIS")
        axes = sum(c["layer"].upper() == "AXIS" for c in self.curves)
        self.assertEqual(self.found(), (axes, axes))

    def test_esc_cancels_what_is_asked(self):
        for steps in ([], ["point"]):
            with self.subTest(after=steps):
                self.start_command()
                if steps:
                    self.click_point(0, 0, 3, 3)
                before = len(script_lines(self.session))
                self.page.find("#command-line").send_keys(support.Keys.ESCAPE)
                self.page.wait_ready()
                lines = script_lines(self.session)
                self.assertEqual(lines[before:], ["*cancel*"])
                self.assertTrue(self.page.prompt().startswith("Command"), self.page.prompt())


if __name__ == "__main__":
    unittest.main()
