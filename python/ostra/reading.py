"""ostra.read() and ostra.Reader: the arguments checked and the source told
apart, the reading itself in the extension."""

import io
import math
import numbers
import os

from . import _ostra
from .drawing import Drawing, LayerEntry


def _source(source):
    """(kind, object) for the extension: a path, bytes in memory, or a binary
    file object."""
    if isinstance(source, (str, os.PathLike)):
        return "path", os.fspath(source)
    if isinstance(source, (bytes, bytearray, memoryview)):
        return "buffer", source
    if isinstance(source, io.TextIOBase):
        raise TypeError("a file object in text mode: open the drawing in binary mode ('rb')")
    if callable(getattr(source, "read", None)):
        return "file", source
    try:
        memoryview(source)
    except TypeError:
        raise TypeError("source must be a path, a bytes-like object or a binary file object, not %s"
                        % type(source).__name__) from None
    return "buffer", source


def _layers(layers):
    """The layer filter as the reader takes it: comma-separated names."""
    if layers is None:
        return None
    names = [layers] if isinstance(layers, str) else list(layers)
    for name in names:
        if not isinstance(name, str):
            raise TypeError("layers must be names (str), not %s" % type(name).__name__)
        if "," in name:
            raise ValueError("a layer name in layers cannot hold a comma: %r" % name)
        if not name:
            raise ValueError("layers holds an empty name")
    if not names:
        raise ValueError("layers must name at least one layer (None for all)")
    return ",".join(names)


def _flattening(flattening):
    if flattening is None:
        return 0.0
    if isinstance(flattening, bool) or not isinstance(flattening, numbers.Real):
        raise TypeError("flattening must be a number of drawing units or None, not %s"
                        % type(flattening).__name__)
    value = float(flattening)
    if not math.isfinite(value) or value <= 0:
        raise ValueError("flattening must be a positive finite tolerance, not %r" % flattening)
    return value


def _limit(limit):
    """The reader's bound on its work: None for none, else a count >= 1."""
    if limit is None:
        return 0
    if isinstance(limit, bool) or not isinstance(limit, numbers.Integral):
        raise TypeError("limit must be a count of geometries (int) or None, not %s" % type(limit).__name__)
    value = int(limit)
    if value < 1 or value > 2**63 - 1:
        raise ValueError("limit must be a count of at least 1 (None for no limit), not %r" % limit)
    return value


def _options(exact, layers, flattening, paperspace, limit):
    return bool(exact), _layers(layers), _flattening(flattening), bool(paperspace), _limit(limit)


def read(source, exact=True, layers=None, flattening=None, paperspace=False, limit=None):
    """Reads a whole drawing into numpy arrays (a Drawing).

    source: a path, bytes/bytearray/memoryview (read in place, no copy) or a
    binary file object. exact: the exact reading (what a CAD program draws),
    else the library's default reading. layers: None, or the names (a list,
    or one name) of the layers to keep. flattening: the tolerance of curves
    flattened into segments (None: the reader's default). paperspace: the
    paper-space entities instead of model space. limit: None, or a bound on
    the work of reading: once that many geometries were made (hidden ones,
    inserted copies and the pieces of a record included) reading stops with
    the status "limitreached", with what was read kept.

    A missing file raises FileNotFoundError; a malformed or cut drawing is a
    status (d.status), with what was read kept."""
    kind, obj = _source(source)
    raw = _ostra.read(kind, obj, *_options(exact, layers, flattening, paperspace, limit))
    return Drawing._fromraw(raw, source=obj if kind == "path" else None)


class Reader(_ostra._Reader):
    """Reads a drawing one geometry at a time: `for g in ostra.Reader(source)`
    yields ostra.Geometry objects (g.kind, its geometry as tuples, g.layer,
    g.color, g.aci, g.record, g.handle, g.block, g.item, g.piece, g.closed).
    The arguments are those of ostra.read(). r.status and r.line tell how
    reading stands, r.layers, r.blocks, r.skipped, r.hidden and
    r.layer_table list what was read so far, and r.header(name, code=None)
    is a header variable's text. Use it in a with block, or call close(), to
    let go of the file at once."""

    def __init__(self, source, exact=True, layers=None, flattening=None, paperspace=False, limit=None):
        kind, obj = _source(source)
        super().__init__(kind, obj, *_options(exact, layers, flattening, paperspace, limit))

    def __iter__(self):
        return self

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    @property
    def layers(self):
        return self._listings()["layers"]

    @property
    def layer_uses(self):
        """Each layer's use count as the C++ reader gives it."""
        return self._listings()["layer_uses"]

    @property
    def blocks(self):
        return self._listings()["blocks"]

    @property
    def skipped(self):
        return self._listings()["skipped"]

    @property
    def hidden(self):
        return self._listings()["hidden"]

    @property
    def layer_table(self):
        """The LAYER table's entries read so far (LayerEntry), in file order."""
        return [LayerEntry(*e) for e in self._listings()["layer_table"]]

    @property
    def badline(self):
        return self._listings()["badline"]
