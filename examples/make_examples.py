#!/usr/bin/python3
"""Writes the bundled example drawings (needs Debian's python3-ezdxf).

house/house.dxf: the two axes of the house example, in millimetres.
plan/plan.dxf: a realistic floor plan: an orthogonal grid of axes and a
curved wing of concentric arcs and radial axes on layer AXIS, with walls,
columns, axis bubbles, texts and a title block on other layers.
"""
import math
import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def house():
    doc = ezdxf.new("R2000", units=4)  # $INSUNITS: millimetres
    doc.layers.add("AXIS", color=1)
    msp = doc.modelspace()
    msp.add_line((0, 0), (10000, 0), dxfattribs={"layer": "AXIS"})
    msp.add_line((5000, -3000), (5000, 3000), dxfattribs={"layer": "AXIS"})
    doc.saveas(os.path.join(HERE, "house", "house.dxf"))


def plan():
    doc = ezdxf.new("R2010", units=4)  # $INSUNITS: millimetres
    for name, color in [("AXIS", 1), ("AXIS-BUBBLE", 3), ("WALL", 7), ("COLUMN", 4),
                        ("TEXT", 2), ("轴号", 6)]:
        doc.layers.add(name, color=color)
    msp = doc.modelspace()
    axis = {"layer": "AXIS"}

    # Orthogonal part: axes 1-5 every 6 m, A-D every 6 m.
    xs = [0, 6000, 12000, 18000, 24000]
    ys = [0, 6000, 12000, 18000]
    for i, x in enumerate(xs):
        msp.add_line((x, -1500), (x, 19500), dxfattribs=axis)
        msp.add_circle((x, -2300), 800, dxfattribs={"layer": "AXIS-BUBBLE"})
        msp.add_text(str(i + 1), dxfattribs={"layer": "轴号", "height": 600,
                                             "insert": (x - 200, -2600)})
    for j, y in enumerate(ys):
        msp.add_line((-1500, y), (24000, y), dxfattribs=axis)
        msp.add_circle((-2300, y), 800, dxfattribs={"layer": "AXIS-BUBBLE"})
        msp.add_text("ABCD"[j], dxfattribs={"layer": "轴号", "height": 600,
                                            "insert": (-2500, y - 300)})

    # Curved wing east of axis 5: concentric arcs about (24000, 9000) from
    # -60 to 60 degrees (through direction 0), and radial axes.
    cx, cy = 24000, 9000
    for r in (6000, 9000, 12000):
        msp.add_arc((cx, cy), r, -60, 60, dxfattribs=axis)
    for a in (-60, -30, 0, 30, 60):
        t = math.radians(a)
        msp.add_line((cx + 3000 * math.cos(t), cy + 3000 * math.sin(t)),
                     (cx + 13000 * math.cos(t), cy + 13000 * math.sin(t)), dxfattribs=axis)

    # Walls, columns and texts on their own layers: not axes.
    msp.add_lwpolyline([(-250, -250), (24250, -250), (24250, 18250), (-250, 18250)],
                       close=True, dxfattribs={"layer": "WALL"})
    for x in xs:
        for y in ys:
            msp.add_circle((x, y), 300, dxfattribs={"layer": "COLUMN"})
    msp.add_text("标准层平面图 1:100", dxfattribs={"layer": "TEXT", "height": 800,
                                              "insert": (6000, -5000)})
    msp.add_mtext("Axis grid of the standard floor.\\PCurved wing: R6000, R9000, R12000.",
                  dxfattribs={"layer": "TEXT", "char_height": 400, "insert": (6000, -6500)})
    doc.saveas(os.path.join(HERE, "plan", "plan.dxf"))


if __name__ == "__main__":
    house()
    plan()
