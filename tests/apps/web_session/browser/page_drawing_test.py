"""The drawing on the page: drawn where it is, in its layer's colour; layers
hide; the wheel zooms about the cursor, a drag pans, zoom extents restores;
the cursor's coordinates are shown."""
import io
import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import web_session_support as support  # noqa: E402


def pixels(page):
    from PIL import Image
    return Image.open(io.BytesIO(page.driver.get_screenshot_as_png())).convert("RGB")


def nearest_colour(image, sx, sy, colour, reach=2):
    """The smallest distance of a pixel within `reach` of (sx, sy) to `colour`."""
    best = None
    for dx in range(-reach, reach + 1):
        for dy in range(-reach, reach + 1):
            pixel = image.getpixel((round(sx) + dx, round(sy) + dy))
            distance = sum((a - b) ** 2 for a, b in zip(pixel, colour)) ** 0.5
            best = distance if best is None else min(best, distance)
    return best


class DrawingTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        support.require_browser()
        cls.folder = support.temp_folder_for_class(cls, "tavrin-page-drawing-")
        drawing = os.path.join(cls.folder, "plan.dxf")
        shutil.copy(os.path.join(support.EXAMPLES, "plan", "plan.dxf"), drawing)
        cls.session = support.WebSession(drawing, cls.folder)
        cls.page = support.Page()
        cls.page.open(cls.session)
        cls.curves = support.read_dxf_curves(drawing)

    @classmethod
    def tearDownClass(cls):
        cls.page.quit()
        cls.session.stop()

    def setUp(self):
        self.page.find("#zoom-extents").click()
        self.page.js("document.querySelectorAll('#layer-table input:not(:checked)')"
                     ".forEach((box) => box.click())")

    def layer_colour(self, name):
        """The layer's colour as the session gave it, from the panel's swatch."""
        text = self.page.js("return getComputedStyle(document.querySelector("
                            "`#layer-table tr[data-layer='${arguments[0]}'] .swatch`)).backgroundColor",
                            name)
        return [int(v) for v in text[text.index("(") + 1:text.index(")")].split(",")]

    def test_lines_and_arcs_are_drawn_in_their_layer_colour_and_hide_with_it(self):
        colour = self.layer_colour("AXIS")
        corner = self.page.js("const r = document.getElementById('view').getBoundingClientRect();"
                              "return [r.left + 3, r.top + 3]")
        background = pixels(self.page).getpixel((round(corner[0]), round(corner[1])))
        # A point on every line and arc of the layer, and one in an empty bay.
        marks = []
        for curve in self.curves:
            if curve["layer"].upper() != "AXIS":
                continue
            if curve["type"] == "LINE":
                (x0, y0), (x1, y1) = curve["points"]
                marks.append(((x0 + x1) / 2, (y0 + y1) / 2))
            else:
                points = support.curve_points(curve, 4)
                marks.append(points[2])
        self.assertGreater(len(marks), 10)
        image = pixels(self.page)
        for x, y in marks:
            sx, sy = self.page.screen(x, y)
            self.assertLess(nearest_colour(image, sx, sy, colour), 60, f"no AXIS colour at {x},{y}")
        bay = self.page.screen(3000, 3000)
        self.assertLess(nearest_colour(image, *bay, background, reach=0), 10, "the empty bay is drawn")

        self.page.find(f'#layer-table tr[data-layer="AXIS"] input[type=checkbox]').click()
        hidden = pixels(self.page)
        for x, y in marks:
            sx, sy = self.page.screen(x, y)
            self.assertGreater(nearest_colour(hidden, sx, sy, colour, reach=0), 60,
                               f"hidden AXIS still drawn at {x},{y}")

    def test_the_layer_panel_counts_lines_and_arcs(self):
        rows = {row.get_attribute("data-layer"): row.text.split()
                for row in self.page.find_all("#layer-table tbody tr")}
        for name in {c["layer"] for c in self.curves}:
            lines = sum(c["layer"] == name and c["type"] == "LINE" for c in self.curves)
            arcs = sum(c["layer"] == name and c["type"] == "ARC" for c in self.curves)
            row = next(v for k, v in rows.items() if k.upper() == name.upper())
            self.assertEqual(row[-3:-1], [str(lines), str(arcs)], name)

    def test_wheel_zooms_about_the_cursor_drag_pans_and_zoom_extents_restores(self):
        start = {p: self.page.screen(*p) for p in [(6000, 6000), (0, 0), (24000, 18000)]}
        anchor = start[(6000, 6000)]
        self.page.move_to(*anchor)
        view = self.page.find("#view")
        offset = support.ActionChains(self.page.driver)
        offset.scroll_from_origin(
            support.ScrollOrigin.from_element(view, *self.page._offset(*anchor)[1:]), 0, -300).perform()
        self.page.wait_until(lambda: self.page.screen(0, 0) != start[(0, 0)], "the wheel to zoom")
        after = self.page.screen(6000, 6000)
        self.assertAlmostEqual(after[0], anchor[0], delta=1.5)
        self.assertAlmostEqual(after[1], anchor[1], delta=1.5)
        before_span = start[(24000, 18000)][0] - start[(0, 0)][0]
        span = self.page.screen(24000, 18000)[0] - self.page.screen(0, 0)[0]
        self.assertGreater(span, before_span * 1.2, "wheel up zooms in")

        here = self.page.screen(12000, 6000)
        self.page.drag((here[0], here[1]), (here[0] + 80, here[1] - 50))
        moved = self.page.screen(12000, 6000)
        self.assertAlmostEqual(moved[0] - here[0], 80, delta=2)
        self.assertAlmostEqual(moved[1] - here[1], -50, delta=2)

        self.page.find("#zoom-extents").click()
        self.page.wait_until(lambda: self.page.screen(0, 0) == start[(0, 0)], "zoom extents")
        self.assertEqual(self.page.screen(24000, 18000), start[(24000, 18000)])

    def test_a_second_tab_is_told_the_session_is_in_use(self):
        driver = self.page.driver
        first = driver.current_window_handle
        driver.switch_to.new_window("tab")
        try:
            driver.get(self.session.url)
            text = self.page.wait_until(
                lambda: driver.execute_script("const e = document.getElementById('in-use');"
                                              "return e && e.textContent"), "the in-use note")
            self.assertEqual(text, "This session is in use in another tab.")
            self.assertFalse(driver.find_elements(support.By.ID, "command-line"))
        finally:
            driver.close()
            driver.switch_to.window(first)
        self.page.command("drawing")
        self.assertIn("extents", self.page.transcript())

    def test_the_cursor_coordinates_are_shown(self):
        for x, y in [(12000, 6000), (-1000, 19000), (30000, 0)]:
            sx, sy = self.page.screen(x, y)
            self.page.move_to(sx, sy)
            text = self.page.wait_until(
                lambda: self.page.js("return document.getElementById('cursor').textContent"),
                "cursor coordinates")
            shown = [float(v) for v in text.split(",")]
            per_pixel = 1 / self.page.js(
                "const a = window.tavrin.worldToScreen(0, 0), b = window.tavrin.worldToScreen(1000, 0);"
                "return (b.x - a.x) / 1000")
            self.assertAlmostEqual(shown[0], x, delta=per_pixel * 1.5)
            self.assertAlmostEqual(shown[1], y, delta=per_pixel * 1.5)


if __name__ == "__main__":
    unittest.main()
