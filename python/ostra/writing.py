"""ostra.write(): a Drawing, or dicts of arrays of the same columns, checked
and made contiguous here, written by the extension."""

import os

import numpy as np

from . import _ostra
from .drawing import Drawing

_DTYPES = {"layer": np.int32, "color": np.uint32, "aci": np.int16}
# The colour of the LAYER entries until a drawing carries its LAYER table:
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


def write(path, drawing, simple=False):
    """Writes a Drawing, or a dict {"segments": {"start": ..., "end": ...},
    ..., "layers": [...]} of the same columns, to the DXF file at path.

    The writer's extended mode: every kind (ellipses as arcs), each entity on
    its layer (a LAYER entry for each of the layers) in its colour index (a
    true colour as the nearest index). simple=True: the plain writer, lines
    and circles on layer 0 only, every other kind refused. Returns the
    counts written by kind, and "refused". Raises OSError when the file
    cannot be written, ValueError for columns or names it cannot write."""
    if isinstance(drawing, Drawing):
        layers, given = drawing.layers, dict(drawing.tables())
    elif isinstance(drawing, dict):
        layers = list(drawing.get("layers", []))
        given = {k: v for k, v in drawing.items() if k != "layers"}
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
    colors = [_ENTRY_COLOR] * len(layers)
    return _ostra.write(os.fspath(path), bool(simple), list(layers), colors, tables)
