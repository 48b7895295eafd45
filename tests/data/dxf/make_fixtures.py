#!/usr/bin/env python3
"""Writes the small DXF drawings the host's tests load.

Needs Debian's python3-ezdxf; the tests themselves only read the files written
here, so run this again only to change them:  python3 make_fixtures.py
"""
import os
import random

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
CHINESE_LAYER = "\u8f74\u7ebf"  # "axis lines"
CHINESE_TEXT = "\u6807\u51c6\u5c42"  # "standard floor"


def path(name):
    return os.path.join(HERE, name)


def common_content(doc, with_unsupported=True):
    """Model-space entities shared by the version fixtures, in this order:
    LINE, ARC, CIRCLE, POINT, TEXT, INSERT; then paper-space and block
    entities that must be left out."""
    doc.layers.add("AXIS")
    block = doc.blocks.new(name="MARK")
    block.add_line((0, 0), (1, 1), dxfattribs={"layer": "AXIS"})
    msp = doc.modelspace()
    msp.add_line((0, 0, 0), (10000, 0, 0), dxfattribs={"layer": "AXIS"})
    msp.add_arc((5000, 0), 3000, 30, 150, dxfattribs={"layer": "AXIS"})
    msp.add_circle((1, 2), 0.5, dxfattribs={"layer": "0"})
    msp.add_point((7, 8, 9))
    msp.add_text("hello world", dxfattribs={"insert": (1, 1)})
    msp.add_blockref("MARK", (20, 30))
    # Left out of the model: paper space.
    doc.layout("Layout1").add_line((0, 0), (1, 0), dxfattribs={"layer": "PAPER"})
    return msp


def version_fixtures():
    for version, name in (("R12", "r12.dxf"), ("R2000", "r2000.dxf"), ("R2010", "r2010.dxf")):
        doc = ezdxf.new(version)
        common_content(doc)
        msp = doc.modelspace()
        # A 2D polyline with its VERTEX records (POLYLINE in every version).
        msp.add_polyline2d([(0, 0), (4, 0), (4, 3)], dxfattribs={"closed": True})
        if version != "R12":
            msp.add_lwpolyline([(0, 0), (1, 0), (1, 1)], dxfattribs={"layer": "AXIS"})
            msp.add_mtext("multi line text", dxfattribs={"insert": (2, 2)})
            hatch = msp.add_hatch()
            hatch.paths.add_polyline_path([(0, 0), (1, 0), (1, 1)])
        doc.saveas(path(name))


def mirrored_arc():
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    # Drawn with the view from below: extrusion (0, 0, -1).
    msp.add_arc((10, 5), 3, 30, 120, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((10, 5), 3, 300, 20, dxfattribs={"extrusion": (0, 0, -1)})
    # Not parallel to XY: kept with a warning.
    msp.add_arc((0, 0), 2, 0, 90, dxfattribs={"extrusion": (1, 0, 0)})
    doc.saveas(path("mirrored_arc.dxf"))


def chinese_layers():
    # Before R2007: bytes in the code page named by $DWGCODEPAGE.
    doc = ezdxf.new("R2000")
    doc.encoding = "gbk"  # written as $DWGCODEPAGE ANSI_936
    doc.layers.add(CHINESE_LAYER)
    msp = doc.modelspace()
    msp.add_line((0, 0), (1, 0), dxfattribs={"layer": CHINESE_LAYER})
    msp.add_text(CHINESE_TEXT, dxfattribs={"layer": CHINESE_LAYER})
    doc.saveas(path("chinese_ansi_936.dxf"))
    # From R2007 on: UTF-8, whatever $DWGCODEPAGE says.
    doc = ezdxf.new("R2010")
    doc.header["$DWGCODEPAGE"] = "ANSI_1252"
    doc.layers.add(CHINESE_LAYER)
    msp = doc.modelspace()
    msp.add_line((0, 0), (1, 0), dxfattribs={"layer": CHINESE_LAYER})
    msp.add_text(CHINESE_TEXT, dxfattribs={"layer": CHINESE_LAYER})
    doc.saveas(path("chinese_r2010.dxf"))
    # A code page that cannot hold the characters: written as \U+XXXX escapes.
    doc = ezdxf.new("R2000")
    doc.header["$DWGCODEPAGE"] = "ANSI_1252"
    doc.layers.add(CHINESE_LAYER)
    doc.modelspace().add_line((0, 0), (1, 0), dxfattribs={"layer": CHINESE_LAYER})
    doc.saveas(path("chinese_escaped.dxf"))


def long_lines_and_crlf():
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    long_text = "".join(chr(ord("a") + i % 26) for i in range(5000))
    msp.add_text(long_text)
    msp.add_mtext("M" * 3000)
    msp.add_line((1, 2), (3, 4))
    doc.saveas(path("long_lines.dxf"))
    with open(path("r2000.dxf"), "rb") as f:
        data = f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    with open(path("r2000_crlf.dxf"), "wb") as f:
        f.write(data)


def broken_files():
    with open(path("r2000.dxf"), "rb") as f:
        good = f.read().replace(b"\r\n", b"\n")
    lines = good.split(b"\n")
    # Cut in the middle of the ENTITIES section.
    entities = lines.index(b"ENTITIES")
    with open(path("truncated.dxf"), "wb") as f:
        f.write(b"\n".join(lines[: entities + 30]) + b"\n")
    # A coordinate that is not a number: the first LINE's start x.
    first_line = lines.index(b"LINE", entities)
    x = lines.index(b" 10", first_line) + 1
    broken = list(lines)
    broken[x] = b"12.5abc"
    with open(path("non_numeric.dxf"), "wb") as f:
        f.write(b"\n".join(broken))
    # A group code that is not a number.
    broken = list(lines)
    broken[x - 1] = b"ten"
    with open(path("bad_group_code.dxf"), "wb") as f:
        f.write(b"\n".join(broken))
    # Everything but the final 0/EOF.
    end = len(lines) - 1
    while lines[end] != b"EOF":
        end -= 1
    with open(path("no_eof.dxf"), "wb") as f:
        f.write(b"\n".join(lines[: end - 1]) + b"\n")
    rng = random.Random(936)
    with open(path("garbage.dxf"), "wb") as f:
        f.write(bytes(rng.randrange(256) for _ in range(512)))
    doc = ezdxf.new("R2000")
    doc.modelspace().add_line((0, 0), (1, 0))
    doc.saveas(path("binary.dxf"), fmt="bin")


if __name__ == "__main__":
    version_fixtures()
    mirrored_arc()
    chinese_layers()
    long_lines_and_crlf()
    broken_files()
