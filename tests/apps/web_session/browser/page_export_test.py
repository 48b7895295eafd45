"""The whole export on the page, as a user clicks it: base point by snap, the
layer's axes, the file dialog, the export dialog as a form (its keyboard
rules included), Save, the overwrite question; then the floor's picture and
report beside the drawing, files equal to the example's expected ones, and
the session saved as a script that replays to byte-identical files. Takes
the README's screenshot mid-export (TAVRIN_UPDATE_DOCS=1 copies it to docs/)."""
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import web_session_support as support  # noqa: E402

FILES = ["plan.prj", "plan.inf", "plan.N2"]


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


class ExportTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        support.require_browser()
        cls.folder = support.temp_folder_for_class(cls, "tavrin-page-export-")
        cls.drawing = os.path.join(cls.folder, "plan.dxf")
        shutil.copy(os.path.join(support.EXAMPLES, "plan", "plan.dxf"), cls.drawing)
        cls.session = support.WebSession(cls.drawing, cls.folder)
        cls.page = support.Page()
        cls.page.open(cls.session)

    @classmethod
    def tearDownClass(cls):
        cls.page.quit()
        cls.session.stop()

    def control(self, control_id):
        return self.page.find(f'[data-control="{control_id}"]')

    def focused_control(self):
        return self.page.js("const f = document.querySelector('.dialog-control.focused');"
                            "return f ? f.dataset.control : null")

    def press(self, *keys):
        support.ActionChains(self.page.driver).send_keys(*keys).perform()
        self.page.wait_ready()

    def open_dialog(self, project):
        page = self.page
        page.command("acadtomn")
        sx, sy = page.screen(0, 0)
        page.move_to(sx + 4, sy - 4)
        page.click_at(sx + 4, sy - 4)
        page.wait_ready()
        page.find('#layer-table tr[data-layer="AXIS"] .select-layer').click()
        page.wait_ready()
        page.command("")
        page.find('[data-control="file-name"]').send_keys(project)
        page.find('[data-control="file-ok"]').click()
        page.wait_ready()

    def export_floor_2(self, screenshot=None):
        page = self.page
        self.open_dialog("plan.prj")

        # The floor field takes digits only; Enter moves on to the unit list.
        self.control(1004).click()
        page.wait_ready()
        self.assertEqual(self.focused_control(), "1004")
        self.press(support.Keys.BACKSPACE)
        self.press("a")
        self.press("-")
        self.assertEqual(self.control(1004).get_attribute("value"), "")
        self.press("2")
        self.assertEqual(self.control(1004).get_attribute("value"), "2")
        self.press(support.Keys.ENTER)
        self.assertEqual(self.focused_control(), "1010")
        self.assertTrue(self.page.find_all(".host-dialog"), "Enter in the floor field keeps it open")
        unit = support.Select(self.control(1010))
        unit.select_by_index(2)
        page.wait_ready()
        self.assertEqual(self.control(1010).get_attribute("value"), "厘米")
        unit.select_by_index(3)
        page.wait_ready()
        self.assertEqual(self.control(1000).get_attribute("readonly"), "true")
        self.assertTrue(self.control(1000).get_attribute("value").endswith("plan.prj"))
        if screenshot:
            page.screenshot(screenshot)
        self.control(1005).click()
        page.wait_ready()

    def test_the_up_down_arrows_and_exit(self):
        self.open_dialog("arrows.prj")
        floor = self.control(1004)
        # The up-down has no range: its lower arrow raises the floor, the upper
        # one lowers it, never below 1.
        for part, want in [("down", "2"), ("down", "3"), ("up", "2"), ("up", "1"), ("up", "1")]:
            self.page.find(f'[data-control="1013"] [data-part="{part}"]').click()
            self.page.wait_ready()
            self.assertEqual(floor.get_attribute("value"), want, part)
        self.control(1006).click()
        self.page.wait_ready()
        self.assertFalse(self.page.find_all(".host-dialog"))
        self.assertTrue(self.page.prompt().startswith("Command"))
        written = sorted(name for name in os.listdir(self.folder) if name.startswith("arrows."))
        self.assertEqual(written, [], "Exit leaves the folder as it was")

    def test_export_by_the_page_equals_its_script_run(self):
        shot = os.path.join(support.OUTPUT, "web-session.png")
        self.export_floor_2(screenshot=shot)
        page = self.page
        self.assertTrue(page.find("#result").is_displayed())
        page.wait_until(lambda: page.js(
            "const i = document.getElementById('floor-picture'); return i.complete && i.naturalWidth > 0"),
            "the floor's picture")
        self.assertTrue(page.find("#alignment-report").text.strip())
        page.driver.save_screenshot(os.path.join(support.OUTPUT, "web-session-saved.png"))
        expected = os.path.join(support.EXAMPLES, "plan", "expected")
        for name in FILES:
            self.assertEqual(read(os.path.join(self.folder, name)), read(os.path.join(expected, name)), name)

        # Floor 2 again: the overwrite question, answered on its button.
        self.export_floor_2()
        self.assertTrue(page.find('[data-button="No"]').is_displayed())
        # Enter would press the focused button: the safe answer.
        self.assertEqual(page.js("return document.activeElement.dataset.button"), "No")
        page.find('[data-button="Yes"]').click()
        page.wait_ready()
        self.assertFalse(page.find_all(".message-box"))
        self.assertEqual(page.find("#save-script").get_attribute("href").split("/")[-1],
                         "script")

        # The session as a script, replayed by cadhost --script elsewhere.
        script = self.session.script()
        replay = support.temp_folder(self, "tavrin-page-replay-")
        shutil.copy(self.drawing, os.path.join(replay, "plan.dxf"))
        with open(os.path.join(replay, "session.scr"), "w", encoding="utf-8") as stream:
            stream.write(script)
        run = subprocess.run([support.CADHOST, "--script", "session.scr", "plan.dxf"], cwd=replay,
                             stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        for name in FILES:
            self.assertEqual(read(os.path.join(replay, name)), read(os.path.join(self.folder, name)), name)
        lines = script.splitlines()
        for line in ["acadtomn", "0,0", "layer AXIS", "", "plan.prj", "yes"]:
            self.assertIn(line, lines)
        if os.environ.get("TAVRIN_UPDATE_DOCS") == "1":
            docs = os.path.join(os.path.dirname(__file__), "..", "..", "..", "..", "docs")
            shutil.copy(shot, os.path.join(docs, "web-session.png"))


if __name__ == "__main__":
    unittest.main()
