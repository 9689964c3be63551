"""Many drawings at once, on Dask: summarize() gives a pandas DataFrame with
one row per drawing, read_many() a Dask bag of Drawings. With a
distributed.Client the work runs on that cluster's workers, each worker
opening its own files (the paths must be valid there); without one, on
threads of this process (the reading itself runs without the GIL). A file
that cannot be read is a row (or a Drawing) with status "error" and the
reason in its error text: one failure never stops the rest."""

import time

from .drawing import KINDS, Drawing
from .reading import read

# The columns of summarize()'s DataFrame, in order.
COLUMNS = (["path", "status", "format", "version", "units"] + list(KINDS) +
           ["layers", "blocks", "xmin", "ymin", "zmin", "xmax", "ymax", "zmax", "seconds", "error"])


def _why(d):
    """The error text for a drawing that was not read to its end."""
    if d.status == "endofdrawing":
        return ""
    if d.status == "endofstream":
        return "line %d: the drawing ends without an EOF record (a cut or incomplete file)" % d.line
    if d.status == "malformedcode":
        return "line %d: numerical group code expected: %s" % (d.line, d.badline)
    if d.status == "outofmemory":
        return "line %d: out of memory" % d.line
    return "line %d: reading stopped (%s)" % (d.line, d.status)


def summary(path, **read_options):
    """One drawing's row of summarize(), as a dict."""
    started = time.perf_counter()
    row = dict.fromkeys(COLUMNS)
    row["path"] = str(path)
    try:
        d = read(path, **read_options)
    except Exception as e:   # a row, whatever went wrong
        row.update(status="error", error="%s: %s" % (type(e).__name__, e), seconds=time.perf_counter() - started)
        for k in KINDS + ("layers", "blocks"):
            row[k] = 0
        for axis in "xyz":
            row[axis + "min"] = row[axis + "max"] = float("nan")
        return row
    row.update(status=d.status, format=d.header.get("$ACADVER"), version=d.release, units=d.units.name,
               layers=len(d.layers), blocks=len(d.blocks), error=_why(d))
    row.update(d.counts())
    box = d.extents()
    for i, axis in enumerate("xyz"):
        row[axis + "min"] = float(box[0][i]) if box else float("nan")
        row[axis + "max"] = float(box[1][i]) if box else float("nan")
    row["seconds"] = time.perf_counter() - started
    return row


def _summaries(paths, read_options):
    return [summary(p, **read_options) for p in paths]


def _drawing(path, read_options):
    try:
        return read(path, **read_options)
    except Exception as e:
        return Drawing.failed("%s: %s" % (type(e).__name__, e), source=str(path))


def summarize(paths, client=None, **read_options):
    """A DataFrame with one row per path, in their order: path, status,
    format ($ACADVER) and version, units, the count of each kind, layers,
    blocks, the extents (nan without geometry), seconds and error text.
    read_options are those of ostra.read()."""
    import pandas
    paths = [str(p) for p in paths]
    if client is not None:
        # A task per few drawings: 16 tasks for each worker thread, so that
        # the scheduling costs little beside the reading, and a worker that
        # runs slower than the others (a busy machine) holds up the end by
        # a sixteenth of its share at most.
        threads = max(1, sum(client.nthreads().values()))
        size = max(1, -(-len(paths) // (16 * threads)))
        chunks = [paths[i:i + size] for i in range(0, len(paths), size)]
        futures = client.map(_summaries, chunks, pure=False, read_options=read_options)
        rows = [row for part in client.gather(futures) for row in part]
    else:
        import dask
        rows = dask.compute(*[dask.delayed(summary, pure=False)(p, **read_options) for p in paths],
                            scheduler="threads")
    frame = pandas.DataFrame(list(rows), columns=COLUMNS)
    for k in KINDS + ("layers", "blocks"):
        frame[k] = frame[k].astype("int64")
    return frame


def read_many(paths, client=None, partitions=None, **read_options):
    """A Dask bag of Drawings, one per path, in their order (a file that
    cannot be read gives Drawing.failed(), status "error"). With a client
    the bag is persisted on its cluster: the reading starts at once on the
    workers and the Drawings stay there until taken (bag.compute(), with
    the client as the default scheduler, or client.gather(bag.to_delayed()))."""
    import dask.bag
    paths = [str(p) for p in paths]
    parts = partitions or max(1, min(len(paths), 64))
    bag = dask.bag.from_sequence(paths, npartitions=parts).map(_drawing, read_options)
    return client.persist(bag) if client is not None else bag
