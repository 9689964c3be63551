"""ostra.Reader: the same geometry, in reading order, as ostra.read() and the
C++ listing, with the reader's status, listings and header."""

import io

import pytest

import ostra
from conftest import KIND_OF, drawing, every_kind, examples, line, tool_list

# The geometry attributes of each kind, as the tables' columns.
ATTRIBUTES = {
    "segment": ("start", "end"),
    "arc": ("center", "normal", "radius", "start_angle", "sweep"),
    "circle": ("center", "normal", "radius"),
    "ellipse": ("center", "normal", "major", "ratio", "start_param", "end_param"),
    "point": ("location",),
}


def assert_stream_like_read(source_stream, source_read):
    d = ostra.read(source_read)
    rows = {k: 0 for k in ostra.KINDS}
    with ostra.Reader(source_stream) as r:
        for g in r:
            table = getattr(d, g.kind + "s")
            i = rows[g.kind + "s"]
            rows[g.kind + "s"] += 1
            for name in ATTRIBUTES[g.kind]:
                want = table[name][i]
                got = getattr(g, name)
                assert (list(got) if isinstance(got, tuple) else got) == \
                    (want.tolist() if hasattr(want, "tolist") else want), (g.kind, i, name)
            assert g.layer == d.layers[table.layer[i]]
            assert (g.color, g.aci) == (int(table.color[i]), int(table.aci[i]))
            assert (g.item, g.piece, g.closed) == (int(table.item[i]), int(table.piece[i]), bool(table.closed[i]))
        assert r.layer_table == d.layer_table
        assert r.status == d.status and r.line == d.line
        assert r.layers == d.layers and r.blocks == d.blocks
        assert r.skipped == d.skipped and r.hidden == d.hidden
    assert rows == d.counts()


class TestLikeRead:
    @pytest.mark.parametrize("path", examples())
    def test_examples(self, path):
        assert_stream_like_read(path, path)

    def test_every_kind_from_each_source(self, tmpdxf):
        data = every_kind(seed=11)
        p = tmpdxf(data)
        for source in (p, data, io.BytesIO(data)):
            assert_stream_like_read(source, p)

    def test_reading_order_and_blocks_as_listing(self, tmpdxf):
        p = tmpdxf(every_kind(seed=12))
        listing = tool_list(p)
        got = [(g.kind, g.layer, g.block) for g in ostra.Reader(p)]
        assert got == [(KIND_OF[g["kind"]][:-1], g["layer"], g["block"]) for g in listing]


def pieces_drawing():
    """Records of many pieces one after another, each on its own layer and
    in its own colour: polylines of both forms (vertices with colours of
    their own), a spline, a face, and a block of polylines inserted twice."""
    def lw(layer, colour):
        return [(0, "LWPOLYLINE"), (8, layer), (62, colour), (90, 4), (70, 1), (10, 0), (20, 0), (42, 0.3),
                (10, 5), (20, 0), (10, 5), (20, 5), (10, 0), (20, 5)]

    def old(layer, colour):
        out = [(0, "POLYLINE"), (8, layer), (62, colour), (66, 1), (70, 1), (10, 0), (20, 0), (30, 0)]
        for i, (x, y) in enumerate(((0, 0), (3, 0), (3, 3))):
            out += [(0, "VERTEX"), (8, "V%d" % i), (62, 1 + i), (10, x), (20, y), (30, 0)]
        return out + [(0, "SEQEND")]
    ents = lw("A", 1) + lw("B", 2) + old("C", 3) + old("A", 4) + lw("C", 5)
    ents += [(0, "3DFACE"), (8, "B"), (62, 6), (10, 0), (20, 0), (30, 0), (11, 1), (21, 0), (31, 0),
             (12, 1), (22, 1), (32, 0), (13, 0), (23, 1), (33, 0)]
    ents += [(0, "INSERT"), (8, "D"), (62, 7), (2, "P"), (10, 9), (20, 9), (30, 0)]
    ents += [(0, "INSERT"), (8, "E"), (2, "P"), (10, -9), (20, 9), (30, 0)] + lw("A", 8)
    blocks = [(0, "BLOCK"), (2, "P"), (70, 0), (10, 0), (20, 0), (30, 0)] + lw("0", 0) + lw("F", 9) + \
        [(0, "ENDBLK")]
    return drawing(ents, blocks, layers=[("E", 3, 0)])


class TestPieces:
    @pytest.mark.parametrize("exact", [True, False])
    def test_each_piece_has_its_records_layer_and_colour(self, exact):
        data = pieces_drawing()
        d = ostra.read(data, exact=exact)
        rows = {k: 0 for k in ostra.KINDS}
        seen = set()
        for g in ostra.Reader(data, exact=exact):
            kind = g.kind + "s"
            t, i = getattr(d, kind), rows[kind]
            rows[kind] += 1
            assert (g.layer, g.color, g.aci) == (d.layers[t.layer[i]], int(t.color[i]), int(t.aci[i])), (kind, i)
            seen.add((g.layer, g.aci))
        assert rows == d.counts() and len(seen) >= (9 if exact else 6)


class TestBeside:
    def test_record_handle_header(self):
        ents = line(0, 0, 1, 1, "A", extra=[(5, "2F")]) + [(0, "LWPOLYLINE"), (5, "30"), (8, "B"), (90, 2),
                                                           (10, 0), (20, 0), (10, 1), (20, 0)]
        data = drawing(ents, header=[("$INSUNITS", [(70, 6)]), ("$EXTMAX", [(10, 3), (20, 4), (30, 5)]),
                                     ("$MYVAR", [(1, "mine")])])
        r = ostra.Reader(data)
        first, second = next(r), next(r)
        assert (first.record, first.handle, first.block) == ("LINE", "2F", None)
        assert (second.kind, second.record, second.handle, second.layer) == ("segment", "LWPOLYLINE", "30", "B")
        assert r.header("$INSUNITS") == "6" and r.header("$EXTMAX", 20) == "4" and r.header("$NONE") is None
        assert r.header("$MYVAR") == "mine"    # any name, not only the standard ones
        assert r.status == "reading"
        with pytest.raises(StopIteration):
            next(r)
        assert r.status == "endofdrawing"
        with pytest.raises(StopIteration):      # and stays ended
            next(r)

    def test_wrong_kind_attribute(self):
        g = next(iter(ostra.Reader(drawing(line(0, 0, 1, 1)))))
        assert g.kind == "segment" and g.start == (0.0, 0.0, 0.0)
        for name in ("radius", "center", "location", "major"):
            with pytest.raises(AttributeError):
                getattr(g, name)
        assert "segment" in repr(g)

    def test_close_and_statuses(self, tmpdxf):
        data = every_kind(seed=13)
        r = ostra.Reader(tmpdxf(data))
        next(r)
        layers = r.layers
        r.close()
        assert r.layers == layers and r.status == "reading"
        with pytest.raises(StopIteration):
            next(r)
        cut = ostra.Reader(data[:len(data) // 2])
        n = sum(1 for _ in cut)
        assert cut.status == "endofstream" and 0 < n < len(ostra.read(data))
        bad = ostra.Reader(b"  0\nSECTION\nxx\n")
        assert list(bad) == [] and bad.status == "malformedcode" and bad.badline == "xx"

    def test_errors(self, tmp_path):
        with pytest.raises(FileNotFoundError):
            ostra.Reader(tmp_path / "none.dxf")
        with pytest.raises(TypeError):
            ostra.Reader(3.5)
        with pytest.raises(ValueError):
            ostra.Reader(b"", flattening=0)
        with pytest.raises(ValueError):
            ostra.Reader(b"", limit=0)
        with pytest.raises(TypeError):
            ostra.Reader(b"", limit="10")
