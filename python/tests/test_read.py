"""ostra.read(): the arrays against the C++ listing, the sources, colours,
layers, the header and listings, statuses, errors, pickling and pandas."""

import errno
import gzip
import io
import json
import pathlib
import pickle

import numpy as np
import pytest

import ostra
from conftest import (assert_like_listing, binary_drawing, drawing, every_kind, example, examples, line, same,
                      tool, tool_list)


def arrays(d):
    return {(kind, name): t[name] for kind, t in d.tables() for name in t.columns}


def assert_same_drawing(a, b):
    assert a.status == b.status and a.layers == b.layers and a.header == b.header
    assert a.layer_table == b.layer_table and a.units == b.units
    assert a.blocks == b.blocks and a.skipped == b.skipped and a.hidden == b.hidden
    x, y = arrays(a), arrays(b)
    assert x.keys() == y.keys()
    for key in x:
        assert x[key].dtype == y[key].dtype and np.array_equal(x[key], y[key], equal_nan=True), key


class TestAgainstListing:
    @pytest.mark.parametrize("path", examples(), ids=lambda p: pathlib.Path(p).name)
    def test_examples(self, path):
        assert_like_listing(ostra.read(path), tool_list(path))

    def test_every_kind(self, tmpdxf):
        p = tmpdxf(every_kind())
        d = ostra.read(p)
        assert all(len(t) > 0 for _, t in d.tables()), d
        assert_like_listing(d, tool_list(p))

    def test_default_reading(self, tmpdxf):
        p = tmpdxf(every_kind(seed=3))
        d = ostra.read(p, exact=False)
        assert len(d.points) == 0 and len(d.ellipses) == 0
        assert_like_listing(d, tool_list(p, "--simple"))

    def test_layer_filter(self, tmpdxf):
        p = tmpdxf(every_kind(seed=4))
        for layers in (["A", "C"], "B"):
            d = ostra.read(p, layers=layers)
            names = layers if isinstance(layers, list) else [layers]
            assert {d.layers[i] for _, t in d.tables() for i in t.layer} <= set(names)
            assert_like_listing(d, tool_list(p, "--layers", ",".join(names)))

    def test_extents_as_stats(self, tmpdxf):
        # Geometry with a number that is not finite is left out.
        odd = drawing(line(1, 2, 3, 4) + line(0, 0, "nan", 9) + [(0, "CIRCLE"), (8, "0"), (10, 5), (20, 5),
                                                                   (30, 0), (40, "inf")])
        for p in examples() + [str(tmpdxf(every_kind(seed=5))), str(tmpdxf(odd))]:
            want = json.loads(tool("stats", "--json", p))["extents"]
            lo, hi = ostra.read(p).extents()
            assert same(lo, want["min"]) and same(hi, want["max"]), p


class TestColumns:
    def test_types_shapes_and_no_copy(self, tmpdxf):
        d = ostra.read(tmpdxf(every_kind()))
        for kind, t in d.tables():
            n = len(t)
            for name in t.columns:
                a = t[name]
                assert a.shape[0] == n and not a.flags.owndata and a.base is not None, (kind, name)
            assert t.layer.dtype == np.int32 and t.color.dtype == np.uint32 and t.aci.dtype == np.int16
            assert t.item.dtype == np.int64 and t.piece.dtype == np.int32 and t.closed.dtype == np.bool_
        assert d.segments.start.shape[1:] == (3,) and d.segments.start.dtype == np.float64
        assert d.arcs.radius.ndim == 1 and d.ellipses.major.shape[1:] == (3,)

    def test_colours_by_hand(self, tmpdxf):
        # Index 3 is 00FF00, the layer's 1 FF0000, a true colour alone has
        # index 0, both give the true colour and the index, BYBLOCK takes
        # the insert's 6 (FF00FF), and an index out of range is BYLAYER.
        ents = (line(0, 0, 1, 0, "L", extra=[(62, 3)]) + line(0, 0, 2, 0, "RED") +
                line(0, 0, 3, 0, "L", extra=[(420, 0x123456)]) +
                line(0, 0, 4, 0, "L", extra=[(62, 5), (420, 0xABCDEF)]) +
                [(0, "INSERT"), (8, "L"), (62, 6), (2, "B"), (10, 0), (20, 0), (30, 0)] +
                line(0, 0, 6, 0, "RED", extra=[(62, 999)]))
        blocks = [(0, "BLOCK"), (8, "0"), (2, "B"), (70, 0), (10, 0), (20, 0), (30, 0)]
        blocks += line(0, 0, 5, 0, "L", extra=[(62, 0)]) + [(0, "ENDBLK")]
        d = ostra.read(tmpdxf(drawing(ents, blocks, layers=[("RED", 1, 0)])))
        s = d.segments
        assert list(s.end[:, 0]) == [1, 2, 3, 4, 5, 6]
        assert [int(c) for c in s.color] == [0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0xFF00FF, 0xFF0000]
        assert list(s.aci) == [3, 1, 0, 5, 6, 1]
        assert [d.layers[i] for i in s.layer] == ["L", "RED", "L", "L", "L", "RED"]

    @pytest.mark.parametrize("exact", [True, False])
    def test_items_pieces_closed_by_hand(self, exact):
        # A closed polyline with a bulge (an arc and its two segments, the
        # last one its closing piece; the default reading keeps it straight
        # and open), a line, a circle, and a block of a line and an arc
        # inserted in two array cells: each cell's entities are items of
        # their own.
        ents = [(0, "LWPOLYLINE"), (8, "A"), (90, 3), (70, 1), (10, 0), (20, 0), (42, 0.5), (10, 10), (20, 0),
                (10, 10), (20, 10)]
        ents += line(0, 0, 1, 1, "A") + [(0, "CIRCLE"), (8, "A"), (10, 0), (20, 0), (30, 0), (40, 1)]
        ents += [(0, "INSERT"), (8, "B"), (2, "P"), (10, 5), (20, 5), (30, 0), (70, 2), (71, 1), (44, 100)]
        blocks = [(0, "BLOCK"), (2, "P"), (70, 0), (10, 0), (20, 0), (30, 0)] + line(0, 0, 5, 0)
        blocks += [(0, "ARC"), (8, "0"), (10, 0), (20, 0), (30, 0), (40, 2), (50, 0), (51, 90), (0, "ENDBLK")]
        d = ostra.read(drawing(ents, blocks), exact=exact)
        s, a, c = d.segments, d.arcs, d.circles
        assert s.item.tolist() == [1, 1, 2, 4, 6] and c.item.tolist() == [3] and c.closed.tolist() == [True]
        if exact:
            assert s.piece.tolist() == [1, 2, 0, 0, 0] and s.closed.tolist() == [True, True, False, False, False]
            assert a.item.tolist() == [1, 5, 7] and a.piece.tolist() == [0, 0, 0]
            assert a.closed.tolist() == [True, False, False]
        else:
            assert s.piece.tolist() == [0, 1, 0, 0, 0] and not s.closed.any()
            assert a.item.tolist() == [5, 7] and not a.closed.any()

    def test_layers_in_order_of_first_use(self, tmpdxf):
        ents = line(0, 0, 1, 1, "Z") + line(0, 0, 1, 1, "Ä-ß") + line(0, 0, 1, 1, "Z") + line(0, 0, 1, 1, "0")
        d = ostra.read(tmpdxf(drawing(ents, header=[("$ACADVER", [(1, "AC1021")])])))
        assert d.layers == ["Z", "Ä-ß", "0"]
        assert list(d.segments.layer) == [0, 1, 0, 2]


class TestSources:
    def test_every_source_gives_the_same(self, tmpdxf):
        data = every_kind(seed=7)
        p = tmpdxf(data)
        want = ostra.read(str(p))
        gz = p.with_suffix(".gz")
        with gzip.open(gz, "wb") as f:
            f.write(data)
        for source in (p, data, bytearray(data), memoryview(data), np.frombuffer(data, np.uint8)):
            assert_same_drawing(ostra.read(source), want)
        with open(p, "rb") as f:
            assert_same_drawing(ostra.read(f), want)
        assert_same_drawing(ostra.read(io.BytesIO(data)), want)
        with gzip.open(gz, "rb") as f:
            assert_same_drawing(ostra.read(f), want)
        for how in ("stream", "whole"):
            raw = ostra._ostra.read("path", str(p), True, None, 0.0, False, how=how)
            assert_same_drawing(ostra.Drawing._fromraw(raw), want)

    def test_binary_form(self):
        segs = [((1.5, 2, 3), (4, 5, 6.25), "A"), ((0, 0, 0), (1e-300, 1e300, -7), "B")]
        d = ostra.read(binary_drawing(segs))
        assert d.status == "endofdrawing" and d.layers == ["A", "B"]
        assert d.segments.start.tolist() == [list(s[0]) for s in segs]
        assert d.segments.end.tolist() == [list(s[1]) for s in segs]

    def test_a_file_object_without_readinto(self):
        class Plain:
            def __init__(self, data):
                self.f = io.BytesIO(data)

            def read(self, n=-1):
                return self.f.read(min(n, 7))   # short reads too
        data = every_kind(seed=2)
        assert_same_drawing(ostra.read(Plain(data)), ostra.read(data))


class TestHeaderAndListings:
    def test_header_and_units(self, tmpdxf):
        header = [("$ACADVER", [(1, "AC1015")]), ("$INSUNITS", [(70, 4)]), ("$HANDSEED", [(5, "20")]),
                  ("$EXTMIN", [(10, -1.5), (20, 2), (30, 0)]), ("$LIMMAX", [(10, 420), (20, 297)]),
                  ("$LTSCALE", [(40, 2.5)]), ("$CUSTOMVAR", [(1, "x")]), ("$DWGCODEPAGE", [(3, "ANSI_1252")])]
        d = ostra.read(tmpdxf(drawing(line(0, 0, 1, 1), header=header)))
        assert d.header == {"$ACADVER": "AC1015", "$DWGCODEPAGE": "ANSI_1252", "$HANDSEED": "20",
                            "$EXTMIN": (-1.5, 2.0, 0.0), "$LIMMAX": (420.0, 297.0), "$LTSCALE": 2.5,
                            "$INSUNITS": 4}
        assert d.units == ostra.Units(4, "millimeters", 0.001) and d.release == "R2000"
        assert ostra.read(drawing(line(0, 0, 1, 1))).units == ostra.Units(None, None, None)
        for code, want in ((0, ("unitless", 0.0)), (2, ("feet", 0.3048)), (14, ("decimeters", 0.1)),
                           (21, (None, None)), (-1, (None, None))):
            u = ostra.read(drawing(line(0, 0, 1, 1), header=[("$INSUNITS", [(70, code)])])).units
            assert u == ostra.Units(code, *want), code
        for p in examples():
            assert (ostra.read(p).units.name or "") == json.loads(tool("stats", "--json", p))["units"], p

    def test_layer_table(self, tmpdxf):
        # File order, unused entries too; off is a negative index whose
        # colour is that of its size; frozen 1, locked 4.
        layers = [("ZED", 1, 0), ("OFF", -3, 0, "DASHED"), ("ICE", 5, 1), ("LOCK", 250, 4, "CENTER"),
                  ("BOTH", -6, 5)]
        p = tmpdxf(drawing(line(0, 0, 1, 1, "ZED") + line(0, 0, 1, 1, "NONE"), layers=layers))
        d = ostra.read(p)
        assert d.layer_table == [("ZED", 0xFF0000, 1, 0, "CONTINUOUS"), ("OFF", 0x00FF00, -3, 0, "DASHED"),
                                 ("ICE", 0x0000FF, 5, 1, "CONTINUOUS"), ("LOCK", 0x333333, 250, 4, "CENTER"),
                                 ("BOTH", 0xFF00FF, -6, 5, "CONTINUOUS")]
        assert [(e.off, e.frozen, e.locked) for e in d.layer_table] == [
            (False, False, False), (True, False, False), (False, True, False), (False, False, True),
            (True, True, True)]
        assert d.layers == ["ZED", "NONE"] and ostra.read(drawing(line(0, 0, 1, 1))).layer_table == []
        with ostra.Reader(p) as r:
            next(r)
            assert r.layer_table == d.layer_table

    @pytest.mark.parametrize("path", examples(), ids=lambda p: pathlib.Path(p).name)
    def test_layer_table_as_tool(self, path):
        want = json.loads(tool("layers", "--table", "--json", path))["layers"]
        got = ostra.read(path).layer_table
        assert [(e.name, abs(e.aci), e.linetype) for e in got] == \
            [(w["name"], w["colour"], w["linetype"]) for w in want]
        state = ["off" if e.off else "on" for e in got]
        assert state == [w["state"].split(",")[0] for w in want]

    def test_blocks_skipped_hidden_as_stats(self, tmpdxf):
        ents = (line(0, 0, 1, 1, "ON") + line(0, 0, 1, 1, "OFF") + line(0, 0, 1, 1, "ON", extra=[(67, 1)]) +
                line(0, 0, 1, 1, "ON", extra=[(60, 1)]) + [(0, "TEXT"), (8, "ON"), (1, "hi")] * 2 +
                [(0, "HATCH"), (8, "ON")])
        blocks = [(0, "BLOCK"), (2, "E"), (70, 0), (10, 0), (20, 0), (30, 0), (0, "ENDBLK")]
        blocks += [(0, "BLOCK"), (2, "F"), (70, 0), (10, 0), (20, 0), (30, 0)] + line(0, 0, 1, 1) + \
            [(0, "ENDBLK")]
        p = tmpdxf(drawing(ents, blocks, layers=[("OFF", -2, 0)]))
        d = ostra.read(p)
        assert d.blocks == {"E": 0, "F": 1} and len(d.segments) == 1
        assert d.skipped == {"TEXT": 2, "HATCH": 1}
        assert d.hidden == {"paperspace": 1, "invisible": 1, "hiddenlayer": 1}
        stats = json.loads(tool("stats", "--json", str(p)))
        assert stats["skipped"] == d.skipped and stats["hidden"] == d.hidden and stats["blocks"] == len(d.blocks)
        paper = ostra.read(p, paperspace=True)
        assert len(paper.segments) == 1 and paper.segments.layer.tolist() == [paper.layers.index("ON")]


class TestStatuses:
    def test_complete_cut_malformed_empty(self):
        data = every_kind(seed=8)
        whole = ostra.read(data)
        assert whole.status == "endofdrawing"
        cut = ostra.read(data[: len(data) * 2 // 3])
        assert cut.status == "endofstream" and 0 < len(cut) < len(whole)
        # What a cut drawing gives is the first geometries of the whole one.
        for kind, t in cut.tables():
            for name in t.columns:
                if name != "layer":
                    assert np.array_equal(t[name], getattr(whole, kind)[name][: len(t)], equal_nan=True)
        # The second LINE is in progress at the bad code line: only the
        # first one is delivered.
        three = drawing(line(0, 0, 1, 1) + line(0, 0, 2, 2) + line(0, 0, 3, 3))
        at = three.rfind(b"  0\nLINE")
        bad = ostra.read(three[:at] + b"1e3\nLINE" + three[at + 8:])
        assert bad.status == "malformedcode" and bad.badline == "1e3"
        assert bad.line == three[:at].count(b"\n") + 1
        assert bad.segments.end.tolist() == [[1, 1, 0]]
        empty = ostra.read(b"")
        assert empty.status == "endofstream" and len(empty) == 0 and empty.layers == []
        junk = ostra.read(b"hello, drawing\n")
        assert junk.status == "malformedcode" and junk.line == 1

    def test_limit(self, tmpdxf):
        p = tmpdxf(every_kind(seed=14))
        whole = ostra.read(p)
        for limit in (1, 7, 30):
            d = ostra.read(p, limit=limit)
            assert d.status == "limitreached" and len(d) <= limit
            assert_like_listing(d, tool_list(p, "--limit", str(limit)))
            for kind, t in d.tables():
                first = t.columns[0]
                assert np.array_equal(t[first], getattr(whole, kind)[first][: len(t)]), (limit, kind)
        assert ostra.read(p, limit=10**9).status == "endofdrawing"
        with ostra.Reader(p, limit=7) as r:
            assert sum(1 for _ in r) == len(ostra.read(p, limit=7)) and r.status == "limitreached"

    def test_status_names(self):
        assert ostra.STATUSES == ("reading", "endofdrawing", "endofstream", "malformedcode", "outofmemory",
                                  "limitreached")


class TestErrors:
    def test_files(self, tmp_path):
        with pytest.raises(FileNotFoundError) as e:
            ostra.read(tmp_path / "missing.dxf")
        assert e.value.errno == errno.ENOENT and e.value.filename == str(tmp_path / "missing.dxf")
        with pytest.raises(IsADirectoryError):
            ostra.read(tmp_path)
        with open(example("part.dxf")) as text, pytest.raises(TypeError):
            ostra.read(text)

        class Failing(io.RawIOBase):
            def readinto(self, b):
                raise OSError(errno.EIO, "device gone")
        with pytest.raises(OSError, match="device gone"):
            ostra.read(Failing())

    def test_arguments(self):
        data = drawing(line(0, 0, 1, 1))
        for bad, kind in ((42, TypeError), (None, TypeError), (memoryview(data)[::2], ValueError)):
            with pytest.raises(kind):
                ostra.read(bad)
        for kwargs, kind in (({"layers": [1]}, TypeError), ({"layers": []}, ValueError),
                             ({"layers": "A,B"}, ValueError), ({"flattening": -1}, ValueError),
                             ({"flattening": float("nan")}, ValueError), ({"flattening": "0.1"}, TypeError),
                             ({"limit": "3"}, TypeError), ({"limit": 2.0}, TypeError),
                             ({"limit": True}, TypeError), ({"limit": 0}, ValueError), ({"limit": -5}, ValueError),
                             ({"limit": 2**63}, ValueError)):
            with pytest.raises(kind):
                ostra.read(data, **kwargs)


class TestPicklingAndPandas:
    def test_pickle(self, tmpdxf):
        d = ostra.read(tmpdxf(every_kind(seed=9)))
        back = pickle.loads(pickle.dumps(d))
        assert_same_drawing(back, d)
        assert back.extents()[0].tolist() == d.extents()[0].tolist() and back.units == d.units
        failed = pickle.loads(pickle.dumps(ostra.Drawing.failed("gone", "x.dxf")))
        assert failed.status == "error" and failed.error == "gone" and len(failed) == 0

    def test_to_pandas(self, tmpdxf):
        d = ostra.read(tmpdxf(every_kind(seed=10)))
        frames = d.to_pandas()
        assert list(frames) == list(ostra.KINDS)
        s = frames["segments"]
        assert list(s.columns) == ["start_x", "start_y", "start_z", "end_x", "end_y", "end_z", "layer", "color",
                                   "aci", "item", "piece", "closed"]
        assert [str(s[c].dtype) for c in ("color", "aci", "item", "piece", "closed")] == \
            ["uint32", "int16", "int64", "int32", "bool"]
        assert s["item"].tolist() == d.segments.item.tolist() and s["closed"].tolist() == d.segments.closed.tolist()
        assert len(s) == len(d.segments) and s["end_y"].tolist() == d.segments.end[:, 1].tolist()
        assert s["layer"].tolist() == [d.layers[i] for i in d.segments.layer]
        assert list(frames["arcs"].columns[:8]) == ["center_x", "center_y", "center_z", "normal_x", "normal_y",
                                                    "normal_z", "radius", "start_angle"]
