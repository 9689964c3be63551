"""A drawing read whole: its geometry as numpy arrays, one Table per kind,
and what the reader said beside it. Drawings pickle (numpy arrays, lists,
dicts and strings), so they travel to and from cluster workers."""

import collections

from . import _ostra
from .extents import extents as _extents

KINDS = _ostra.kindnames            # ("segments", "arcs", "circles", "ellipses", "points")
STATUSES = _ostra.statusnames       # by the C++ status value: "reading", "endofdrawing", ...

Units = collections.namedtuple("Units", "code name metres")
Units.__doc__ = """A drawing's units: the $INSUNITS code, the units' name ("millimeters")
and the length of one in metres (0 for unitless); all None without a
known code."""


class LayerEntry(collections.namedtuple("LayerEntry", "name color aci flags linetype")):
    """An entry of the LAYER table: its name, colour (0xRRGGBB), colour
    index (negative for a layer that is off), group 70 flags (1 frozen, 2
    frozen in new viewports, 4 locked, ...) and linetype ("" for none)."""
    __slots__ = ()

    @property
    def off(self):
        return self.aci < 0

    @property
    def frozen(self):
        return bool(self.flags & 1)

    @property
    def locked(self):
        return bool(self.flags & 4)


# $ACADVER: the release it stands for.
_RELEASES = {
    "AC1006": "R10", "AC1009": "R11/R12", "AC1012": "R13", "AC1014": "R14", "AC1015": "R2000",
    "AC1018": "R2004", "AC1021": "R2007", "AC1024": "R2010", "AC1027": "R2013", "AC1032": "R2018",
}


def units_of(code):
    """Units for a $INSUNITS value (an int, or None when there is none), as
    the C++ library names them."""
    named = _ostra.unitname(code) if isinstance(code, int) and -2**31 <= code < 2**31 else None
    return Units(code, *named) if named else Units(code, None, None)


def release_of(acadver):
    """The release a $ACADVER text stands for ("AC1015": "R2000"), or None."""
    return _RELEASES.get(acadver)


def _typed(code, text):
    """A header group's value by its code: text, a float or an int."""
    if 10 <= code <= 59 or 110 <= code <= 149 or 210 <= code <= 239 or 460 <= code <= 469:
        kind = float
    elif (60 <= code <= 99 or 160 <= code <= 179 or 270 <= code <= 299 or 370 <= code <= 389
          or 400 <= code <= 409 or 420 <= code <= 459):
        kind = int
    else:
        return text
    try:
        return kind(text)
    except ValueError:
        try:
            return float(text)
        except ValueError:
            return text


def header_values(raw):
    """The header dict from the reader's groups: a point variable (codes 10,
    20 and 30) as a tuple of floats, any other as its one value."""
    out = {}
    for name, groups in raw.items():
        codes = [c for c, _ in groups]
        if codes and codes[0] == 10 and len(codes) > 1:
            out[name] = tuple(_typed(c, t) for c, t in groups)
        else:
            out[name] = _typed(*groups[0])
    return out


class Table:
    """The geometry of one kind: numpy arrays of equal length, by column
    name (t.start, t["start"]); 3-vectors are (N, 3), the rest (N,)."""

    def __init__(self, kind, columns):
        self.kind = kind
        self._columns = dict(columns)

    @property
    def columns(self):
        return tuple(self._columns)

    def __getattr__(self, name):
        columns = self.__dict__.get("_columns")
        if columns is not None and name in columns:
            return columns[name]
        raise AttributeError("%s have no column %r" % (self.__dict__.get("kind", "tables"), name))

    def __getitem__(self, name):
        return self._columns[name]

    def __len__(self):
        return len(next(iter(self._columns.values())))

    def __repr__(self):
        return "<ostra.Table %s: %d rows, columns %s>" % (self.kind, len(self), ", ".join(self._columns))

    def to_pandas(self, layers=None):
        """A DataFrame: 3-vectors as three columns (start_x, start_y,
        start_z), the layer as a categorical of the layer names when given."""
        import pandas
        data = {}
        for name, values in self._columns.items():
            if values.ndim == 2:
                for i, axis in enumerate("xyz"):
                    data[name + "_" + axis] = values[:, i]
            elif name == "layer" and layers is not None:
                data[name] = pandas.Categorical.from_codes(values, categories=list(layers))
            else:
                data[name] = values
        return pandas.DataFrame(data)


class Drawing:
    """A drawing read by ostra.read(): d.segments, d.arcs, d.circles,
    d.ellipses and d.points (Tables), d.layers (names, indexed by the tables'
    layer columns), d.layer_table (the LAYER entries, LayerEntry), d.header,
    d.units, d.blocks, d.skipped and d.hidden (name: count), d.status and
    d.line (where reading stopped), d.badline (the malformed line's text). d.error is None, or the reason a batch
    could not read the file at all (status "error")."""

    def __init__(self, status, tables, layers=(), header=None, blocks=None, skipped=None, hidden=None,
                 line=0, badline=None, error=None, source=None, layer_table=()):
        self.status = status
        self.line = line
        self.badline = badline
        self.layers = list(layers)
        self.layer_table = [LayerEntry(*e) for e in layer_table]
        self.header = dict(header or {})
        self.blocks = dict(blocks or {})
        self.skipped = dict(skipped or {})
        self.hidden = dict(hidden or {})
        self.error = error
        self.source = source
        for kind in KINDS:
            setattr(self, kind, Table(kind, tables[kind]))

    @classmethod
    def _fromraw(cls, raw, source=None):
        return cls(raw["status"], raw["tables"], raw["layers"], header_values(raw["header"]), raw["blocks"],
                   raw["skipped"], raw["hidden"], raw["line"], raw["badline"], source=source,
                   layer_table=raw["layer_table"])

    @classmethod
    def failed(cls, error, source=None):
        """An empty drawing for a file that could not be read at all."""
        return cls("error", _empty_tables(), error=error, source=source)

    @property
    def units(self):
        return units_of(self.header.get("$INSUNITS"))

    @property
    def release(self):
        return release_of(self.header.get("$ACADVER"))

    def tables(self):
        """The (kind, Table) pairs, in the order of KINDS."""
        return [(kind, getattr(self, kind)) for kind in KINDS]

    def counts(self):
        return {kind: len(t) for kind, t in self.tables()}

    def __len__(self):
        return sum(len(t) for _, t in self.tables())

    def extents(self):
        """The true extents of the geometry, (min, max) as two (3,) arrays,
        or None when there is no finite geometry; as the tool's stats."""
        return _extents(self)

    def to_pandas(self):
        """A pandas DataFrame per kind, by kind name."""
        return {kind: t.to_pandas(self.layers) for kind, t in self.tables()}

    def __repr__(self):
        counts = ", ".join("%d %s" % (n, k) for k, n in self.counts().items() if n)
        return "<ostra.Drawing %s: %s; %d layers>" % (self.status, counts or "no geometry", len(self.layers))


def _empty_tables():
    import numpy
    return {kind: {name: numpy.empty((0, width) if width > 1 else (0,), dtype)
                   for name, width, dtype in columns}
            for kind, columns in _ostra.columns.items()}
