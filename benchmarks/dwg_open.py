#!/usr/bin/python3
"""Opening DWG drawings: cadhost against the DWG importer alone plus the DXF load.

    benchmarks/dwg_open.py [--cadhost build/bin/cadhost] [--corpus ../shared/real-dwg]
                           [--repeat N] [--limit N] [FILE.dwg]...

For each drawing (the R13 to 2018 files of the corpus, or the files named)
it times, each the quickest of --repeat runs, wall time with the processor
time (user + system of the children) beside it:
  open     cadhost with an empty script: recognition, importer, DXF load
  reader   the importer alone (node dwg-import.mjs DRAWING OUT.dxf)
  load     cadhost on the DXF the importer wrote
and prints per drawing and in total, the largest file on its own line at the
end. "open - (reader + load)" is what cadhost adds (starting the importer,
the temporary folder); it should be near zero.
"""
import argparse
import os
import resource
import subprocess
import sys
import tempfile
import time

OPENS = ("AC1012", "AC1014", "AC1015", "AC1018", "AC1021", "AC1024", "AC1027", "AC1032")


def timed(command, repeat):
    """The quickest (wall, cpu) seconds of `repeat` runs; None when it fails."""
    best = None
    for _ in range(repeat):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.monotonic()
        run = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall = time.monotonic() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
        if run.returncode != 0:
            return None
        if best is None or wall < best[0]:
            best = (wall, cpu)
    return best


def drawings(args):
    if args.files:
        return args.files
    folder = os.path.join(args.corpus, "files")
    found = []
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        with open(path, "rb") as f:
            if f.read(6).decode("latin1") in OPENS:
                found.append(path)
    return found[: args.limit] if args.limit else found


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cadhost", default=os.path.join(here, "..", "build", "bin", "cadhost"))
    parser.add_argument("--corpus", default=os.path.join(here, "..", "..", "shared", "real-dwg"))
    parser.add_argument("--repeat", type=int, default=1)
    parser.add_argument("--limit", type=int, default=0)
    parser.add_argument("files", nargs="*")
    args = parser.parse_args()
    importer = os.path.join(os.path.dirname(os.path.abspath(args.cadhost)), "dwg-import",
                            "dwg-import.mjs")
    totals = {"open": [0.0, 0.0], "reader": [0.0, 0.0], "load": [0.0, 0.0]}
    failed = []
    rows = []
    with tempfile.TemporaryDirectory() as work:
        script = os.path.join(work, "empty.scr")
        open(script, "w").close()
        dxf = os.path.join(work, "drawing.dxf")
        for path in drawings(args):
            host = [args.cadhost, "--no-default-module", "--script", script]
            opened = timed(host + [path], args.repeat)
            reader = timed(["node", importer, path, dxf], args.repeat)
            load = timed(host + [dxf], args.repeat) if reader else None
            if not (opened and reader and load):
                failed.append(os.path.basename(path))
                continue
            size = os.path.getsize(path)
            rows.append((size, os.path.basename(path), opened, reader, load))
            for key, value in (("open", opened), ("reader", reader), ("load", load)):
                totals[key][0] += value[0]
                totals[key][1] += value[1]
            print("%8.2f MB  open %6.2f s (%5.2f)  reader %6.2f s (%5.2f)  load %5.2f s (%5.2f)  %s"
                  % (size / 1e6, opened[0], opened[1], reader[0], reader[1], load[0], load[1],
                     os.path.basename(path)), flush=True)
    print("\n%d drawings opened, %d not: %s" % (len(rows), len(failed), ", ".join(failed) or "-"))
    for key in ("open", "reader", "load"):
        print("  %-6s %8.1f s wall, %7.1f s processor" % (key, totals[key][0], totals[key][1]))
    print("  cadhost's own share: %.1f s wall, %.1f s processor" % (
        totals["open"][0] - totals["reader"][0] - totals["load"][0],
        totals["open"][1] - totals["reader"][1] - totals["load"][1]))
    if rows:
        size, name, opened, reader, load = max(rows)
        print("largest: %s (%.2f MB): open %.2f s (%.2f), reader %.2f s (%.2f), load %.2f s (%.2f)"
              % (name, size / 1e6, opened[0], opened[1], reader[0], reader[1], load[0], load[1]))
    return 0 if not failed else 1


if __name__ == "__main__":
    sys.exit(main())
