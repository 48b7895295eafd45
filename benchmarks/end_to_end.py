#!/usr/bin/python3
"""End to end: cadhost loads a generated drawing and runs acadtomn on it.

    benchmarks/end_to_end.py [--cadhost build/bin/cadhost] [--drawing FILE]...

Drawings (written to a temporary folder, removed afterwards):
  grid-in-50mb  a 1,000-axis grid on layer AXIS inside a drawing of about
                50 MB (the rest walls and texts on other layers); selects
                layer AXIS
  full-grid     600 by 600 lines, every one crossing every line across it
                (360,000 crossings); selects all
  plan-50k      a plan of 50,000 lines and arcs (grid, walls, door swings);
                selects all
and each --drawing FILE, selected whole. For each it prints the load alone
(cadhost with an empty script), the whole run (load, command, writing), the
command's share, and the peak resident memory against the file size, read
from /usr/bin/time -v; each the quickest of --repeat runs, with the processor
time (user and system) beside the wall time.
"""
import argparse
import math
import os
import random
import re
import signal
import subprocess
import sys
import tempfile
import time

HEADER = ("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n"
          "  3\nANSI_936\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n")
FOOTER = "  0\nENDSEC\n  0\nEOF\n"


class DxfWriter:
    def __init__(self, path):
        self.out = open(path, "w", newline="\n")
        self.out.write(HEADER)
        self.handle = 0x100
        self.size = len(HEADER)

    def _write(self, text):
        self.out.write(text)
        self.size += len(text)

    def _entity(self, kind, layer, subclass):
        self.handle += 1
        return "  0\n%s\n  5\n%X\n100\nAcDbEntity\n  8\n%s\n100\n%s\n" % (
            kind, self.handle, layer, subclass)

    def line(self, layer, x1, y1, x2, y2):
        self._write(self._entity("LINE", layer, "AcDbLine") +
                    " 10\n%.3f\n 20\n%.3f\n 30\n0.0\n 11\n%.3f\n 21\n%.3f\n 31\n0.0\n"
                    % (x1, y1, x2, y2))

    def arc(self, layer, cx, cy, r, start, end):
        self._write(self._entity("ARC", layer, "AcDbCircle") +
                    " 10\n%.3f\n 20\n%.3f\n 30\n0.0\n 40\n%.3f\n100\nAcDbArc\n 50\n%.3f\n 51\n%.3f\n"
                    % (cx, cy, r, start, end))

    def text(self, layer, x, y, value):
        self._write(self._entity("TEXT", layer, "AcDbText") +
                    " 10\n%.3f\n 20\n%.3f\n 30\n0.0\n 40\n350.0\n  1\n%s\n" % (x, y, value))

    def close(self):
        self._write(FOOTER)
        self.out.close()


def grid_in_50mb(path):
    """500 + 500 axes 1.2 m apart, walls and texts up to about 50 MB."""
    d = DxfWriter(path)
    n, bay = 500, 1200.0
    size = bay * (n - 1)
    for i in range(n):
        d.line("AXIS", i * bay, -1500, i * bay, size + 1500)
    for i in range(n):
        d.line("AXIS", -1500, i * bay, size + 1500, i * bay)
    rng = random.Random(50)
    while d.size < 50_000_000:
        x, y = rng.uniform(0, size), rng.uniform(0, size)
        if rng.random() < 0.8:
            d.line("WALL", x, y, x + rng.uniform(300, 3000), y)
        else:
            d.text("TEXT", x, y, "ROOM %d" % rng.randrange(1000))
    d.close()


def full_grid(path):
    d = DxfWriter(path)
    n, step = 600, 100.0
    size = step * (n - 1)
    for i in range(n):
        d.line("AXIS", i * step, 0, i * step, size)
    for i in range(n):
        d.line("AXIS", 0, i * step, size, i * step)
    d.close()


def plan_50k(path):
    """The plan of the collection benchmark: grid, walls, door swings."""
    d = DxfWriter(path)
    count, bay = 50_000, 6000.0
    lines = int(math.sqrt(count) / 4) + 2
    size = bay * (lines - 1)
    for i in range(lines):
        d.line("AXIS", i * bay, -1500, i * bay, size + 1500)
    for i in range(lines):
        d.line("AXIS", -1500, i * bay, size + 1500, i * bay)
    rng = random.Random(count)
    for _ in range(count - 2 * lines):
        x = rng.randrange(lines - 1) * bay + rng.uniform(200, bay - 200)
        y = rng.randrange(lines - 1) * bay + rng.uniform(200, bay - 200)
        k = rng.randrange(10)
        if k == 0:
            d.arc("AXIS", x, y, 900.0, 0.0, 90.0)
        elif k <= 5:
            d.line("AXIS", x, y, x + rng.uniform(300, 3000), y)
        else:
            d.line("AXIS", x, y, x, y + rng.uniform(300, 3000))
    d.close()


class TimedOut(Exception):
    pass


def run(cadhost, drawing, script_text, folder, timeout):
    """Seconds of wall time, seconds of processor time (user and system), peak
    resident kilobytes and the transcript of one cadhost run."""
    script = os.path.join(folder, "session.scr")
    with open(script, "w") as f:
        f.write(script_text)
    command = ["/usr/bin/time", "-v", cadhost, "--script", script, drawing]
    started = time.perf_counter()
    # The host library beside the cadhost measured, whatever its build
    # recorded as its search path.
    env = dict(os.environ, LD_LIBRARY_PATH=os.path.dirname(cadhost))
    # A group of its own, so that a run given up ends cadhost too, not only
    # the timing program around it.
    process = subprocess.Popen(command, cwd=folder, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True, errors="replace", env=env,
                               start_new_session=True)
    try:
        stdout, stderr = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.communicate()
        raise TimedOut()
    result = subprocess.CompletedProcess(command, process.returncode, stdout, stderr)
    seconds = time.perf_counter() - started
    match = re.search(r"Maximum resident set size \(kbytes\): (\d+)", result.stderr)
    if result.returncode != 0 or match is None:
        sys.exit("cadhost failed on %s (status %d):\n%s%s" % (
            drawing, result.returncode, result.stdout[-2000:], result.stderr[-2000:]))
    cpu = sum(float(m) for m in re.findall(
        r"(?:User|System) time \(seconds\): ([0-9.]+)", result.stderr))
    return seconds, cpu, int(match.group(1)), result.stdout


def best_of(repeat, measure_once):
    """The quickest of `repeat` runs: on a shared machine the others only add
    waiting."""
    runs = [measure_once() for _ in range(repeat)]
    return min(runs, key=lambda r: r[0])


def measure(cadhost, name, drawing, selection, folder, timeout, repeat):
    megabytes = os.path.getsize(drawing) / 1e6
    load, load_cpu, _, _ = best_of(repeat, lambda: run(cadhost, drawing, "", folder, timeout))
    project = os.path.join(folder, name + ".prj")
    script = "acadtomn\n0,0\n%s\n\n%s\nclick 1005\n" % (selection, project)

    def once():
        for suffix in (".prj", ".inf", ".N1"):
            if os.path.exists(os.path.join(folder, name + suffix)):
                os.remove(os.path.join(folder, name + suffix))
        return run(cadhost, drawing, script, folder, timeout)

    try:
        total, cpu, rss, transcript = best_of(repeat, once)
    except TimedOut:
        print("%-14s %8.1f MB  load %6.3f s %7.1f MB/s  total over %d s" % (
            name, megabytes, load, megabytes / load, timeout))
        return
    axis_file = os.path.join(folder, name + ".N1")
    if not os.path.exists(axis_file):
        sys.exit("no axis file written for %s:\n%s" % (name, transcript[-3000:]))
    with open(axis_file, "rb") as f:
        segments = int(f.read().split(b"\r\n")[2])
    print("%-14s %6.1f MB  load %6.3f s (processor %6.3f s) %6.1f MB/s  "
          "total %7.3f s (processor %7.3f s)  command %7.3f s  %6d segments  "
          "peak RSS %6.1f MB (%.2f x file)" % (
              name, megabytes, load, load_cpu, megabytes / load, total, cpu, total - load,
              segments, rss / 1e3, rss * 1e3 / (megabytes * 1e6)))
    sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cadhost", default="build/bin/cadhost")
    parser.add_argument("--drawing", action="append", default=[],
                        help="a further drawing, selected whole (may repeat)")
    parser.add_argument("--only", help="run only the generated drawing of this name")
    parser.add_argument("--timeout", type=int, default=600,
                        help="seconds before a run is given up (default 600)")
    parser.add_argument("--repeat", type=int, default=3,
                        help="runs of each measurement; the quickest counts (default 3)")
    args = parser.parse_args()
    cadhost = os.path.abspath(args.cadhost)
    with tempfile.TemporaryDirectory(prefix="tavrin-end-to-end-") as folder:
        generated = [("grid-in-50mb", grid_in_50mb, "layer AXIS"),
                     ("full-grid", full_grid, "all"),
                     ("plan-50k", plan_50k, "all")]
        for name, make, selection in generated:
            if args.only and args.only != name:
                continue
            drawing = os.path.join(folder, name + ".dxf")
            make(drawing)
            # The drawing just written would otherwise go to disk during the
            # runs, and every run's own writing waits behind it.
            os.sync()
            measure(cadhost, name, drawing, selection, folder, args.timeout, args.repeat)
            os.remove(drawing)
        for i, drawing in enumerate(args.drawing):
            measure(cadhost, "drawing-%d" % (i + 1), os.path.abspath(drawing), "all", folder,
                    args.timeout, args.repeat)


if __name__ == "__main__":
    main()
