#!/usr/bin/env python3
"""End-to-end tests of the ostra command-line tool.

    test_tool.py TOOL EXAMPLES VERSION [unittest arguments, e.g. a class name]

Runs the built tool on the sample drawings and on drawings made here, and
checks output, standard error and exit status.
"""

import json
import math
import os
import pty
import re
import resource
import select
import signal
import stat
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

TOOL = EXAMPLES = VERSION = None


def run(*args, stdin=None):
    """Runs the tool; returns (status, stdout text, stderr text)."""
    p = subprocess.run([TOOL, *args], input=stdin, capture_output=True, timeout=60)
    return p.returncode, p.stdout.decode("utf-8"), p.stderr.decode("utf-8")


def example(name):
    return os.path.join(EXAMPLES, name)


def dxf(entities, blocks=()):
    """A drawing from (code, value) pairs; values may be bytes."""
    def text(pairs):
        out = b""
        for code, value in pairs:
            v = value if isinstance(value, bytes) else str(value).encode()
            out += b"%3d\n" % code + v + b"\n"
        return out
    out = b""
    if blocks:
        out += text([(0, "SECTION"), (2, "BLOCKS")] + list(blocks) + [(0, "ENDSEC")])
    return out + text([(0, "SECTION"), (2, "ENTITIES")] + list(entities) +
                      [(0, "ENDSEC"), (0, "EOF")])


def drawing(header, layers, entities, blocks=()):
    """A drawing with HEADER variables ((name, code, value), ...) and LAYER
    entries ((name, colour, flags), ...) before its blocks and entities."""
    pairs = [(0, "SECTION"), (2, "HEADER")]
    for name, code, value in header:
        pairs += [(9, name), (code, value)]
    pairs += [(0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER")]
    for name, colour, flags in layers:
        pairs += [(0, "LAYER"), (2, name), (70, flags), (62, colour), (6, "CONTINUOUS")]
    pairs += [(0, "ENDTAB"), (0, "ENDSEC")]
    out = b""
    for code, value in pairs:
        v = value if isinstance(value, bytes) else str(value).encode()
        out += b"%3d\n" % code + v + b"\n"
    return out + dxf(entities, blocks)


CP1251 = [("$ACADVER", 1, "AC1015"), ("$DWGCODEPAGE", 3, "ANSI_1251"), ("$INSUNITS", 70, 4),
          ("$EXTMIN", 10, 0), ("$EXTMAX", 10, 50)]
SLOY = "\u0421\u043b\u043e\u0439".encode("cp1251")  # a Cyrillic layer name


def binary(entities, blocks=()):
    """The drawing dxf() makes, in the binary form with two-byte codes:
    codes 10 to 59 take doubles, 62 and 70 16-bit integers, the rest strings."""
    out = b"AutoCAD Binary DXF\r\n\x1a\x00"
    lines = dxf(entities, blocks).split(b"\n")
    for code, value in zip(lines[0:-1:2], lines[1::2]):
        c = int(code)
        out += struct.pack("<H", c)
        if 10 <= c <= 59:
            out += struct.pack("<d", float(value))
        elif c in (62, 70):
            out += struct.pack("<h", int(value))
        else:
            out += value + b"\x00"
    return out


def line(layer, a, b):
    return [(0, "LINE"), (8, layer), (10, a[0]), (20, a[1]), (30, 0),
            (11, b[0]), (21, b[1]), (31, 0)]


def arc(layer, c, r, start, end):
    return [(0, "ARC"), (8, layer), (10, c[0]), (20, c[1]), (30, 0),
            (40, r), (50, start), (51, end)]


def circle(layer, c, r):
    return [(0, "CIRCLE"), (8, layer), (10, c[0]), (20, c[1]), (30, 0), (40, r)]


def insert(name, at, sx=1, sy=1, rot=0):
    return [(0, "INSERT"), (8, "0"), (2, name), (10, at[0]), (20, at[1]), (30, 0),
            (41, sx), (42, sy), (43, 1), (50, rot)]


def block(name, entities):
    return [(0, "BLOCK"), (2, name), (10, 0), (20, 0), (30, 0)] + entities + [(0, "ENDBLK")]


class Temp(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def file(self, name, data):
        path = os.path.join(self.dir.name, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def ok(self, *args, stdin=None):
        status, out, err = run(*args, stdin=stdin)
        self.assertEqual((status, err), (0, ""), args)
        return out

    def jsonlist(self, *args):
        return [json.loads(l) for l in self.ok("list", "--json", *args).splitlines()]


class ListTests(Temp):
    def test_plain_lines_in_reading_order(self):
        out = self.ok("list", example("part.dxf")).splitlines()
        self.assertEqual(len(out), 14)
        self.assertEqual(out[0], "line start 8.000000 0.000000 0.000000 "
                                 "end 92.000000 0.000000 0.000000 layer OUTLINE "
                                 "colour #FFFFFF record LINE handle - item 1")
        self.assertEqual(out[1], "arc center 92.000000 8.000000 0.000000 radius 8.000000 "
                                 "start 92.000000 0.000000 0.000000 end 100.000000 8.000000 0.000000 "
                                 "sweep 90.000000 normal 0.000000 0.000000 1.000000 layer OUTLINE "
                                 "colour #FFFFFF record ARC handle - item 2")
        self.assertEqual([l.split()[0] for l in out],
                         ["line", "arc"] * 4 + ["circle"] * 2 + ["line"] * 4)
        self.assertTrue(out[8].startswith("circle center 20.000000 30.000000 0.000000 radius 6.000000"))

    def test_blocks_and_quoted_layer_names(self):
        out = self.ok("list", example("flange.dxf")).splitlines()
        self.assertTrue(any("layer HOLES block BOLT colour " in l for l in out))
        self.assertTrue(all(" block " in l for l in out if " CENTER" not in l))
        self.assertTrue(any(l.startswith("ellipse center") for l in out))
        plan = self.ok("list", example("plan.dxf")).splitlines()
        self.assertIn('layer "dim lines"', plan[-2])

    def test_layer_filter(self):
        out = self.ok("list", "--layers", "HOLES,SLOT", example("part.dxf")).splitlines()
        self.assertEqual([l.split()[0] for l in out], ["circle"] * 2 + ["line"] * 4)
        # Blanks around the names are not part of them; a name that names no
        # layer of the drawing is warned about.
        self.assertEqual(self.ok("list", "--layers", " HOLES , SLOT,", example("part.dxf")),
                         self.ok("list", "--layers", "HOLES,SLOT", example("part.dxf")))
        path = example("part.dxf")
        for filter, warning in (("NONE", "no layer NONE"), ("HOLES, NONE,  \x1b[2J x", 'no layers NONE, "\\x1b[2J x"')):
            status, out, err = run("list", "--layers", filter, path)
            self.assertEqual((status, err), (0, path + ": warning: --layers: the drawing has " + warning + "\n"))
        self.assertEqual(run("list", "--layers", "NONE", path)[1], "")
        # A layer of the LAYER table counts, with or without geometry on it.
        path = self.file("t.dxf", drawing([], [("EMPTY", 1, 0)], line("A", (0, 0), (1, 1))))
        self.assertEqual(run("stats", "--layers", "EMPTY", path)[0::2], (0, ""))

    def test_json_lines(self):
        rows = self.jsonlist(example("flange.dxf"))
        self.assertEqual(len(rows), len(self.ok("list", example("flange.dxf")).splitlines()))
        kinds = {r["kind"] for r in rows}
        self.assertEqual(kinds, {"line", "arc", "circle", "ellipse"})
        first = self.jsonlist(example("part.dxf"))[0]
        self.assertEqual(first, {"kind": "line", "start": [8, 0, 0], "end": [92, 0, 0],
                                 "layer": "OUTLINE", "block": None, "colour": "#FFFFFF", "aci": 7,
                                 "record": "LINE", "handle": "", "item": 1, "piece": 0, "closed": False})
        e = next(r for r in rows if r["kind"] == "ellipse")
        self.assertTrue({"center", "major", "minor", "ratio", "startparam", "endparam"} <= e.keys())

    def test_json_escapes_names_and_nulls_non_finite_numbers(self):
        name = b'q"b\\s\tx\xff'
        path = self.file("odd.dxf", dxf(line(name, (0, 0), ("nan", "inf")) + circle("\u00e4", (1, 1), 2)))
        rows = self.jsonlist(path)
        # Names are decoded from the drawing's code page: without a header a
        # name in UTF-8 is taken as such, another byte as cp1252 (0xff is a y
        # with diaeresis).
        self.assertEqual(rows[0]["layer"], 'q"b\\s\tx\u00ff')
        self.assertEqual(rows[0]["end"], [None, None, 0])
        self.assertEqual(rows[1]["layer"], "\u00e4")
        plain = self.ok("list", path).splitlines()
        self.assertIn(' layer "q\\"b\\\\s\\tx\u00ff" colour ', plain[0])

    def test_points_listed_counted_and_drawn(self):
        pt = [(0, "POINT"), (8, "P"), (10, 120), (20, -7.5), (30, 1)]
        path = self.file("p.dxf", dxf(pt + line("A", (0, 0), (10, 10))))
        self.assertEqual(self.ok("list", "--exact", path).splitlines()[0],
                         "point at 120.000000 -7.500000 1.000000 layer P colour #FFFFFF record POINT handle - item 1")
        self.assertEqual(self.jsonlist("--exact", path)[0],
                         {"kind": "point", "at": [120, -7.5, 1], "layer": "P", "block": None, "colour": "#FFFFFF",
                          "aci": 7, "record": "POINT", "handle": "", "item": 1, "piece": 0, "closed": False})
        self.assertEqual(self.ok("list", "--simple", path).split()[0], "line")  # the simple reading has none
        s = stats(self.ok("stats", "--exact", path))
        self.assertEqual((s["point"], s["geometries"]), ("1", "2"))
        self.assertEqual(s["extents"].split(), ["0.000000", "-7.500000", "0.000000",
                                                "120.000000", "10.000000", "1.000000"])
        out = os.path.join(self.dir.name, "p.svg")
        self.ok("svg", path, "-o", out)
        self.assertIn('<circle cx="120" cy="7.5"', open(out).read())


class TextTests(Temp):
    def test_texts_lists_each_text(self):
        path = self.file("t.dxf", dxf([(0, "TEXT"), (8, "0"), (10, 1), (20, 2), (40, 3), (50, 90), (1, "%%c5"),
                                        (0, "MTEXT"), (8, "0"), (10, 0), (20, 0), (40, 1), (1, "a\\Pb")]))
        self.assertEqual(self.ok("texts", path).splitlines(), [
            "TEXT\t0\t1.000000 2.000000 0.000000\t3.000000\t90.000000\t\u22055",
            "MTEXT\t0\t0.000000 0.000000 0.000000\t1.000000\t0.000000\t\"a\\x0ab\""])
        rows = [json.loads(l) for l in self.ok("texts", "--json", path).splitlines()]
        self.assertEqual([r["content"] for r in rows], ["\u22055", "a\nb"])
        self.assertEqual(rows[1]["raw"], "a\\Pb")
        self.assertEqual(rows[0]["anchor"], [1, 2, 0])

    def test_strokes_only_when_asked_for(self):
        path = self.file("t.dxf", dxf([(0, "TEXT"), (8, "0"), (40, 21), (1, "L")]))
        self.assertEqual(self.ok("list", path), "")
        lines = self.ok("list", "--text", "strokes", path).splitlines()
        self.assertGreaterEqual(len(lines), 2)
        self.assertTrue(all(l.startswith("line ") and " record TEXT " in l and l.endswith(" item 1")
                            for l in lines))
        stats = self.ok("stats", "--text", "strokes", path).splitlines()
        self.assertIn("texts: 1", stats)
        self.assertFalse(any(l.startswith("texts:") for l in self.ok("stats", path).splitlines()))
        self.assertEqual(json.loads(self.ok("stats", "--json", "--text", "strokes", path))["texts"], 1)


class TableTests(Temp):
    def test_layers_in_order_of_first_use(self):
        rows = [l.split("\t") for l in self.ok("layers", example("plan.dxf")).splitlines()]
        self.assertEqual([r[1] for r in rows], ["WALLS", "DOORS", "FURNITURE", '"dim lines"', "0"])
        counts = dict((r[1], int(r[0])) for r in rows)
        # Layers holding plain entities only: one use per entity.
        self.assertEqual(counts["DOORS"], 4)
        self.assertEqual(counts['"dim lines"'], 3)
        self.assertEqual(counts["0"], 1)

    def test_layer_states_colours_and_counts(self):
        layers = [("RED", 1, 0), ("OFF", -3, 0), ("ICE", 5, 1), ("LOCK", 6, 4)]
        ents = (line("RED", (0, 0), (1, 0)) + line("RED", (0, 0), (2, 0)) + line("OFF", (0, 0), (1, 1)) +
                line("ICE", (0, 0), (3, 3)) + line("LOCK", (0, 0), (4, 4)) + line("NEW", (0, 0), (5, 5)) +
                insert("B", (0, 0)))
        path = self.file("l.dxf", drawing([], layers, ents, block("B", line("0", (0, 0), (1, 1)))))
        rows = [l.split("\t") for l in self.ok("layers", path).splitlines()]
        # Layer 0 first: the block's line was met where the block was defined.
        self.assertEqual(rows, [["1", "0", "-", "-", "-"], ["2", "RED", "1", "on", "CONTINUOUS"],
                                ["0", "OFF", "3", "off", "CONTINUOUS"], ["0", "ICE", "5", "on,frozen", "CONTINUOUS"],
                                ["1", "LOCK", "6", "on,locked", "CONTINUOUS"], ["1", "NEW", "-", "-", "-"]])
        # The reader's own use counts, 0 at the first use.
        counts = [l.split("\t")[5] for l in self.ok("layers", "--counts", path).splitlines()]
        self.assertEqual(counts[1], "1")
        doc = json.loads(self.ok("layers", "--json", path))
        self.assertEqual(doc["layers"][2], {"name": "OFF", "geometries": 0, "colour": 3, "state": "off",
                                            "linetype": "CONTINUOUS"})
        # The simple reading draws the hidden layers too.
        self.assertEqual(self.ok("layers", "--simple", path).splitlines()[2].split("\t")[0], "1")

    def test_names_in_utf8(self):
        path = self.file("c.dxf", drawing(CP1251, [(SLOY, 1, 0)], line(SLOY, (0, 0), (1, 1))))
        name = "\u0421\u043b\u043e\u0439"
        self.assertEqual(json.loads(self.ok("layers", "--json", path))["layers"][0]["name"], name)
        self.assertEqual(self.jsonlist(path)[0]["layer"], name)
        self.assertEqual(self.ok("list", "--layers", name, path).count("\n"), 1)

    def test_long_names_and_case(self):
        # Two names alike in their first 79 chars, and one name in two cases.
        red, blue = "s" * 79 + "-red", "s" * 79 + "-blue"
        ents = (line(red, (0, 0), (1, 0)) + line(blue, (0, 0), (2, 0)) + line("Cut", (0, 0), (3, 0)) +
                line("CUT", (0, 0), (4, 0)))
        path = self.file("n.dxf", drawing([], [(red, 1, 0), (blue, 5, 0), ("CUT", 3, 0)], ents))
        rows = [l.split("\t")[:3] for l in self.ok("layers", path).splitlines()]
        self.assertEqual(rows, [["1", red, "1"], ["1", blue, "5"], ["2", "Cut", "3"]])
        self.assertEqual(self.ok("list", "--layers", blue, path).splitlines(),
                         ["line start 0.000000 0.000000 0.000000 end 2.000000 0.000000 0.000000 layer " + blue +
                          " colour #0000FF record LINE handle - item 1"])
        self.assertEqual(self.ok("list", "--layers", "cut", path).count("\n"), 2)
        # The simple reading keeps 79 chars and compares bytes.
        rows = [l.split("\t")[:2] for l in self.ok("layers", "--simple", path).splitlines()]
        self.assertEqual(rows, [["2", "s" * 79], ["1", "Cut"], ["1", "CUT"]])

    def test_layer_table_with_unused_entries(self):
        path = self.file("t.dxf", drawing([], [("B", 3, 0), ("UNUSED", -2, 1), ("A", 1, 4)],
                                          line("A", (0, 0), (1, 0)) + line("C", (0, 0), (1, 1))))
        rows = [l.split("\t") for l in self.ok("layers", "--table", path).splitlines()]
        # In file order, with the geometries on each; C has no entry.
        self.assertEqual(rows, [["0", "B", "3", "on", "CONTINUOUS"], ["0", "UNUSED", "2", "off,frozen", "CONTINUOUS"],
                                ["1", "A", "1", "on,locked", "CONTINUOUS"]])
        doc = json.loads(self.ok("layers", "--table", "--json", path))
        self.assertEqual([(l["name"], l["geometries"], l["state"]) for l in doc["layers"]],
                         [("B", 0, "on"), ("UNUSED", 0, "off,frozen"), ("A", 1, "on,locked")])
        self.assertEqual(run("layers", "--table", "--counts", path)[0], 2)

    def test_list_gives_colour_record_handle_and_item(self):
        lw = [(0, "LWPOLYLINE"), (5, "2F"), (8, "A"), (62, 1), (90, 3), (70, 1),
              (10, 0), (20, 0), (10, 4), (20, 0), (10, 4), (20, 3)]
        path = self.file("i.dxf", drawing([], [("A", 5, 0)], lw + line("A", (0, 0), (1, 1))))
        rows = self.jsonlist(path)
        self.assertEqual([(r["record"], r["handle"], r["colour"], r["item"], r["piece"], r["closed"]) for r in rows],
                         [("LWPOLYLINE", "2F", "#FF0000", 1, 0, True), ("LWPOLYLINE", "2F", "#FF0000", 1, 1, True),
                          ("LWPOLYLINE", "2F", "#FF0000", 1, 2, True), ("LINE", "", "#0000FF", 2, 0, False)])
        plain = self.ok("list", path).splitlines()
        self.assertTrue(plain[2].endswith(" layer A colour #FF0000 record LWPOLYLINE handle 2F item 1"), plain[2])
        self.assertTrue(plain[3].endswith(" layer A colour #0000FF record LINE handle - item 2"), plain[3])

    def test_blocks_with_entity_counts(self):
        path = self.file("b.dxf", dxf(insert("B", (0, 0)),
                                      block("A", line("0", (0, 0), (1, 0)) + circle("0", (0, 0), 1)) +
                                      block("B", insert("A", (5, 0)) + line("0", (0, 0), (0, 1)))))
        self.assertEqual(self.ok("blocks", path), "2\tA\n2\tB\n")
        names = [l.split("\t")[1] for l in self.ok("blocks", example("flange.dxf")).splitlines()]
        self.assertEqual(names, ["BOLT", "FLANGE"])
        self.assertEqual(self.ok("blocks", example("part.dxf")), "")


def stats(out):
    return dict(l.split(": ", 1) for l in out.splitlines())


class StatsTests(Temp):
    def test_part(self):
        s = stats(self.ok("stats", example("part.dxf")))
        self.assertEqual((s["line"], s["arc"], s["circle"], s["ellipse"], s["geometries"]),
                         ("8", "4", "2", "0", "14"))
        self.assertEqual((s["layers"], s["blocks"]), ("3", "0"))
        self.assertEqual(s["extents"].split(), ["0.000000", "0.000000", "0.000000",
                                                "100.000000", "60.000000", "0.000000"])
        with open(example("part.dxf"), "rb") as f:
            data = f.read()
        self.assertEqual(int(s["text lines"]), data.count(b"\n"))
        self.assertEqual(int(s["bytes"]), len(data))
        self.assertRegex(s["time"], r"^\d+\.\d{6} s$")
        self.assertRegex(s["throughput"], r"^\d+\.\d MB/s$")

    def test_header_skipped_and_hidden(self):
        ents = (line("A", (0, 0), (10, 0)) + [(0, "TEXT"), (1, "a")] * 2 + [(0, "HATCH")] +
                line("A", (0, 0), (99, 0))[:2] + [(67, 1)] + line("A", (0, 0), (99, 0))[2:])
        path = self.file("h.dxf", drawing(CP1251, [], ents))
        s = stats(self.ok("stats", path))
        self.assertEqual(s["status"], "complete")
        self.assertEqual(s["format"], "AC1015 (R2000)")
        self.assertEqual(s["units"], "millimeters (4)")
        self.assertEqual(s["code page"], "ANSI_1251")
        self.assertEqual(s["header extents"].split()[0:4:3], ["0.000000", "50.000000"])
        self.assertEqual(s["skipped"], "2 TEXT, 1 HATCH")
        self.assertEqual(s["hidden"], "1 paperspace")
        self.assertEqual(s["extents"].split()[3], "10.000000")
        doc = json.loads(self.ok("stats", "--json", path))
        self.assertEqual((doc["version"], doc["units"], doc["skipped"], doc["hidden"]),
                         ("R2000", "millimeters", {"TEXT": 2, "HATCH": 1}, {"paperspace": 1}))
        self.assertEqual(doc["counts"]["line"], 1)
        self.assertEqual(json.loads(self.ok("stats", "--json", "--simple", path))["counts"]["line"], 2)

    def test_true_extents_of_curves(self):
        # The arc's top lies between its end points; the circle of radius 1
        # stretched 3 times along x and turned 90 degrees reaches y = +-3.
        path = self.file("x.dxf", dxf(arc("A", (0, 0), 10, 45, 135) + circle("C", (20, 5), 2) +
                                      arc("A", (40, 0), 1, 350, 10) + insert("E", (60, 0), 3, 1, 90),
                                      block("E", circle("0", (0, 0), 1))))
        s = stats(self.ok("stats", path))
        lo = [float(v) for v in s["extents"].split()]
        self.assertEqual(s["ellipse"], "1")
        expect = [-10 * math.sqrt(0.5), -3, 0, 61, 10, 0]
        for got, want in zip(lo, expect):
            self.assertAlmostEqual(got, want, places=5)


def svgarc(x1, y1, rx, ry, phi, fa, fs, x2, y2):
    """The centre parametrisation of an SVG arc command: returns a function
    of the fraction 0..1 along the arc."""
    c, s = math.cos(math.radians(phi)), math.sin(math.radians(phi))
    dx, dy = (x1 - x2) / 2, (y1 - y2) / 2
    xp, yp = c * dx + s * dy, -s * dx + c * dy
    lam = xp * xp / (rx * rx) + yp * yp / (ry * ry)
    if lam > 1:
        rx, ry = rx * math.sqrt(lam), ry * math.sqrt(lam)
    num = rx * rx * ry * ry - rx * rx * yp * yp - ry * ry * xp * xp
    co = math.sqrt(max(0.0, num / (rx * rx * yp * yp + ry * ry * xp * xp)))
    if fa == fs:
        co = -co
    cxp, cyp = co * rx * yp / ry, -co * ry * xp / rx
    cx, cy = c * cxp - s * cyp + (x1 + x2) / 2, s * cxp + c * cyp + (y1 + y2) / 2

    def angle(ux, uy, vx, vy):
        return math.atan2(ux * vy - uy * vx, ux * vx + uy * vy)
    ux, uy = (xp - cxp) / rx, (yp - cyp) / ry
    t1 = angle(1, 0, ux, uy)
    dt = angle(ux, uy, (-xp - cxp) / rx, (-yp - cyp) / ry)
    if not fs and dt > 0:
        dt -= 2 * math.pi
    elif fs and dt < 0:
        dt += 2 * math.pi

    def at(f):
        t = t1 + f * dt
        return (cx + rx * math.cos(t) * c - ry * math.sin(t) * s,
                cy + rx * math.cos(t) * s + ry * math.sin(t) * c)
    return at


def pathmiddle(d):
    """The middle point of a path in drawing coordinates (y up): the middle
    of a single command, or the end of the first of two."""
    tokens = d.split()
    pieces, pos, i = [], None, 0
    while i < len(tokens):
        cmd = tokens[i]
        if cmd in "ML":
            end = (float(tokens[i + 1]), float(tokens[i + 2]))
            if cmd == "L":
                pieces.append(lambda f, a=pos, b=end: (a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1])))
            pos, i = end, i + 3
        else:
            rx, ry, phi, fa, fs, x, y = tokens[i + 1:i + 8]
            pieces.append(svgarc(pos[0], pos[1], float(rx), float(ry), float(phi),
                                 fa == "1", fs == "1", float(x), float(y)))
            pos, i = (float(x), float(y)), i + 8
    x, y = pieces[0](0.5) if len(pieces) == 1 else pieces[0](1.0)
    return x, -y


def geometrymiddle(g):
    if g["kind"] == "line":
        return [(a + b) / 2 for a, b in zip(g["start"][:2], g["end"][:2])]
    if g["kind"] == "circle":
        # Drawn from the point at angle 0 in two halves.
        return [g["center"][0] - g["radius"], g["center"][1]]
    if g["kind"] == "arc":
        c, s = g["center"], g["start"]
        half = math.radians(g["sweep"] / 2) * (1 if g["normal"][2] > 0 else -1)
        vx, vy = s[0] - c[0], s[1] - c[1]
        return [c[0] + vx * math.cos(half) - vy * math.sin(half),
                c[1] + vx * math.sin(half) + vy * math.cos(half)]
    p0, p1 = g["startparam"], g["endparam"]
    if p1 < p0:
        p1 += 360
    t = math.radians((p0 + p1) / 2)
    return [g["center"][k] + g["major"][k] * math.cos(t) + g["minor"][k] * math.sin(t) for k in (0, 1)]


class SvgTests(Temp):
    NS = "{http://www.w3.org/2000/svg}"

    def svg(self, drawing, *extra):
        out = os.path.join(self.dir.name, "out.svg")
        self.ok("svg", drawing, "-o", out, *extra)
        return ET.parse(out).getroot()

    def groups(self, root):
        return root.findall(f"./{self.NS}g/{self.NS}g")

    def check_paths(self, drawing):
        """Every geometry is one path, in its layer's group, through the
        geometry's own middle point. svg reads exactly unless told --simple."""
        rows = self.jsonlist("--exact", drawing)
        root = self.svg(drawing)
        bylayer = {}
        for r in rows:
            bylayer.setdefault(r["layer"], []).append(r)
        groups = self.groups(root)
        self.assertEqual([g.find(f"{self.NS}title").text for g in groups], list(bylayer))
        size = 0
        for g, (layer, members) in zip(groups, bylayer.items()):
            paths = g.findall(f"{self.NS}path")
            self.assertEqual(len(paths), len(members), layer)
            for p, m in zip(paths, members):
                got, want = pathmiddle(p.get("d")), geometrymiddle(m)
                size = max(size, abs(want[0]), abs(want[1]))
                self.assertAlmostEqual(got[0], want[0], places=4, msg=(m, p.get("d")))
                self.assertAlmostEqual(got[1], want[1], places=4, msg=(m, p.get("d")))
        self.assertEqual(len(root.findall(f".//{self.NS}path")), len(rows))
        return root

    def test_samples(self):
        for name in ("part.dxf", "plan.dxf", "flange.dxf"):
            with self.subTest(name):
                self.check_paths(example(name))

    def test_arc_flags(self):
        # Small and large counterclockwise arcs, one over 0 degrees, a full
        # turn given as an arc, and the same mirrored (clockwise), stretched
        # (elliptic) and stretched and turned.
        arcs = (arc("A", (0, 0), 5, 10, 80) + arc("A", (20, 0), 5, 30, 300) +
                arc("A", (40, 0), 5, 350, 10) + arc("A", (60, 0), 5, 0, 360) +
                arc("A", (80, 0), 5, 10, 355))
        path = self.file("arcs.dxf", dxf(arcs + insert("S", (0, 40), -1, 1) + insert("S", (0, 80), 2, 1) +
                                         insert("S", (0, 120), 2, 1, 30),
                                         block("S", arcs)))
        root = self.check_paths(path)
        ds = [p.get("d") for p in root.iter(f"{self.NS}path")]
        self.assertEqual(ds[0], "M 4.924038765 -0.8682408883 A 5 5 0 0 0 0.8682408883 -4.924038765")
        self.assertIn(" 1 0 ", ds[1])            # large, counterclockwise
        self.assertEqual(ds[3].count("A"), 2)     # a full turn in two halves
        self.assertIn(" 0 1 ", ds[5])            # mirrored: clockwise

    def test_viewbox_stroke_and_layer_ids(self):
        path = self.file("ids.dxf", dxf(line("a b", (0, 0), (100, 0)) + line("a_b", (0, 0), (0, 50)) +
                                        line("layer-a_b", (0, 0), (1, 1)) + line("0", (0, 0), (2, 1)) +
                                        line("<&>", (0, 0), (3, 1))))
        root = self.svg(path)
        x, y, w, h = (float(v) for v in root.get("viewBox").split())
        self.assertTrue(x < 0 and x + w > 100 and y < -50 and y + h > 0)
        stroke = float(root.find(f"{self.NS}g").get("stroke-width"))
        self.assertAlmostEqual(stroke, 0.2)
        ids = [g.get("id") for g in self.groups(root)]
        self.assertEqual(ids, ["layer-a_b", "a_b", "layer-a_b-2", "layer-0", "layer-___"])
        self.assertEqual([g.find(f"{self.NS}title").text for g in self.groups(root)],
                         ["a b", "a_b", "layer-a_b", "0", "<&>"])

    def test_drawing_colours_and_width(self):
        layers = [("RED", 1, 0), ("WHITE", 7, 0)]
        ents = (line("RED", (0, 0), (10, 0)) + line("RED", (0, 0), (0, 10))[:2] + [(62, 3)] +
                line("RED", (0, 0), (0, 10))[2:] + line("WHITE", (0, 0), (5, 5)) +
                line("RED", (0, 0), (7, 7))[:2] + [(420, 0x123456)] + line("RED", (0, 0), (7, 7))[2:])
        root = self.svg(self.file("c.dxf", drawing([], layers, ents)), "--width", "300")
        self.assertEqual(root.get("width"), "300")
        red, white = self.groups(root)
        self.assertEqual(red.get("stroke"), "#ff0000")
        self.assertEqual([p.get("stroke") for p in red.findall(f"{self.NS}path")], [None, "#00ff00", "#123456"])
        self.assertEqual(white.get("stroke"), "#000000")  # white on white is drawn dark

    def test_skipped_and_hidden_said_on_standard_error(self):
        path = self.file("s.dxf", dxf(line("A", (0, 0), (1, 1)) + [(0, "MTEXT"), (1, "x")]))
        status, _, err = run("svg", path, "-o", os.path.join(self.dir.name, "s.svg"), "--text", "none")
        self.assertEqual((status, err), (0, path + ": not drawn: 1 MTEXT; hidden: nothing\n"))

    def test_texts_as_svg_text_placed_by_a_transform(self):
        path = self.file("t.dxf", dxf(line("A", (0, 0), (10, 10)) +
                                       [(0, "TEXT"), (8, "A"), (10, 2), (20, 3), (40, 0.72), (50, 90),
                                        (1, "a<b"), (0, "MTEXT"), (8, "A"), (10, 1), (20, 1), (40, 1),
                                        (71, 7), (1, "one\\Ptwo")]))
        root = self.svg(path)
        texts = root.findall(f".//{self.NS}text")
        self.assertEqual(len(texts), 2)
        m = [float(v) for v in texts[0].get("transform")[7:-1].split()]
        for got, want in zip(m, [0, -1, 1, 0, 2, -3]):  # turned by 90 degrees, a capital 0.72 high
            self.assertAlmostEqual(got, want)
        self.assertEqual(texts[0].get("dominant-baseline"), "alphabetic")
        self.assertEqual([t.text for t in texts[0]], ["a<b"])
        self.assertEqual([t.text for t in texts[1]], ["one", "two"])
        self.assertEqual(texts[1][0].get("dy"), "-1.2")  # a bottom-attached block stands above its point
        self.assertEqual(root.findall(f".//{self.NS}circle"), [])
        strokes = self.svg(path, "--text", "strokes")
        self.assertEqual(strokes.findall(f".//{self.NS}text"), [])
        self.assertGreater(len(strokes.findall(f".//{self.NS}path")), 10)

    def test_empty_drawing_and_standard_output(self):
        root = self.svg(self.file("e.dxf", dxf([])))
        self.assertEqual(root.findall(f".//{self.NS}path"), [])
        out = self.ok("svg", example("part.dxf"), "-o", "-")
        self.assertEqual(len(ET.fromstring(out).findall(f".//{self.NS}path")), 14)


class CopyTests(Temp):
    def written(self, path):
        return [(r["kind"], r.get("start", []) + r.get("end", []) + r.get("center", []) + [r.get("radius", 0)])
                for r in self.jsonlist(path) if r["kind"] in ("line", "circle")]

    def assertSameGeometry(self, copy, original):
        """The same segments and circles in the same order, numbers within
        what the writer's six decimals keep."""
        a, b = self.written(copy), self.written(original)
        self.assertEqual([k for k, _ in a], [k for k, _ in b])
        for (_, x), (_, y) in zip(a, b):
            self.assertLessEqual(max(abs(u - v) for u, v in zip(x, y)), 5.1e-7, (x, y))

    def test_simple_output_keeps_segments_and_circles(self):
        for name, report in (("part.dxf", ("8 line, 2 circle", "4 arc, 0 ellipse")),
                             ("flange.dxf", ("154 line, 24 circle", "3 arc, 9 ellipse"))):
            with self.subTest(name):
                out = os.path.join(self.dir.name, "copy.dxf")
                text = self.ok("copy", "--simple-output", example(name), out)
                self.assertIn("wrote " + report[0], text)
                self.assertIn(report[1], text)
                self.assertSameGeometry(out, example(name))

    def test_copy_keeps_every_kind_and_its_layer(self):
        def rows(path):
            return [(r["kind"], r["layer"], [r.get(k) for k in ("at", "start", "end", "center", "radius")])
                    for r in self.jsonlist("--exact", path)]
        for name, report in (("part.dxf", "0 point, 8 line, 4 arc, 2 circle, 0 ellipse"),
                             ("plan.dxf", "0 point, 24 line, 4 arc, 5 circle, 0 ellipse")):
            with self.subTest(name):
                out = os.path.join(self.dir.name, "copy.dxf")
                text = self.ok("copy", example(name), out)
                self.assertEqual(text.splitlines(), [out + ": wrote " + report + " (as arcs)"])
                copied, original = rows(out), rows(example(name))
                self.assertEqual([r[:2] for r in copied], [r[:2] for r in original])
                for a, b in zip(copied, original):
                    flat = lambda v: [x for p in v if p is not None for x in (p if isinstance(p, list) else [p])]
                    self.assertLessEqual(max(abs(u - v) for u, v in zip(flat(a[2]), flat(b[2]))), 5.1e-7, (a, b))
        out = os.path.join(self.dir.name, "copy.dxf")
        text = self.ok("copy", example("flange.dxf"), out)
        self.assertIn(" 9 ellipse (as arcs)", text)
        self.assertEqual({r["kind"] for r in self.jsonlist("--exact", out)}, {"line", "arc", "circle"})

    def test_empty_drawing_gives_a_readable_file(self):
        out = os.path.join(self.dir.name, "copy.dxf")
        self.ok("copy", "--simple-output", self.file("e.dxf", dxf(arc("A", (0, 0), 1, 0, 90))), out)
        self.assertEqual(self.ok("list", out), "")
        self.ok("copy", self.file("n.dxf", dxf([])), out)
        self.assertEqual(self.ok("list", out), "")

    def test_to_standard_output_and_failures(self):
        status, out, err = run("copy", example("part.dxf"), "-")
        self.assertEqual(status, 0)
        self.assertTrue(out.rstrip().endswith("EOF"))
        self.assertIn("4 arc", err)
        status, _, err = run("copy", example("part.dxf"), "/nonexistent/dir/x.dxf")
        self.assertEqual(status, 1)
        self.assertIn("/nonexistent/dir/x.dxf", err)
        # A file size limit makes the writes fail part way through.
        def limited():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (200, 200))
        for args in (["copy", example("part.dxf"), os.path.join(self.dir.name, "big.dxf")],
                     ["svg", example("part.dxf"), "-o", os.path.join(self.dir.name, "big.svg")]):
            p = subprocess.run([TOOL, *args], capture_output=True, preexec_fn=limited, timeout=60)
            self.assertEqual(p.returncode, 1, args)
            self.assertIn(b"write failed", p.stderr)
            self.assertFalse(os.path.exists(args[-1]))
        # A failed write to a device reports the failure and leaves the device.
        if os.path.exists("/dev/full") and stat.S_ISCHR(os.stat("/dev/full").st_mode):
            for args in (["copy", example("part.dxf"), "/dev/full"], ["svg", example("part.dxf"), "-o", "/dev/full"]):
                status, _, err = run(*args)
                self.assertEqual(status, 1, args)
                self.assertIn("write failed", err)
                self.assertTrue(stat.S_ISCHR(os.stat("/dev/full").st_mode), args)
        # Reading that stops early still copies what was read, and says so.
        bad = self.file("bad.dxf", dxf(line("A", (0, 0), (1, 1))).replace(b"ENDSEC\n  0\n", b"ENDSEC\njunk\n"))
        out = os.path.join(self.dir.name, "partial.dxf")
        status, _, err = run("copy", bad, out)
        self.assertEqual(status, 3)
        self.assertIn("warning: reading stopped early", err)
        self.assertEqual(len(self.jsonlist(out)), 1)


class ErrorTests(Temp):
    def fails(self, args, status=1, stdin=None):
        got, out, err = run(*args, stdin=stdin)
        self.assertEqual(got, status, (args, err))
        self.assertEqual(out, "", args)
        return err

    def oneline(self, args, where):
        err = self.fails(args)
        self.assertEqual(err.count("\n"), 1, err)
        self.assertTrue(err.startswith(where), (err, where))
        return err

    def test_bad_input(self):
        missing = os.path.join(self.dir.name, "missing.dxf")
        self.oneline(["list", missing], missing + ": cannot open")
        empty = self.file("empty.dxf", b"")
        self.oneline(["list", empty], empty + ":1: empty file")
        blank = self.file("blank.dxf", b"\n  \n\n")
        self.oneline(["stats", blank], blank + ":3: no DXF groups")
        badcode = self.file("bin.dxf", binary(line("A", (0, 0), (1, 1)))[:-15] + b"\xd2\x04junk")
        status, out, err = run("list", badcode)
        self.assertEqual(status, 3)
        self.assertEqual(err, badcode + ":" + str(os.path.getsize(badcode) - 4) +
                         ": warning: reading stopped early: numerical group code expected: "
                         "unknown binary group code 1234\n")
        text = self.file("text.txt", b"hello world\n")
        self.oneline(["layers", text], text + ":1: numerical group code expected: hello world (not a DXF")
        self.oneline(["list", self.dir.name], self.dir.name + ": cannot read")

    def test_reading_that_stops_early_reports_what_it_read(self):
        good = dxf(line("A", (0, 0), (1, 1)) + line("A", (1, 1), (2, 0)))
        lines = good.split(b"\n")
        # Line 37 is the group code of the ENDSEC record; a cut file has no
        # EOF record at all.
        cases = ((self.file("bad.dxf", b"\n".join(lines[:36] + [b"1x"] + lines[37:])),
                  ":37: warning: reading stopped early: numerical group code expected: 1x\n"),
                 (self.file("cut.dxf", good[:good.rindex(b"ENDSEC")]),
                  ":37: warning: reading stopped early: the drawing ends without an EOF record"))
        for path, warning in cases:
            for args in (["list", "--json", path], ["stats", path], ["layers", path], ["blocks", path],
                         ["svg", path, "-o", os.path.join(self.dir.name, "o.svg")]):
                got, out, err = run(*args)
                self.assertEqual(got, 3, args)
                self.assertTrue(err.startswith(path + warning), (args, err))
                self.assertEqual(err.count("\n"), 1, err)
            # The record in progress when reading stopped is not delivered.
            rows = [json.loads(r) for r in run("list", "--json", path)[1].splitlines()]
            self.assertEqual(len(rows), 1)
            self.assertTrue(os.path.exists(os.path.join(self.dir.name, "o.svg")))
            self.assertIn("stopped early", stats(run("stats", path)[1])["status"])

    def test_no_eof_record_after_the_last_section(self):
        good = dxf(line("A", (0, 0), (1, 1)))
        for name, data in (("noeof.dxf", good[:good.rindex(b"  0\nEOF")]),
                           ("crlf.dxf", good[:good.rindex(b"  0\nEOF")].replace(b"\n", b"\r\n") + b"\r\n"),
                           ("bin.dxf", binary(line("A", (0, 0), (1, 1)))[:-6])):
            path = self.file(name, data)
            with self.subTest(name):
                status, out, err = run("list", path)
                self.assertEqual(status, 3)
                self.assertEqual(len(out.splitlines()), 1)
                self.assertRegex(err, r"^" + re.escape(path) + r":\d+: warning: reading stopped early: "
                                 r"no EOF record \(the drawing ends after an ENDSEC\)\n$")
                self.assertIn("no EOF record", stats(run("stats", path)[1])["status"])

    def test_stats_json_reports_files_it_cannot_read(self):
        missing = os.path.join(self.dir.name, "missing.dxf")
        empty = self.file("empty.dxf", b"")
        status, out, err = run("stats", "--json", missing, example("part.dxf"), empty)
        self.assertEqual(status, 1)
        docs = [json.loads(l) for l in out.splitlines()]
        self.assertEqual(docs[0], {"file": missing, "status": "unreadable",
                                   "error": "cannot open: No such file or directory"})
        self.assertEqual(docs[1]["status"], "complete")
        self.assertEqual(docs[2], {"file": empty, "status": "unreadable", "error": "empty file, not a DXF drawing"})
        self.assertEqual(err.count("\n"), 2)

    def test_messages_escape_what_is_not_printable(self):
        odd = "a\x1b[31mb\u009bc"
        path = self.file(odd + ".dxf", dxf(line("A", (0, 0), (1, 1))).replace(b"ENDSEC\n  0\n", b"ENDSEC\n\x1b]0;x\x07\xff\n"))
        status, _, err = run("list", path)
        self.assertEqual(status, 3)
        shown = os.path.join(self.dir.name, "a\\x1b[31mb\\u009bc.dxf")
        self.assertTrue(err.startswith(shown + ":"), err)
        self.assertTrue(err.endswith("numerical group code expected: \\x1b]0;x\\x07\\xff\n"), err)
        for args in ([odd], ["list", "--" + odd, "x"]):
            p = subprocess.run([TOOL, *args], capture_output=True, timeout=60)
            self.assertEqual(p.returncode, 2)
            self.assertNotIn(b"\x1b", p.stderr)
            self.assertIn(b"\\x1b", p.stderr)

    def test_nothing_after_the_eof_record_is_read(self):
        for tail in (b"\x1a", b"junk\n", b"  0\nLINE\n 10\n5\n"):
            path = self.file("tail.dxf", dxf(line("A", (0, 0), (1, 1))) + tail)
            self.assertEqual(len(self.jsonlist(path)), 1)
            self.assertEqual(stats(self.ok("stats", path))["status"], "complete")

    def test_bad_usage(self):
        for args in ([], ["frob"], ["list"], ["list", "--nope", "x"], ["svg", example("part.dxf")],
                     ["copy", example("part.dxf")], ["svg", "a", "b", "-o", "x"], ["svg", "a", "-o", "x", "--width", "0"],
                     ["list", "--simple", "--exact", example("part.dxf")]):
            with self.subTest(args):
                err = self.fails(args, status=2)
                self.assertTrue(err)
        err = self.fails(["frobnicate", example("part.dxf")], status=2)
        self.assertTrue(err.startswith("ostra: unknown subcommand 'frobnicate'"), err)

    def test_several_files_and_the_worst_status(self):
        cut = self.file("cut.dxf", dxf(line("A", (0, 0), (1, 1)))[:-12])
        missing = os.path.join(self.dir.name, "missing.dxf")
        status, out, err = run("blocks", example("flange.dxf"), example("part.dxf"))
        self.assertEqual(status, 0)
        self.assertEqual(out, example("flange.dxf") + ":\n7\tBOLT\n11\tFLANGE\n\n" + example("part.dxf") + ":\n")
        status, out, err = run("stats", "--json", example("part.dxf"), cut)
        self.assertEqual(status, 3)
        docs = [json.loads(l) for l in out.splitlines()]
        self.assertEqual([d["file"] for d in docs], [example("part.dxf"), cut])
        self.assertEqual(run("list", cut, missing, example("part.dxf"))[0], 1)
        rows = [json.loads(l) for l in run("list", "--json", example("part.dxf"), cut)[1].splitlines()]
        self.assertEqual({r["file"] for r in rows}, {example("part.dxf"), cut})

    def test_help_and_version(self):
        for args in (["--help"], ["list", "--help"], ["svg", "--help"], ["copy", "--help"]):
            status, out, _ = run(*args)
            self.assertEqual(status, 0)
            self.assertIn("Usage", out)
            self.assertIn("standard output", out)
        self.assertEqual(self.ok("--version").strip(), VERSION)
        self.assertEqual(self.ok("help"), self.ok("--help"))
        self.assertEqual(self.ok("help", "copy"), self.ok("copy", "--help"))


class BinaryTests(Temp):
    def test_binary_drawing_reads_as_its_text_form(self):
        entities = line("A", (0, 0), (1.5, 2)) + arc("B", (5, 5), 2, 0, 90) + insert("E", (10, 0), 2, 2, 30)
        blocks = block("E", circle("C", (1, 0), 0.5) + line("C", (0, 0), (1, 1)))
        text = self.file("t.dxf", dxf(entities, blocks))
        binfile = self.file("b.dxf", binary(entities, blocks))
        want = self.ok("list", "--json", text)
        self.assertEqual(len(want.splitlines()), 4)
        self.assertEqual(self.ok("list", "--json", binfile), want)
        with open(binfile, "rb") as f:
            self.assertEqual(self.ok("list", "--json", "-", stdin=f.read()), want)
        self.assertEqual(self.ok("layers", binfile), self.ok("layers", text))
        self.assertEqual(self.ok("blocks", binfile), self.ok("blocks", text))


class LimitTests(Temp):
    """The work limit (--limit, 100 million by default) and drawings with
    CR line ends."""

    def huge(self, cells=30000, hidden=0):
        """An insert of cells x cells of a block with one line and hidden lines."""
        lines = line("L", (0, 0), (1, 0)) + line("OFF", (0, 0), (1, 0)) * hidden
        ents = [(0, "INSERT"), (8, "0"), (2, "B"), (70, cells), (71, cells), (44, 1), (45, 1)]
        return self.file("huge.dxf", drawing([], [("OFF", -1, 0)], ents, block("B", lines)))

    def test_limit_stops_every_subcommand(self):
        path = self.huge()
        warning = (": warning: reading stopped early: the work limit of 1000 geometries was reached "
                   "(--limit N, 0 for none)\n")
        svg = os.path.join(self.dir.name, "o.svg")
        for args in (["list", path], ["layers", path], ["blocks", path], ["stats", "--json", path],
                     ["svg", path, "-o", svg], ["copy", path, os.path.join(self.dir.name, "o.dxf")]):
            got, out, err = run(*args, "--limit", "1000")
            self.assertEqual(got, 3, args)
            self.assertRegex(err, "^" + re.escape(path) + r":\d+" + re.escape(warning) + "$")
        # The block keeps its line (1), the cells deliver the other 999.
        self.assertEqual(len(run("list", "--simple", "--limit", "1000", path)[1].splitlines()), 999)
        small = self.huge(cells=3)
        self.assertEqual(len(self.ok("list", "--limit", "0", small).splitlines()), 9)
        self.assertEqual(len(self.ok("list", "--limit", "10", small).splitlines()), 9)
        self.assertEqual(run("list", "--limit", "9", small)[0], 3)
        self.assertEqual(run("list", "--limit", "-1", small)[0], 2)

    def test_default_limit_bounds_an_array_of_hidden_lines(self):
        # 9e8 cells of 999 hidden lines each: only the default limit ends it.
        path = self.huge(hidden=999)
        got, out, err = run("stats", path)
        self.assertEqual(got, 3)
        self.assertIn("warning: reading stopped early: the work limit of 100000000 geometries", err)
        self.assertIn("100000000", run("list", "--help")[1])

    def test_cr_line_ends(self):
        lf = dxf(line("A", (0, 0), (1, 1)) + circle("B", (2, 2), 3))
        cr = self.file("cr.dxf", lf.replace(b"\n", b"\r"))
        self.assertEqual(self.ok("list", cr), self.ok("list", self.file("lf.dxf", lf)))
        # The simple reading keeps the LF rule: one line that is no code.
        status, out, err = run("list", "--simple", cr)
        self.assertEqual(status, 1)
        self.assertIn("not a DXF drawing?", err)


class StdinTests(Temp):
    def test_dash_reads_standard_input(self):
        with open(example("plan.dxf"), "rb") as f:
            data = f.read()
        self.assertEqual(self.ok("list", "-", stdin=data), self.ok("list", example("plan.dxf")))
        s = stats(self.ok("stats", "-", stdin=data))
        self.assertEqual(int(s["bytes"]), len(data))
        status, _, err = run("list", "-", stdin=b"")
        self.assertEqual((status, err), (1, "<stdin>:1: empty file, not a DXF drawing\n"))

    def test_standard_input_larger_than_the_stream_buffer(self):
        # About 200 KiB: the stream's 64 KiB buffer is refilled several
        # times, with groups cut at its end; reading it is reading the file.
        lines = []
        for i in range(2500):
            lines += [(0, "LINE"), (8, "L%d" % (i % 7)), (10, i * 0.125), (20, -i / 3.0), (30, 0),
                      (11, i + 0.5), (21, i * 1e-3), (31, 1.0 / (i + 1))]
        data = dxf(lines)
        self.assertGreater(len(data), 3 * 65536)
        path = self.file("big.dxf", data)
        want = self.ok("list", path)
        self.assertEqual(len(want.splitlines()), 2500)
        self.assertEqual(self.ok("list", "-", stdin=data), want)
        self.assertEqual(int(stats(self.ok("stats", "-", stdin=data))["bytes"]), len(data))

    def test_progress_only_on_a_terminal(self):
        # A pipe as standard error never sees progress, however slow the
        # input; a terminal does once reading takes a while.
        data = dxf(line("A", (0, 0), (1, 1)) * 2000)

        def slowly(stderr):
            p = subprocess.Popen([TOOL, "stats", "-"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                 stderr=stderr)
            p.stdin.write(data[:1000])
            p.stdin.flush()
            time.sleep(1.0)
            p.stdin.write(data[1000:])
            p.stdin.close()
            return p

        p = slowly(subprocess.PIPE)
        err = p.stderr.read()
        p.stdout.close()
        p.stderr.close()
        self.assertEqual((p.wait(timeout=30), err), (0, b""))

        master, slave = pty.openpty()
        p = slowly(slave)
        os.close(slave)
        seen = b""
        while True:
            ready, _, _ = select.select([master], [], [], 10)
            if not ready:
                break
            try:
                chunk = os.read(master, 4096)
            except OSError:
                break
            if not chunk:
                break
            seen += chunk
        p.wait(timeout=30)
        p.stdout.close()
        os.close(master)
        self.assertEqual(p.returncode, 0)
        self.assertIn(b"<stdin>: ", seen)
        self.assertIn(b"MB read", seen)


if __name__ == "__main__":
    TOOL, EXAMPLES, VERSION = sys.argv[1:4]
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=1)
