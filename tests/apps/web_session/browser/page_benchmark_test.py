"""Figures, not timed assertions: how long the 11,450-entity plan of the
drawing corpus takes from the page load to its first drawn frame, and the
frames per second while panning a 500,000-segment drawing made here. Prints
them (benchmarks/README.md keeps them). The corpus plan is skipped when the
corpus is absent."""
import glob
import os
import random
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
import web_session_support as support  # noqa: E402

SEGMENTS = 500_000
PAN_SECONDS = 4.0

# Waits until frames come quickly again (the first drawing done), then pans
# by pointer drags on the view, one step a frame, for `seconds`; answers the
# frames drawn and the time taken.
PAN = """
const [seconds, done] = arguments;
const idle = (then, last = performance.now(), quick = 0) => requestAnimationFrame(() => {
  const now = performance.now();
  quick = now - last < 50 ? quick + 1 : 0;
  if (quick >= 5) then(); else idle(then, now, quick);
});
const view = document.getElementById('view');
const r = view.getBoundingClientRect();
const at = (x, y, type, buttons) => view.dispatchEvent(new PointerEvent(type, {
  clientX: r.left + x, clientY: r.top + y, button: 0, buttons, pointerId: 1, bubbles: true}));
let x = r.width / 2, y = r.height / 2, step = 0, first = 0, start = 0;
const tick = () => {
  const now = performance.now();
  if (now - start >= seconds * 1000) {
    at(x, y, 'pointerup', 0);
    done({frames: window.tavrin.framesDrawn() - first, ms: now - start});
    return;
  }
  ++step;
  x += 6 * Math.cos(step / 20);
  y += 6 * Math.sin(step / 20);
  at(x, y, 'pointermove', 1);
  requestAnimationFrame(tick);
};
idle(() => {
  at(x, y, 'pointerdown', 1);
  first = window.tavrin.framesDrawn();
  start = performance.now();
  requestAnimationFrame(tick);
});
"""


def write_segments(path, count, seed=21):
    """A DXF of `count` LINEs on four layers, scattered short strokes over a
    200 m square in millimetres, as dense as a big plan."""
    rng = random.Random(seed)
    with open(path, "w", encoding="ascii") as out:
        out.write("0\nSECTION\n2\nENTITIES\n")
        for k in range(count):
            x, y = rng.uniform(0, 200000), rng.uniform(0, 200000)
            dx, dy = rng.uniform(-800, 800), rng.uniform(-800, 800)
            out.write(f"0\nLINE\n5\n{k + 0x100:X}\n8\nL{k % 4}\n10\n{x:.3f}\n20\n{y:.3f}\n30\n0\n"
                      f"11\n{x + dx:.3f}\n21\n{y + dy:.3f}\n31\n0\n")
        out.write("0\nENDSEC\n0\nEOF\n")


class BenchmarkTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        support.require_browser()

    def load(self, drawing, folder):
        session = support.WebSession(drawing, folder, startup_seconds=300)
        self.addCleanup(session.stop)
        page = support.Page(1400, 900)
        self.addCleanup(page.quit)
        started = time.monotonic()
        page.open(session, wait=False)
        page.wait_until(lambda: page.js("return window.tavrin && window.tavrin.firstFrameMs"),
                        "the first frame", timeout=120)
        wall = time.monotonic() - started
        first = page.js("return window.tavrin.firstFrameMs")
        return session, page, first, wall

    def test_load_of_the_corpus_plan(self):
        found = sorted(glob.glob(os.path.join(support.SHARED, "real-dxf", "**", "*2_HG2_Seite*.dxf"),
                                 recursive=True))
        if not found:
            self.skipTest("the drawing corpus (shared/real-dxf) with the 2_HG2_Seite plan is absent")
        folder = support.temp_folder(self, "tavrin-bench-plan-")
        session, page, first, wall = self.load(found[0], folder)
        entities = len(session.get_json("/api/handles")["handles"])
        print(f"\n[benchmark] {os.path.basename(found[0])}: {entities} lines and arcs; "
              f"first frame {first:.0f} ms after the page's start "
              f"({wall * 1000:.0f} ms from the request)", flush=True)
        page.screenshot(os.path.join(support.OUTPUT, "benchmark-plan.png"))
        self.assertGreater(entities, 0)

    def test_panning_half_a_million_segments(self):
        folder = support.temp_folder(self, "tavrin-bench-pan-")
        drawing = os.path.join(folder, "segments.dxf")
        write_segments(drawing, SEGMENTS)
        session, page, first, wall = self.load(drawing, folder)
        page.driver.set_script_timeout(PAN_SECONDS + 60)
        result = page.driver.execute_async_script(PAN, PAN_SECONDS)
        fps = result["frames"] / (result["ms"] / 1000)
        print(f"\n[benchmark] {SEGMENTS} segments: first frame {first:.0f} ms after the page's start; "
              f"panning {fps:.1f} frames/s ({result['frames']} frames in {result['ms']:.0f} ms)",
              flush=True)
        page.screenshot(os.path.join(support.OUTPUT, "benchmark-segments.png"))
        self.assertGreater(result["frames"], 0)


if __name__ == "__main__":
    unittest.main()
