"""What the browser tests share: cadhost --web in a folder of its own, a
headless Chromium driven by Selenium, the session's API over http.client,
and the plan example's geometry read from its DXF.

The tests skip with a message when the browser or Selenium is missing, except
in CI (CI=true), where that fails them. CTest passes where things are through
the environment: TAVRIN_CADHOST, TAVRIN_EXAMPLES, TAVRIN_SHARED, TAVRIN_OUTPUT.
"""
import http.client
import json
import math
import os
import queue
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import unittest
import urllib.parse

CADHOST = os.environ.get("TAVRIN_CADHOST", "cadhost")
EXAMPLES = os.environ.get("TAVRIN_EXAMPLES", "examples")
SHARED = os.environ.get("TAVRIN_SHARED", "")
OUTPUT = os.environ.get("TAVRIN_OUTPUT", tempfile.gettempdir())
CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
ADDRESS = re.compile(r"^http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]+)\s*$")

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.wheel_input import ScrollOrigin
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.select import Select
    SELENIUM = None
except ImportError as error:  # reported by browser_missing()
    SELENIUM = str(error)


def browser_missing():
    """Why the browser tests cannot run here, or None."""
    if SELENIUM:
        return f"python3-selenium is missing ({SELENIUM})"
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.access(program, os.X_OK):
            return f"{program} is missing (Debian: chromium, chromium-driver)"
    return None


def require_browser():
    """Skips the test class when there is no browser, or fails in CI."""
    reason = browser_missing()
    if reason is None:
        return
    if os.environ.get("CI") == "true":
        raise RuntimeError(f"browser tests cannot run in CI: {reason}")
    raise unittest.SkipTest(reason)


class WebSession:
    """cadhost --web on `drawing`, run in `folder` (the files land there)."""

    def __init__(self, drawing, folder, startup_seconds=120):
        self.folder = folder
        self.process = subprocess.Popen(
            [CADHOST, "--web", drawing], cwd=folder, stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, encoding="utf-8",
            errors="replace")
        self.output = []
        self.lines = queue.Queue()
        threading.Thread(target=self._drain, daemon=True).start()
        deadline = time.monotonic() + startup_seconds
        while True:
            try:
                line = self.lines.get(timeout=max(0.1, deadline - time.monotonic()))
            except queue.Empty:
                line = None
            if line is None or time.monotonic() > deadline:
                self.stop()
                raise AssertionError("cadhost --web printed no address:\n" + "".join(self.output))
            match = ADDRESS.match(line)
            if match:
                self.port = int(match.group(1))
                self.token = match.group(2)
                self.url = line.strip()
                return

    def _drain(self):
        for line in self.process.stdout:
            self.output.append(line)
            self.lines.put(line)
        self.lines.put(None)

    def request(self, method, path, body=None, host=None, token=True, headers=None):
        """(status, headers, body bytes) of one request; `token` False sends none."""
        if token:
            path += ("&" if "?" in path else "?") + "token=" + self.token
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=30)
        try:
            connection.putrequest(method, path, skip_host=True)
            connection.putheader("Host", host or f"127.0.0.1:{self.port}")
            for name, value in (headers or {}).items():
                connection.putheader(name, value)
            data = None if body is None else body.encode("utf-8")
            if data is not None:
                connection.putheader("Content-Type", "application/json")
                connection.putheader("Content-Length", str(len(data)))
            connection.endheaders(data)
            response = connection.getresponse()
            return response.status, dict(response.getheaders()), response.read()
        finally:
            connection.close()

    def get_json(self, path):
        status, _, body = self.request("GET", path)
        if status != 200:
            raise AssertionError(f"GET {path}: HTTP {status}")
        return json.loads(body)

    def snap(self, x, y, r):
        query = urllib.parse.urlencode({"x": repr(x), "y": repr(y), "r": repr(r)})
        return self.get_json(f"/api/snap?{query}")["snap"]

    def script(self):
        status, _, body = self.request("GET", "/api/script")
        if status != 200:
            raise AssertionError(f"GET /api/script: HTTP {status}")
        return body.decode("utf-8")

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return self.process.returncode


class Page:
    """One headless Chromium on the session's page."""

    def __init__(self, width=1400, height=900):
        options = Options()
        options.binary_location = CHROMIUM
        for argument in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage",
                         f"--window-size={width},{height}", "--enable-unsafe-swiftshader",
                         "--use-angle=swiftshader", "--hide-scrollbars", "--lang=zh-CN"):
            options.add_argument(argument)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(options=options, service=Service(CHROMEDRIVER))
        self.driver.set_script_timeout(60)

    def open(self, session, wait=True):
        self.driver.get(session.url)
        if wait:
            self.wait_ready()

    def quit(self):
        self.driver.quit()

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def wait_until(self, condition, what, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.03)
        raise AssertionError(f"timed out waiting for {what}; transcript ends:\n"
                             + self.transcript()[-1500:] + "\nconsole:\n" + self.console())

    def wait_ready(self, timeout=20):
        self.wait_until(lambda: self.js("return !!(window.tavrin && window.tavrin.ready())"),
                        "the page to be ready", timeout)

    def console(self):
        try:
            return "\n".join(entry["message"] for entry in self.driver.get_log("browser"))
        except Exception:  # the log is a help for failures only
            return ""

    def find(self, css):
        return self.driver.find_element(By.CSS_SELECTOR, css)

    def find_all(self, css):
        return self.driver.find_elements(By.CSS_SELECTOR, css)

    def transcript(self):
        return self.js("return document.getElementById('transcript').textContent")

    def prompt(self):
        return self.js("return document.getElementById('prompt').textContent")

    def screen(self, x, y):
        point = self.js("return window.tavrin.worldToScreen(arguments[0], arguments[1])", x, y)
        return point["x"], point["y"]

    def command(self, line):
        """Types `line` into the command line and presses Enter."""
        field = self.find("#command-line")
        field.send_keys(line, Keys.ENTER)
        self.wait_ready()

    def _offset(self, sx, sy):
        """Selenium moves relative to an element's centre: the view's."""
        view = self.find("#view")
        rect = self.js("const r = arguments[0].getBoundingClientRect();"
                       "return [r.left, r.top, r.width, r.height]", view)
        return view, round(sx - rect[0] - rect[2] / 2), round(sy - rect[1] - rect[3] / 2)

    def move_to(self, sx, sy):
        view, dx, dy = self._offset(sx, sy)
        ActionChains(self.driver).move_to_element_with_offset(view, dx, dy).perform()

    def click_at(self, sx, sy, shift=False, button="left"):
        view, dx, dy = self._offset(sx, sy)
        chain = ActionChains(self.driver).move_to_element_with_offset(view, dx, dy)
        if shift:
            chain = chain.key_down(Keys.SHIFT)
        chain = chain.context_click() if button == "right" else chain.click()
        if shift:
            chain = chain.key_up(Keys.SHIFT)
        chain.perform()

    def drag(self, start, end, steps=5):
        view, x0, y0 = self._offset(*start)
        _, x1, y1 = self._offset(*end)
        chain = ActionChains(self.driver).move_to_element_with_offset(view, x0, y0).click_and_hold()
        for k in range(1, steps + 1):
            chain = chain.move_to_element_with_offset(
                view, x0 + (x1 - x0) * k // steps, y0 + (y1 - y0) * k // steps)
        chain.release().perform()

    def screenshot(self, path):
        self.driver.save_screenshot(path)
        return path


def read_dxf_curves(path):
    """The LINE and ARC entities of an ASCII DXF: dicts with type, layer and
    geometry (arc angles in radians), enough to work out what a selection
    must find."""
    with open(path, encoding="utf-8", errors="replace") as stream:
        lines = stream.read().splitlines()
    pairs = [(lines[i].strip(), lines[i + 1].strip()) for i in range(0, len(lines) - 1, 2)]
    curves, current, in_entities = [], None, False
    for code, value in pairs:
        if code == "2" and value == "ENTITIES":
            in_entities = True
            continue
        if not in_entities:
            continue
        if code == "0":
            if current and current["type"] in ("LINE", "ARC"):
                curves.append(current)
            if value == "ENDSEC":
                break
            current = {"type": value}
        elif current is not None and code not in current:
            current[code] = value
    result = []
    for c in curves:
        item = {"type": c["type"], "layer": c.get("8", "0"), "handle": c.get("5")}
        if c["type"] == "LINE":
            item["points"] = [(float(c["10"]), float(c["20"])), (float(c["11"]), float(c["21"]))]
        else:
            item["centre"] = (float(c["10"]), float(c["20"]))
            item["radius"] = float(c["40"])
            item["angles"] = (math.radians(float(c["50"])), math.radians(float(c["51"])))
        result.append(item)
    return result


def curve_points(curve, per_arc=2000):
    """The points that decide inside/crossing: a line's ends, an arc densely."""
    if curve["type"] == "LINE":
        return curve["points"]
    (cx, cy), r = curve["centre"], curve["radius"]
    start, end = curve["angles"]
    sweep = (end - start) % (2 * math.pi) or 2 * math.pi
    return [(cx + r * math.cos(start + sweep * k / per_arc), cy + r * math.sin(start + sweep * k / per_arc))
            for k in range(per_arc + 1)]


def in_box(point, box):
    (x, y), (x0, y0, x1, y1) = point, box
    return x0 <= x <= x1 and y0 <= y <= y1


def segment_touches_box(a, b, box):
    """Liang-Barsky clipping of segment a-b against box (x0, y0, x1, y1)."""
    t0, t1 = 0.0, 1.0
    dx, dy = b[0] - a[0], b[1] - a[1]
    for p, q in ((-dx, a[0] - box[0]), (dx, box[2] - a[0]), (-dy, a[1] - box[1]), (dy, box[3] - a[1])):
        if p == 0:
            if q < 0:
                return False
            continue
        t = q / p
        if p < 0:
            t0 = max(t0, t)
        else:
            t1 = min(t1, t)
        if t0 > t1:
            return False
    return True


def selected_by(curves, box, crossing):
    """How many curves a window (all inside) or crossing (any part inside)
    over `box` finds."""
    count = 0
    for curve in curves:
        points = curve_points(curve)
        if crossing:
            hit = any(segment_touches_box(points[k], points[k + 1], box) for k in range(len(points) - 1))
        else:
            hit = all(in_box(p, box) for p in points)
        count += hit
    return count


def temp_folder(test, prefix):
    folder = tempfile.mkdtemp(prefix=prefix)
    test.addCleanup(shutil.rmtree, folder, ignore_errors=True)
    return folder


def temp_folder_for_class(cls, prefix):
    folder = tempfile.mkdtemp(prefix=prefix)
    cls.addClassCleanup(shutil.rmtree, folder, ignore_errors=True)
    return folder
