"""Shared helpers of the module's tests: drawings made here, the sample
drawings, and the command-line tool's listing as the C++ reference."""

import json
import math
import os
import random
import struct
import subprocess

import pytest

EXAMPLES = os.environ.get("OSTRA_EXAMPLES", os.path.join(os.path.dirname(__file__), "..", "..", "examples"))
TOOL = os.environ.get("OSTRA_TOOL")


def pairs_text(pairs):
    """DXF text from (code, value) pairs; values may be bytes."""
    out = b""
    for code, value in pairs:
        v = value if isinstance(value, bytes) else str(value).encode()
        out += b"%3d\n" % code + v + b"\n"
    return out


def drawing(entities, blocks=(), header=(), layers=(), eof=True):
    """A drawing: HEADER variables ((name, [(code, value), ...]), ...), LAYER
    entries ((name, colour, flags[, linetype]), ...), blocks and entities as
    pairs."""
    pairs = []
    if header:
        pairs += [(0, "SECTION"), (2, "HEADER")]
        for name, groups in header:
            pairs += [(9, name)] + list(groups)
        pairs += [(0, "ENDSEC")]
    if layers:
        pairs += [(0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER"), (70, len(layers))]
        for name, colour, flags, *linetype in layers:
            pairs += [(0, "LAYER"), (2, name), (70, flags), (62, colour), (6, (linetype or ["CONTINUOUS"])[0])]
        pairs += [(0, "ENDTAB"), (0, "ENDSEC")]
    if blocks:
        pairs += [(0, "SECTION"), (2, "BLOCKS")] + list(blocks) + [(0, "ENDSEC")]
    pairs += [(0, "SECTION"), (2, "ENTITIES")] + list(entities) + [(0, "ENDSEC")]
    if eof:
        pairs += [(0, "EOF")]
    return pairs_text(pairs)


def line(x0, y0, x1, y1, layer="0", z=0.0, extra=()):
    return [(0, "LINE"), (8, layer)] + list(extra) + [(10, x0), (20, y0), (30, z), (11, x1), (21, y1), (31, z)]


def every_kind(seed=1, count=8):
    """A drawing of every kind the exact reading gives, on three layers, with
    index and true colours, a tilted arc, a bulged closed polyline, a
    spline, an ellipse, points and a block inserted twice."""
    rnd = random.Random(seed)
    layers = ["A", "B", "C"]
    ents = []

    def r():
        return round(rnd.uniform(-100, 100), 6)

    for i in range(count):
        lay = layers[i % 3]
        colour = [(62, 1 + i % 7)] if i % 2 else [(420, rnd.randrange(1 << 24))]
        ents += line(r(), r(), r(), r(), lay, extra=colour)
        ents += [(0, "ARC"), (8, lay), (10, r()), (20, r()), (30, 0), (40, abs(r()) + 1), (50, r()), (51, r())]
        ents += [(0, "CIRCLE"), (8, lay), (62, 3), (10, r()), (20, r()), (30, r()), (40, abs(r()) + 1)]
        ents += [(0, "POINT"), (8, lay), (10, r()), (20, r()), (30, r())]
        ents += [(0, "ELLIPSE"), (8, lay), (10, r()), (20, r()), (30, 0), (11, 10 + i), (21, 5), (31, 0),
                 (210, 0), (220, 0), (230, 1), (40, 0.5), (41, 0), (42, 4.5)]
    ents += [(0, "ARC"), (8, "B"), (10, 1), (20, 2), (30, 3), (40, 4), (50, 10), (51, 100),
             (210, 0.6), (220, 0), (230, 0.8)]
    ents += [(0, "LWPOLYLINE"), (8, "C"), (90, 3), (70, 1), (10, 0), (20, 0), (42, 0.5), (10, 10), (20, 0),
             (10, 10), (20, 10)]
    ents += [(0, "SPLINE"), (8, "A"), (70, 8), (71, 3), (72, 8), (73, 4), (40, 0), (40, 0), (40, 0), (40, 0),
             (40, 1), (40, 1), (40, 1), (40, 1), (10, 0), (20, 0), (30, 0), (10, 1), (20, 2), (30, 0),
             (10, 3), (20, 2), (30, 0), (10, 4), (20, 0), (30, 0)]
    ents += [(0, "INSERT"), (8, "B"), (62, 5), (2, "PART"), (10, 50), (20, 50), (30, 0), (50, 30)]
    ents += [(0, "INSERT"), (8, "C"), (2, "PART"), (10, -50), (20, 0), (30, 0), (41, 2), (42, 2)]
    blocks = [(0, "BLOCK"), (8, "0"), (2, "PART"), (70, 0), (10, 0), (20, 0), (30, 0)]
    blocks += line(0, 0, 5, 0, "0", extra=[(62, 0)]) + [(0, "CIRCLE"), (8, "A"), (10, 1), (20, 1), (30, 0),
                                                        (40, 2)]
    blocks += [(0, "ENDBLK")]
    header = [("$ACADVER", [(1, "AC1015")]), ("$INSUNITS", [(70, 4)])]
    return drawing(ents, blocks, header, [("A", 1, 0), ("B", 2, 0), ("C", 4, 0)])


def binary_drawing(segments):
    """The binary form (two-byte codes) of a drawing of LINE records."""
    out = b"AutoCAD Binary DXF\r\n\x1a\x00"

    def group(code, value):
        if isinstance(value, float):
            return struct.pack("<Hd", code, value)
        return struct.pack("<H", code) + value.encode() + b"\x00"

    out += group(0, "SECTION") + group(2, "ENTITIES")
    for (x0, y0, z0), (x1, y1, z1), layer in segments:
        out += group(0, "LINE") + group(8, layer)
        for code, v in ((10, x0), (20, y0), (30, z0), (11, x1), (21, y1), (31, z1)):
            out += group(code, float(v))
    return out + group(0, "ENDSEC") + group(0, "EOF")


def example(name):
    return os.path.join(EXAMPLES, name)


def examples():
    return sorted(os.path.join(EXAMPLES, f) for f in os.listdir(EXAMPLES) if f.endswith(".dxf"))


def tool(*args):
    """The tool's standard output; skips the test without a tool."""
    if not TOOL:
        pytest.skip("the command-line tool is not built")
    p = subprocess.run([TOOL, *args], capture_output=True, check=False, timeout=120)
    assert p.returncode in (0, 3), p.stderr
    return p.stdout.decode("utf-8")


def tool_list(path, *options):
    """`ostra list --json`: one dict per geometry, in reading order."""
    return [json.loads(l) for l in tool("list", "--json", *options, str(path)).splitlines()]


def num(v):
    return math.nan if v is None else v


def same(a, b, rel=1e-9):
    """Numbers (or sequences of them) equal within rel of their size, nan
    equal to nan."""
    if isinstance(a, (list, tuple)) or hasattr(a, "__len__"):
        return len(a) == len(b) and all(same(x, y, rel) for x, y in zip(a, b))
    a, b = num(float(a)), num(float(b))
    if math.isnan(a) or math.isnan(b):
        return math.isnan(a) and math.isnan(b)
    return abs(a - b) <= rel * max(1.0, abs(a), abs(b))


@pytest.fixture
def tmpdxf(tmp_path):
    """Writes bytes to a new .dxf file and gives its path."""
    count = [0]

    def make(data, name=None):
        count[0] += 1
        p = tmp_path / (name or "d%d.dxf" % count[0])
        p.write_bytes(data)
        return p
    return make


def ocs_axes(n):
    """The x and y axes of the object coordinate system of unit normal n."""
    helper = (0.0, 1.0, 0.0) if abs(n[0]) < 1 / 64 and abs(n[1]) < 1 / 64 else (0.0, 0.0, 1.0)

    def cross(a, b):
        return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])

    def unit(v):
        length = math.sqrt(sum(c * c for c in v))
        return tuple(c / length for c in v)
    ax = unit(cross(helper, n))
    return ax, unit(cross(n, ax))


def arc_start(center, normal, radius, angle):
    """The start point of an arc from its start angle in its normal's OCS."""
    ax, ay = ocs_axes(normal)
    c, s = math.cos(math.radians(angle)), math.sin(math.radians(angle))
    return tuple(center[k] + radius * (c * ax[k] + s * ay[k]) for k in range(3))


KIND_OF = {"line": "segments", "arc": "arcs", "circle": "circles", "ellipse": "ellipses", "point": "points"}


def assert_like_listing(d, listing):
    """The drawing's tables hold the listing's geometries, kind by kind in
    the listing's order, on the same layers: numbers the tool prints exactly
    are equal, an arc's start point (from its angle) within 1e-9."""
    rows = {k: [] for k in KIND_OF.values()}
    for g in listing:
        rows[KIND_OF[g["kind"]]].append(g)
    for kind, want in rows.items():
        t = getattr(d, kind)
        assert len(t) == len(want), kind
        for i, g in enumerate(want):
            assert d.layers[t.layer[i]] == g["layer"], (kind, i)
            assert (int(t.item[i]), int(t.piece[i]), bool(t.closed[i])) == (g["item"], g["piece"], g["closed"])
            if kind == "segments":
                assert same(t.start[i], g["start"], 0) and same(t.end[i], g["end"], 0), (kind, i)
            elif kind == "points":
                assert same(t.location[i], g["at"], 0), (kind, i)
            elif kind == "circles":
                assert same(t.center[i], g["center"], 0) and same(t.radius[i], g["radius"], 0)
                assert same(t.normal[i], g["normal"], 0), (kind, i)
            elif kind == "arcs":
                assert same(t.center[i], g["center"], 0) and same(t.radius[i], g["radius"], 0)
                assert same(t.normal[i], g["normal"], 0) and same(t.sweep[i], g["sweep"], 0)
                assert 0 <= t.start_angle[i] < 360
                start = arc_start(t.center[i], t.normal[i], t.radius[i], t.start_angle[i])
                assert same(start, g["start"], 1e-9), (kind, i)
            else:
                assert same(t.center[i], g["center"], 0) and same(t.major[i], g["major"], 0)
                assert same(t.normal[i], g["normal"], 0) and same(t.ratio[i], g["ratio"], 0)
                assert same(t.start_param[i], g["startparam"], 0) and same(t.end_param[i], g["endparam"], 0)
