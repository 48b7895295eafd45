#!/usr/bin/python3
"""morlenview on big floors that the export itself wrote.

    benchmarks/morlenview_big_floors.py [--build build] [--repeat 3] [--only NAME]...

Each case draws a grid of N vertical and N horizontal axes (1.2 m apart, or
0.5 m for the largest, which then stays within the export's 1,000 m) in
millimetres, exports it with cadhost and the module as floor 1 of a project
(and, for the "checked" cases, as floor 2 with the base point 50 mm off),
then runs morlenview on the project (PNG pictures) under /usr/bin/time -v.
It prints the segments, the size of the project's files, the wall and the
processor time (user + system) and the peak resident memory against the
files; each the quickest of --repeat runs. Everything is written to a
temporary folder, removed afterwards.

Cases:
  500k        one floor of 500 + 500 axes, 499,000 segments
  500k-checked  the same floor twice, the second 50 mm off
  5m          one floor of 1,600 + 1,600 axes, 5,116,800 segments
  5m-svg      the same as SVG: refused plainly
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

CASES = {
    "500k": (500, 1200.0, False, "png"),
    "500k-checked": (500, 1200.0, True, "png"),
    "5m": (1600, 500.0, False, "png"),
    "5m-svg": (1600, 500.0, False, "svg"),
}


def grid_dxf(path, n, bay=1200.0):
    size = bay * (n - 1)
    with open(path, "w", newline="\n") as out:
        out.write("  0\nSECTION\n  2\nENTITIES\n")
        for i in range(n):
            for x1, y1, x2, y2 in ((i * bay, 0.0, i * bay, size), (0.0, i * bay, size, i * bay)):
                out.write("  0\nLINE\n  8\nAXIS\n 10\n%.1f\n 20\n%.1f\n 11\n%.1f\n 21\n%.1f\n"
                          % (x1, y1, x2, y2))
        out.write("  0\nENDSEC\n  0\nEOF\n")


def export(build, folder, n, bay, checked):
    drawing = os.path.join(folder, "grid.dxf")
    grid_dxf(drawing, n, bay)
    script = ""
    for floor, base in ((1, "0,0"), (2, "50,0"))[: 2 if checked else 1]:
        script += ("acadtomn\n%s\nlayer AXIS\n\nproject.prj\nset 1004 %d\nclick 1005\n"
                   % (base, floor))
    with open(os.path.join(folder, "export.scr"), "w") as f:
        f.write(script)
    subprocess.run([os.path.join(build, "bin", "cadhost"), "--script", "export.scr", "grid.dxf"],
                   cwd=folder, check=True, stdout=subprocess.DEVNULL)
    os.remove(drawing)


def run_viewer(build, folder, form):
    for name in os.listdir(folder):
        if name.endswith("." + form):
            os.remove(os.path.join(folder, name))
    result = subprocess.run(["/usr/bin/time", "-v", os.path.join(build, "bin", "morlenview"),
                             "project.prj", "--format", form],
                            cwd=folder, capture_output=True, text=True)
    stats = result.stderr
    wall = re.search(r"Elapsed \(wall clock\) time \(h:mm:ss or m:ss\): (?:(\d+):)?(\d+):([\d.]+)",
                     stats)
    seconds = (int(wall.group(1) or 0) * 3600 + int(wall.group(2)) * 60 + float(wall.group(3)))
    cpu = (float(re.search(r"User time \(seconds\): ([\d.]+)", stats).group(1)) +
           float(re.search(r"System time \(seconds\): ([\d.]+)", stats).group(1)))
    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", stats).group(1)) * 1024
    said = [line for line in (result.stdout + stats).splitlines()
            if line.startswith("morlenview:") or line.startswith("Floor ")]
    return result.returncode, seconds, cpu, rss, said


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(os.path.dirname(__file__), "..", "build"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--only", action="append", choices=sorted(CASES))
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    print("%-13s %10s %9s %6s %9s %9s %8s %s" % ("case", "segments", "files", "status", "wall",
                                                 "cpu", "peak RSS", "x files"))
    for name in args.only or CASES:
        n, bay, checked, form = CASES[name]
        folder = tempfile.mkdtemp(prefix="tavrin-morlenview-")
        try:
            export(build, folder, n, bay, checked)
            files = sum(os.path.getsize(os.path.join(folder, f)) for f in os.listdir(folder)
                        if f.startswith("project."))
            best = None
            for _ in range(args.repeat):
                run = run_viewer(build, folder, form)
                if best is None or run[1] < best[1]:
                    best = run
            status, seconds, cpu, rss, said = best
            segments = 2 * n * (n - 1) * (2 if checked else 1)
            print("%-13s %10d %7.1fMB %6d %8.2fs %8.2fs %6.0fMB %7.2f" %
                  (name, segments, files / 1e6, status, seconds, cpu, rss / 1e6, rss / files))
            for line in said:
                if line.startswith("morlenview:"):
                    print("    " + line)
            sys.stdout.flush()
        finally:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
