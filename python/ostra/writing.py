"""ostra.write(): a Drawing, or dicts of arrays of the same columns, checked
and made contiguous here, written by the extension."""

import math
import numbers
import os

import numpy as np

from . import _ostra
from .drawing import Drawing, LayerEntry

_DTYPES = {"layer": np.int32, "color": np.uint32, "aci": np.int16}
# The colour of the LAYER entry of a layer the drawing has no entry for:
# every entity carries its own colour, so this changes no geometry's colour.
_ENTRY_COLOR = 7


def _check_name(name):
    if not isinstance(name, str):
        raise TypeError("layer names must be str, not %s" % type(name).__name__)
    raw = name.encode("utf-8")
    if not raw or len(raw) > 79 or "\r" in name or "\n" in name or name != name.strip(" \t"):
        raise ValueError("the writer cannot write the layer name %r (1 to 79 bytes, no line break, "
                         "no blank at either end)" % name)


def _columns(kind, given, nlayers):
    """The kind's columns from a dict (or Table) of arrays: geometry columns
    required, layer (0), aci (256, the layer's) and color (0) optional."""
    get = given.__getitem__
    names = given.columns if hasattr(given, "columns") and not callable(given.columns) else given.keys()
    out, rows = {}, None
    for name, width, dtype in _ostra.columns[kind]:
        if name not in _DTYPES and dtype != "float64":
            continue   # numbering columns, which the writer has no use for
        if name not in names:
            if name in _DTYPES:
                continue
            raise ValueError("%s need a %r column" % (kind, name))
        a = np.ascontiguousarray(get(name), dtype=_DTYPES.get(name, np.float64))
        shape = (a.shape[0], width) if width > 1 else (a.shape[0],)
        if a.ndim != len(shape) or a.shape != shape:
            raise ValueError("%s.%s must have the shape (N, %d)" % (kind, name, width) if width > 1
                             else "%s.%s must have the shape (N,)" % (kind, name))
        if rows is not None and a.shape[0] != rows:
            raise ValueError("the columns of %s differ in length" % kind)
        rows = a.shape[0]
        out[name] = a
    for name, fill in (("layer", 0), ("aci", 256), ("color", 0)):
        if name not in out:
            out[name] = np.full(rows, fill, dtype=_DTYPES[name])
    if rows and (out["layer"].min() < 0 or out["layer"].max() >= max(nlayers, 1)):
        raise ValueError("%s.layer holds an index that is not one of the layers" % kind)
    if rows and (out["aci"].min() < 0 or out["aci"].max() > 256):
        raise ValueError("%s.aci must hold colour indices 0 to 256" % kind)
    return out


def _number(value, integer=False):
    """A header value's text, or None for one the copy does not carry."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        return None
    if integer:
        return str(int(value)) if isinstance(value, numbers.Integral) and -32768 <= value <= 32767 else None
    value = float(value)
    return repr(value) if math.isfinite(value) else None


def _header(header):
    """The header groups written, as the tool's copy writes them: the names
    are UTF-8, so the file says R2007 (AC1021), the first version whose
    names are, and keeps the drawing's code page; the units and the extents
    as the drawing has them (a point with its x and y at least)."""
    out = [("$ACADVER", 1, "AC1021")]
    codepage = header.get("$DWGCODEPAGE")
    if not isinstance(codepage, str) or not codepage or "\r" in codepage or "\n" in codepage:
        codepage = "ANSI_1252"
    out.append(("$DWGCODEPAGE", 3, codepage))
    units = _number(header.get("$INSUNITS"), integer=True)
    if units is not None:
        out.append(("$INSUNITS", 70, units))
    for name in ("$EXTMIN", "$EXTMAX"):
        point = header.get(name)
        if not isinstance(point, (tuple, list)) or len(point) < 2:
            continue
        texts = [_number(v) for v in point[:3]]
        if texts[0] is None or texts[1] is None:
            continue
        out += [(name, code, t) for code, t in zip((10, 20, 30), texts) if t is not None]
    return out


def _entries(table, layers):
    """The LAYER entries written: the drawing's, in their order, then one
    of colour 7 for each layer used that has none (the writer keeps the
    first entry of a name, letters compared without case)."""
    out = []
    for e in table:
        e = e if isinstance(e, LayerEntry) else LayerEntry(*e)
        if not isinstance(e.name, str) or not isinstance(e.linetype, str):
            raise TypeError("a LAYER entry's name and linetype must be str")
        for value in (e.aci, e.flags):
            if isinstance(value, bool) or not isinstance(value, numbers.Integral):
                raise TypeError("a LAYER entry's colour index and flags must be int")
            if not -2**31 < value < 2**31:
                raise ValueError("a LAYER entry's colour index or flags out of range: %r" % value)
        out.append((e.name, int(e.aci), int(e.flags), e.linetype))
    return out + [(name, _ENTRY_COLOR, 0, "") for name in layers]


def write(path, drawing, simple=False):
    """Writes a Drawing, or a dict {"segments": {"start": ..., "end": ...},
    ..., "layers": [...], "layer_table": [...], "header": {...}} of the same
    columns and attributes (layer_table and header optional), to the DXF
    file at path.

    The writer's extended mode: every kind (ellipses as arcs), each entity on
    its layer in its colour index (a true colour as the nearest index); the
    LAYER entries with their colours (off as a negative one), frozen and
    locked flags and linetypes, then an entry of colour 7 for each layer
    without one; the header's units, extents and code page, and $ACADVER
    AC1021 (names are written in UTF-8). simple=True: the plain writer, lines
    and circles on layer 0 only, every other kind refused. Returns the
    counts written by kind, and "refused". Raises OSError when the file
    cannot be written, ValueError for columns or names it cannot write."""
    if isinstance(drawing, Drawing):
        layers, given = drawing.layers, dict(drawing.tables())
        table, header = drawing.layer_table, drawing.header
    elif isinstance(drawing, dict):
        layers = list(drawing.get("layers", []))
        table, header = list(drawing.get("layer_table", [])), drawing.get("header") or {}
        if not isinstance(header, dict):
            raise TypeError("header must be a dict of header variables, not %s" % type(header).__name__)
        given = {k: v for k, v in drawing.items() if k not in ("layers", "layer_table", "header")}
        unknown = set(given) - set(_ostra.kindnames)
        if unknown:
            raise ValueError("unknown kinds: %s" % ", ".join(sorted(map(str, unknown))))
    else:
        raise TypeError("drawing must be an ostra.Drawing or a dict of tables, not %s" % type(drawing).__name__)
    if not layers:
        layers = ["0"]
    if not simple:
        for name in layers:
            _check_name(name)
    tables = {kind: _columns(kind, t, len(layers)) for kind, t in given.items()}
    entries = [] if simple else _entries(table, layers)
    groups = [] if simple else _header(header)
    return _ostra.write(os.fspath(path), bool(simple), list(layers), entries, groups, tables)
