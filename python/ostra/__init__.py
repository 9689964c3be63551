"""ostra: DXF drawings, text or binary, read into numpy arrays by the ostra
C++ library, one geometry at a time or whole, and written back.

    d = ostra.read("part.dxf")            # exact reading, every kind
    d.segments.start, d.arcs.radius, d.layers[d.circles.layer[0]]
    for g in ostra.Reader("huge.dxf"): ...
    ostra.write("out.dxf", d)
    ostra.batch.summarize(paths, client=None)   # a DataFrame, on Dask

ostra.batch needs pandas and dask (and distributed for a cluster); it is
imported when first used."""

from . import _ostra
from .drawing import KINDS, STATUSES, Drawing, LayerEntry, Table, Units
from .reading import Reader, read
from .writing import write

Geometry = _ostra.Geometry
__version__ = _ostra.version
__all__ = ["read", "Reader", "write", "Drawing", "Table", "Geometry", "Units", "LayerEntry", "KINDS", "STATUSES",
           "batch"]


def __getattr__(name):
    if name == "batch":
        import importlib
        return importlib.import_module(".batch", __name__)
    raise AttributeError("module 'ostra' has no attribute %r" % name)
