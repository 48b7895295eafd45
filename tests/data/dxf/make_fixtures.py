#!/usr/bin/env python3
"""Writes the small DXF drawings the host's tests load.

Needs Debian's python3-ezdxf; the tests themselves only read the files written
here, so run this again only to change them:  python3 make_fixtures.py
(or name the groups to write, e.g.  python3 make_fixtures.py binary lenient)
"""
import os
import random
import sys

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


def binary_twins():
    """The same drawing as binary and as ASCII DXF, in three versions: both
    forms must read the same."""
    for version, stem in (("R12", "r12"), ("R2000", "r2000"), ("R2018", "r2018")):
        doc = ezdxf.new(version)
        if version == "R2018":
            doc.layers.add(CHINESE_LAYER)
            text, layer = CHINESE_TEXT, CHINESE_LAYER
        else:
            doc.header["$DWGCODEPAGE"] = "ANSI_1252"
            text, layer = "caf\u00e9 \u00b1 5", "AXIS"
        msp = common_content(doc)
        msp.add_line((0.1, 0.2, 0.3), (1e6 / 3, -2.0 / 7, 0), dxfattribs={"layer": layer})
        msp.add_arc((1.5, -2.25), 0.1, 359.5, 0.5, dxfattribs={"layer": layer})
        msp.add_arc((10, 5), 3, 30, 120, dxfattribs={"extrusion": (0, 0, -1)})
        msp.add_text(text, dxfattribs={"layer": layer})
        msp.add_polyline2d([(0, 0), (4, 0), (4, 3)], dxfattribs={"closed": True})
        if version != "R12":
            msp.add_lwpolyline([(0, 0), (1, 0), (1, 1)], dxfattribs={"layer": layer})
            msp.add_mtext("line one\\Pline two", dxfattribs={"insert": (2, 2)})
        doc.saveas(path("binary_%s.dxf" % stem), fmt="bin")
        doc.saveas(path("ascii_%s.dxf" % stem))


def write_groups(name, groups):
    """Writes (code, value) pairs as ASCII DXF; values are bytes or str."""
    out = b""
    for code, value in groups:
        if isinstance(value, str):
            value = value.encode("ascii")
        out += b"%3d\n" % code + value + b"\n"
    with open(path(name), "wb") as f:
        f.write(out)


def line(layer, x, handle=None):
    groups = [(0, "LINE")]
    if handle is not None:
        groups.append((5, handle))
    return groups + [(8, layer), (10, str(x)), (20, "0"), (11, str(x)), (21, "10")]


def lenient_fixtures():
    """Drawings CAD programs open although some of their parts are not what
    the format asks for: each a small hand-written file of one such shape."""
    # Shift-JIS text in a drawing that declares no code page (so 1252, which
    # leaves 0x81 and 0x90 undefined); its layer name is plain ASCII.
    write_groups("undefined_bytes.dxf", [
        (0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1015"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "ENTITIES"),
        *line("AXIS", 0),
        (0, "TEXT"), (8, "NOTES"), (10, "0"), (20, "0"), (40, "1"),
        (1, "\u8ef8\u7dda \u56f3".encode("shift_jis")),
        (0, "TEXT"), (8, "NOTES"), (10, "0"), (20, "0"), (40, "1"),
        (1, "\u8ef8".encode("shift_jis")),
        *line("AXIS", 5),
        (0, "ENDSEC"), (0, "EOF")])
    # A code page named "ASCII", as one writer does, and MTEXT inline codes.
    write_groups("ascii_code_page.dxf", [
        (0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1015"),
        (9, "$DWGCODEPAGE"), (3, "ASCII"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "ENTITIES"),
        (0, "MTEXT"), (8, "0"), (10, "1"), (20, "2"), (1, "Number:\\~2\\PAxis \\U+00B1"),
        *line("AXIS", 0),
        (0, "ENDSEC"), (0, "EOF")])
    # Circles of radius 0 and below, which CAD programs keep.
    write_groups("circle_radius_not_positive.dxf", [
        (0, "SECTION"), (2, "ENTITIES"),
        (0, "CIRCLE"), (8, "0"), (10, "1"), (20, "1"), (40, "0"),
        (0, "CIRCLE"), (8, "0"), (10, "2"), (20, "2"), (40, "-1.5"),
        *line("AXIS", 0),
        (0, "ENDSEC"), (0, "EOF")])
    # Entities whose handle is empty, and a seed above the highest handle.
    write_groups("empty_handles.dxf", [
        (0, "SECTION"), (2, "HEADER"), (9, "$HANDSEED"), (5, "2A"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "ENTITIES"),
        *line("AXIS", 0, ""),
        *line("AXIS", 1, "20"),
        *line("AXIS", 2, ""),
        (0, "ENDSEC"), (0, "SECTION"), (2, "OBJECTS"),
        (0, "DICTIONARY"), (5, "C0"), (0, "ENDSEC"), (0, "EOF")])
    # Header variables after an early ENDSEC: the code page among them must
    # still decode the layer names (here Cyrillic in code page 1251).
    write_groups("early_endsec.dxf", [
        (0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1015"), (0, "ENDSEC"),
        (9, "$DWGCODEPAGE"), (3, "ANSI_1251"), (9, "$INSUNITS"), (70, "4"), (0, "ENDSEC"),
        (0, "SECTION"), (2, "ENTITIES"),
        *line("\u041e\u0441\u0438".encode("cp1251"), 0),
        (0, "ENDSEC"), (0, "EOF")])
    # Layer names code page 936 cannot hold, equal once made lossy.
    doc = ezdxf.new("R2010")
    msp = doc.modelspace()
    for name, x in (("AXIS-\u0e41\u0e01\u0e19", 0), ("AXIS-\u0e25\u0e32\u0e22", 5),
                    (CHINESE_LAYER, 10)):
        doc.layers.add(name)
        msp.add_line((x, 0), (x, 10), dxfattribs={"layer": name})
    doc.saveas(path("non_936_layer.dxf"))


GROUPS = {
    "versions": version_fixtures,
    "mirrored": mirrored_arc,
    "chinese": chinese_layers,
    "long": long_lines_and_crlf,
    "broken": broken_files,
    "binary": binary_twins,
    "lenient": lenient_fixtures,
}

if __name__ == "__main__":
    for group in sys.argv[1:] or GROUPS:
        GROUPS[group]()
