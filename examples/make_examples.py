#!/usr/bin/env python3
"""Writes the sample drawings in this folder.

    python3 examples/make_examples.py [OUTDIR]

The output is deterministic: running it again gives the same bytes, so the
committed drawings can be checked against it. Uses the standard library only.

part.dxf    a plate outline of lines and arcs, two holes and a closed slot
plan.dxf    a room plan spread over several layers, with polylines of both
            kinds, door swings and arcs that cross the zero angle
flange.dxf  nested and rotated blocks: a bolt block inside a flange block,
            the flange inserted rotated, scaled, stretched and mirrored

and three of the newer form (R2000 and later, newform.py):

floorplan.dxf   an architectural plan: walls as proxy entities, room names,
                dimensions, hatches, centre lines, wide polylines, a wipeout
titleblock.dxf  a title block with attributes, text in every alignment,
                multileaders with text and with a block, a table
section.dxf     a dimensioned part with a section hatch, linear, radial and
                angular dimensions, text in a turned, mirrored and stretched
                insert
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import floorplan  # noqa: E402
import section  # noqa: E402
import titleblock  # noqa: E402


def num(v):
    """A value as the drawings spell it: integers without a decimal point."""
    if isinstance(v, int):
        return str(v)
    r = round(v, 6)
    if r == int(r):
        return str(int(r))
    return ("%.6f" % r).rstrip("0")


class Drawing:
    def __init__(self):
        self.lines = []

    def group(self, code, value):
        self.lines.append("%3d" % code)
        self.lines.append(value if isinstance(value, str) else num(value))

    def groups(self, *pairs):
        for code, value in pairs:
            self.group(code, value)

    def section(self, name):
        self.groups((0, "SECTION"), (2, name))

    def endsec(self):
        self.group(0, "ENDSEC")

    def line(self, layer, a, b):
        self.groups((0, "LINE"), (8, layer),
                    (10, a[0]), (20, a[1]), (30, 0),
                    (11, b[0]), (21, b[1]), (31, 0))

    def arc(self, layer, c, r, start, end):
        """Counterclockwise from start to end, angles in degrees."""
        self.groups((0, "ARC"), (8, layer), (10, c[0]), (20, c[1]), (30, 0),
                    (40, r), (50, start), (51, end))

    def circle(self, layer, c, r):
        self.groups((0, "CIRCLE"), (8, layer), (10, c[0]), (20, c[1]), (30, 0), (40, r))

    def lwpolyline(self, layer, points, closed, count=True):
        self.groups((0, "LWPOLYLINE"), (8, layer))
        if count:
            self.group(90, len(points))
        self.group(70, 1 if closed else 0)
        for x, y in points:
            self.groups((10, x), (20, y))

    def polyline(self, layer, points, closed):
        """The older form: POLYLINE, one VERTEX record a point, SEQEND."""
        self.groups((0, "POLYLINE"), (8, layer), (66, 1),
                    (10, 0), (20, 0), (30, 0), (70, 1 if closed else 0))
        for x, y in points:
            self.groups((0, "VERTEX"), (8, layer), (10, x), (20, y), (30, 0))
        self.groups((0, "SEQEND"), (8, layer))

    def insert(self, layer, name, at, scale=(1, 1, 1), rotation=0):
        self.groups((0, "INSERT"), (8, layer), (2, name),
                    (10, at[0]), (20, at[1]), (30, 0))
        if scale != (1, 1, 1):
            self.groups((41, scale[0]), (42, scale[1]), (43, scale[2]))
        if rotation:
            self.group(50, rotation)

    def block(self, name, base=(0, 0)):
        self.groups((0, "BLOCK"), (8, "0"), (2, name), (70, 0),
                    (10, base[0]), (20, base[1]), (30, 0))

    def endblk(self):
        self.groups((0, "ENDBLK"), (8, "0"))

    def layertable(self, names):
        self.section("TABLES")
        self.groups((0, "TABLE"), (2, "LAYER"), (70, len(names)))
        for i, name in enumerate(names):
            self.groups((0, "LAYER"), (2, name), (70, 0), (62, i + 1), (6, "CONTINUOUS"))
        self.groups((0, "ENDTAB"))
        self.endsec()

    def text(self):
        return "\n".join(self.lines + ["  0", "EOF"]) + "\n"


def part():
    """A 100 x 60 plate with rounded corners (radius 8), two holes and a
    rectangular slot drawn as a closed light-weight polyline."""
    d = Drawing()
    d.section("ENTITIES")
    outline = "OUTLINE"
    d.line(outline, (8, 0), (92, 0))
    d.arc(outline, (92, 8), 8, 270, 360)
    d.line(outline, (100, 8), (100, 52))
    d.arc(outline, (92, 52), 8, 0, 90)
    d.line(outline, (92, 60), (8, 60))
    d.arc(outline, (8, 52), 8, 90, 180)
    d.line(outline, (0, 52), (0, 8))
    d.arc(outline, (8, 8), 8, 180, 270)
    d.circle("HOLES", (20, 30), 6)
    d.circle("HOLES", (80, 30), 6)
    # The last vertex repeats the first although the polyline is closed.
    d.lwpolyline("SLOT", [(40, 20), (60, 20), (60, 40), (40, 40), (40, 20)], closed=True)
    d.endsec()
    return d.text()


def plan():
    """A 60 x 40 room: walls, two doors with their swings, furniture and
    dimension lines, each on a layer of its own."""
    d = Drawing()
    layers = ["0", "WALLS", "DOORS", "FURNITURE", "dim lines"]
    d.layertable(layers)
    d.section("ENTITIES")
    # Outer walls as an old-style closed polyline, the inner face of the
    # walls as light-weight polylines broken by the door openings.
    d.polyline("WALLS", [(0, 0), (60, 0), (60, 40), (0, 40)], closed=True)
    d.lwpolyline("WALLS", [(10, 1), (1, 1), (1, 39), (59, 39), (59, 30)], closed=False)
    d.lwpolyline("WALLS", [(59, 22), (59, 1), (18, 1)], closed=False)
    d.line("WALLS", (10, 0), (10, 1))
    d.line("WALLS", (18, 0), (18, 1))
    d.line("WALLS", (59, 30), (60, 30))
    d.line("WALLS", (59, 22), (60, 22))
    # Doors: the leaf standing open and the path of its edge.
    d.line("DOORS", (10, 1), (10, 9))
    d.arc("DOORS", (10, 1), 8, 0, 90)
    d.line("DOORS", (59, 30), (51, 30))
    d.arc("DOORS", (59, 30), 8, 180, 270)
    # Furniture: a round table with four chairs, a sofa, a floor lamp whose
    # shade is open towards the wall (an arc over 0 degrees) and a plant pot
    # drawn as a 300 degree arc.
    d.circle("FURNITURE", (30, 20), 5)
    for k in range(4):
        a = math.radians(45 + 90 * k)
        d.circle("FURNITURE", (30 + 8 * math.cos(a), 20 + 8 * math.sin(a)), 1.5)
    d.lwpolyline("FURNITURE", [(5, 30), (5, 37), (25, 37), (25, 30)], closed=True)
    d.arc("FURNITURE", (53, 8), 3, 300, 60)
    d.arc("FURNITURE", (53, 34), 2, 30, 330)
    # Dimension lines below the room with ticks at both ends.
    d.line("dim lines", (0, -5), (60, -5))
    d.line("dim lines", (0, -7), (0, -3))
    d.line("dim lines", (60, -7), (60, -3))
    d.line("0", (-5, 0), (-5, 40))
    d.endsec()
    return d.text()


def flange():
    """A bolt block nested six times, rotated, in a flange block, and the
    flange inserted four times: plain, rotated and scaled down, stretched
    along x (its circles become ellipses) and mirrored (its arcs turn
    clockwise)."""
    d = Drawing()
    d.section("BLOCKS")
    d.block("BOLT")
    d.circle("HOLES", (0, 0), 1.5)
    hexagon = [(2.5 * math.cos(math.radians(60 * k)), 2.5 * math.sin(math.radians(60 * k)))
               for k in range(6)]
    # Closed and with the first vertex repeated, as many writers do.
    d.lwpolyline("BOLTS", hexagon + hexagon[:1], closed=True)
    d.endblk()
    d.block("FLANGE")
    d.circle("OUTLINE", (0, 0), 20)
    d.circle("OUTLINE", (0, 0), 8)
    # A lug on the rim: an arc and the two lines to it; it shows which way
    # an insert turned or mirrored the block.
    d.arc("OUTLINE", (20, 0), 4, 270, 90)
    d.line("OUTLINE", (20, 4), (18.5, 4))
    d.line("OUTLINE", (20, -4), (18.5, -4))
    for k in range(6):
        a = 30 + 60 * k
        r = math.radians(a)
        d.insert("0", "BOLT", (14 * math.cos(r), 14 * math.sin(r)), rotation=a)
    d.endblk()
    d.endsec()
    d.section("ENTITIES")
    d.insert("PARTS", "FLANGE", (0, 0))
    d.insert("PARTS", "FLANGE", (60, 0), scale=(0.75, 0.75, 1), rotation=30)
    d.insert("PARTS", "FLANGE", (0, -55), scale=(1.4, 1, 1))
    d.insert("PARTS", "FLANGE", (75, -55), scale=(-1, 1, 1), rotation=15)
    d.line("CENTER", (-35, 0), (100, 0))
    d.line("CENTER", (-35, -55), (100, -55))
    d.endsec()
    return d.text()


def main():
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, make in (("part.dxf", part), ("plan.dxf", plan), ("flange.dxf", flange),
                       ("floorplan.dxf", floorplan.make), ("titleblock.dxf", titleblock.make),
                       ("section.dxf", section.make)):
        with open(os.path.join(outdir, name), "w", newline="\n", encoding="utf-8") as f:
            f.write(make())


if __name__ == "__main__":
    main()
