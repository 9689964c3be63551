"""ostra.write(): a Drawing or dicts of arrays through the extended writer
and read back, the plain writer, and the errors."""

import errno
import os

import numpy as np
import pytest

import ostra
from conftest import arc_start, drawing, every_kind, example, examples, line, same, tool


def arc_ends(t, i):
    """An arc's end points, from its start angle."""
    s = arc_start(t.center[i], t.normal[i], t.radius[i], t.start_angle[i])
    e = arc_start(t.center[i], t.normal[i], t.radius[i], t.start_angle[i] + t.sweep[i])
    return s, e


def assert_round_trip(d, back):
    """The same segments, circles, points and arcs on the same layers in the
    same colours, within 1e-6 relative; arcs and circles may come back about
    the reversed normal (an arc with its ends swapped). Ellipses come back
    as arcs and segments within their extents."""
    assert [back.layers[i] for i in back.segments.layer[:len(d.segments)]] == \
        [d.layers[i] for i in d.segments.layer]
    for kind in ("segments", "circles", "points"):
        a, b = getattr(d, kind), getattr(back, kind)
        assert len(b) == len(a), kind
        for name in a.columns:
            if name == "normal":
                assert all(same(x, y, 1e-6) or same(x, -y, 1e-6) for x, y in zip(a.normal, b.normal))
            elif name == "layer":
                assert [d.layers[i] for i in a.layer] == [back.layers[i] for i in b.layer]
            elif name not in ("color", "aci", "item", "piece", "closed"):
                assert same(a[name].ravel(), b[name].ravel(), 1e-6), (kind, name)
    # Every geometry written in its index colour; a true colour alone comes
    # back as the nearest index's colour.
    for kind in ("segments", "circles", "points"):
        a, b = getattr(d, kind), getattr(back, kind)
        indexed = a.aci != 0
        assert np.array_equal(a.color[indexed], b.color[indexed]), kind
        assert np.array_equal(a.aci[indexed], b.aci[indexed]), kind
        assert (b.aci[~indexed] > 0).all()
    a, b = d.arcs, back.arcs
    assert len(b) >= len(a)
    for i in range(len(a)):
        assert same(a.center[i], b.center[i], 1e-6) and same(a.radius[i], b.radius[i], 1e-6)
        assert same(abs(a.sweep[i]), abs(b.sweep[i]), 1e-6)
        ends, back_ends = arc_ends(a, i), arc_ends(b, i)
        assert same(ends, back_ends, 1e-6) or same(ends, back_ends[::-1], 1e-6), i
    assert len(back.ellipses) == 0
    if len(d.ellipses):
        lo, hi = d.extents()
        blo, bhi = back.extents()
        assert same(lo, blo, 1e-3) and same(hi, bhi, 1e-3)


class TestRoundTrip:
    @pytest.mark.parametrize("path", examples())
    def test_examples(self, path, tmp_path):
        d = ostra.read(path)
        out = tmp_path / "out.dxf"
        counts = ostra.write(out, d)
        assert counts["refused"] == 0 and counts["segments"] == len(d.segments)
        back = ostra.read(out)
        assert back.status == "endofdrawing"
        assert_round_trip(d, back)

    def test_every_kind(self, tmpdxf, tmp_path):
        d = ostra.read(tmpdxf(every_kind(seed=21)))
        out = tmp_path / "every.dxf"
        counts = ostra.write(str(out), d)
        assert counts["ellipses"] == len(d.ellipses) > 0 and counts["points"] == len(d.points) > 0
        back = ostra.read(out)
        used = {d.layers[i] for _, t in d.tables() for i in t.layer}
        assert used == set(back.layers)
        assert_round_trip(d, back)

    def test_header_and_layer_table_by_hand(self, tmpdxf, tmp_path):
        # The copy says R2007 and keeps the code page, units and extents, and
        # nothing else of the header; the entries keep their colours, off
        # state, linetypes, and of the flags frozen (1), frozen in new
        # viewports (2) and locked (4); the layers used without an entry get
        # one of colour 7.
        header = [("$ACADVER", [(1, "AC1015")]), ("$DWGCODEPAGE", [(3, "ANSI_1251")]), ("$INSUNITS", [(70, 6)]),
                  ("$EXTMIN", [(10, -1.25), (20, -2), (30, 0)]), ("$EXTMAX", [(10, 30), (20, 40.5), (30, 5)]),
                  ("$LTSCALE", [(40, 2)])]
        layers = [("WALL", 1, 0, "DASHED"), ("OFF", -3, 2), ("ICE", 5, 17, "CENTER"), ("KEEP", 250, 4)]
        ents = line(0, 0, 1, 1, "WALL") + line(0, 0, 2, 2, "NEW") + line(0, 0, 3, 3, "KEEP")
        d = ostra.read(tmpdxf(drawing(ents, header=header, layers=layers)))
        out = tmp_path / "described.dxf"
        ostra.write(out, d)
        back = ostra.read(out)
        assert back.header == {"$ACADVER": "AC1021", "$DWGCODEPAGE": "ANSI_1251", "$INSUNITS": 6,
                               "$EXTMIN": (-1.25, -2.0, 0.0), "$EXTMAX": (30.0, 40.5, 5.0)}
        assert back.layer_table == [("WALL", 0xFF0000, 1, 0, "DASHED"), ("OFF", 0x00FF00, -3, 2, "CONTINUOUS"),
                                    ("ICE", 0x0000FF, 5, 1, "CENTER"), ("KEEP", 0x333333, 250, 4, "CONTINUOUS"),
                                    ("NEW", 0xFFFFFF, 7, 0, "CONTINUOUS")]
        assert back.units == d.units and back.layers == d.layers
        assert back.segments.end[:, 0].tolist() == [1, 2, 3]

    @pytest.mark.parametrize("path", examples())
    def test_described_as_the_tools_copy(self, path, tmp_path):
        ours, theirs = tmp_path / "ours.dxf", tmp_path / "theirs.dxf"
        ostra.write(ours, ostra.read(path))
        tool("copy", path, str(theirs))
        a, b = ostra.read(ours), ostra.read(theirs)
        assert a.header == b.header and a.units == b.units
        # The tool writes entries for the layers used only, in order of
        # first use, and the geometry in reading order, not kind by kind.
        used = {e.name: e for e in b.layer_table}
        assert {e.name: e for e in a.layer_table if e.name in used} == used
        assert a.counts() == b.counts() and sorted(a.layers) == sorted(b.layers)

    def test_plain_writer(self, tmpdxf, tmp_path):
        d = ostra.read(tmpdxf(every_kind(seed=22)))
        out = tmp_path / "plain.dxf"
        counts = ostra.write(out, d, simple=True)
        assert counts["refused"] == len(d.arcs) + len(d.ellipses) + len(d.points)
        back = ostra.read(out)
        assert back.layers == ["0"] and len(back.segments) == len(d.segments)
        assert back.header == {} and back.layer_table == []
        assert len(back.circles) == len(d.circles) and len(back.arcs) == 0
        assert same(back.segments.end.ravel(), d.segments.end.ravel(), 1e-6)

    def test_dicts_with_table_and_header(self, tmp_path):
        out = tmp_path / "described.dxf"
        ostra.write(out, {"layers": ["0", "CUT"], "layer_table": [("CUT", 0, -2, 4, "HIDDEN")],
                          "header": {"$INSUNITS": 1, "$EXTMIN": (0, 0), "$EXTMAX": (5.5, float("nan")),
                                     "$DWGCODEPAGE": "bad\ncode page"},
                          "segments": {"start": [[0, 0, 0]], "end": [[5, 5, 0]], "layer": [1]}})
        back = ostra.read(out)
        # A point without a finite y is left out; a code page that cannot be
        # written is the default one.
        assert back.header == {"$ACADVER": "AC1021", "$DWGCODEPAGE": "ANSI_1252", "$INSUNITS": 1,
                               "$EXTMIN": (0.0, 0.0)}
        assert back.layer_table == [("CUT", 0xFFFF00, -2, 4, "HIDDEN"), ("0", 0xFFFFFF, 7, 0, "CONTINUOUS")]
        assert back.units.name == "inches"
        seg = {"start": [[0, 0, 0]], "end": [[5, 5, 0]]}
        for bad, kind in (({"header": [1]}, TypeError), ({"layer_table": [("A", 0, 1.5, 0, "")]}, TypeError),
                          ({"layer_table": [(1, 0, 1, 0, "")]}, TypeError),
                          ({"layer_table": [("A", 0, -2**31, 0, "")]}, ValueError),
                          ({"layer_table": [("A", 0, 1, 2**40, "")]}, ValueError)):
            with pytest.raises(kind):
                ostra.write(out, dict(bad, segments=seg))

    def test_dicts_of_arrays(self, tmp_path):
        out = tmp_path / "dict.dxf"
        counts = ostra.write(out, {
            "layers": ["0", "CUT"],
            "segments": {"start": [[0, 0, 0], [1, 1, 0]], "end": [[1, 2, 0], [3, 3, 3]], "layer": [1, 0],
                         "aci": [1, 256]},
            "circles": {"center": np.zeros((1, 3)), "normal": [[0, 0, 1]], "radius": [5]},
            "arcs": {"center": [[1, 1, 0]], "normal": [[0, 0, 1]], "radius": [2], "start_angle": [90],
                     "sweep": [180]},
        })
        assert counts == {"segments": 2, "arcs": 1, "circles": 1, "ellipses": 0, "points": 0, "refused": 0}
        back = ostra.read(out)
        assert back.segments.end.tolist() == [[1, 2, 0], [3, 3, 3]]
        assert [back.layers[i] for i in back.segments.layer] == ["CUT", "0"]
        # Index 1 is red; 256, the layer's, is the entry's colour 7.
        assert back.segments.aci.tolist() == [1, 7] and int(back.segments.color[0]) == 0xFF0000
        assert back.circles.radius.tolist() == [5.0]
        assert same(back.arcs.start_angle, [90], 1e-9) and same(back.arcs.sweep, [180], 1e-9)


class TestErrors:
    def test_bad_columns_and_names(self, tmp_path):
        out = tmp_path / "x.dxf"
        seg = {"start": [[0, 0, 0]], "end": [[1, 1, 1]]}
        for drawing_, kind in (({"segments": {"start": [[0, 0, 0]]}}, ValueError),
                               ({"segments": {"start": [[0, 0]], "end": [[1, 1]]}}, ValueError),
                               ({"segments": {"start": [[0, 0, 0]], "end": [[1, 1, 1], [2, 2, 2]]}}, ValueError),
                               ({"segments": dict(seg, layer=[3])}, ValueError),
                               ({"segments": dict(seg, aci=[300])}, ValueError),
                               ({"lines": seg}, ValueError),
                               ({"layers": [" padded"], "segments": seg}, ValueError),
                               ({"layers": ["a\nb"], "segments": seg}, ValueError),
                               ({"layers": ["x" * 80], "segments": seg}, ValueError),
                               ([1, 2], TypeError)):
            with pytest.raises(kind):
                ostra.write(out, drawing_)
        assert not out.exists()

    def test_unwritable(self, tmp_path):
        d = ostra.read(example("part.dxf"))
        with pytest.raises(FileNotFoundError):
            ostra.write(tmp_path / "no" / "such.dxf", d)
        if os.path.exists("/dev/full") and os.access("/dev/full", os.W_OK):
            with pytest.raises(OSError) as e:
                ostra.write("/dev/full", d)
            assert e.value.errno == errno.ENOSPC and os.path.exists("/dev/full")

    def test_a_layer_written_twice_in_other_case(self, tmp_path):
        out = tmp_path / "case.dxf"
        ostra.write(out, {"layers": ["Wall", "WALL"], "segments": {
            "start": [[0, 0, 0], [0, 0, 0]], "end": [[1, 0, 0], [2, 0, 0]], "layer": [0, 1]}})
        # The exact reading compares names without regard to case, as a CAD
        # program does: one layer, under the first spelling met; the
        # default reading keeps the two spellings apart.
        back = ostra.read(out)
        assert [back.layers[i] for i in back.segments.layer] == ["Wall", "Wall"]
        assert back.status == "endofdrawing"
        simple = ostra.read(out, exact=False)
        assert [simple.layers[i] for i in simple.segments.layer] == ["Wall", "WALL"]
