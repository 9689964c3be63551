"""ostra.batch on local threads and on a cluster of a scheduler and two
worker processes on loopback, started here and stopped at the end: 200
generated drawings, one of them cut and one not DXF, summarized as the
local loop of summary() does."""

import math
import os
import subprocess
import sys
import time

import pytest

import ostra
import ostra.batch
from conftest import every_kind

pytest.importorskip("pandas")
pytest.importorskip("dask")


@pytest.fixture(scope="module")
def archive(tmp_path_factory):
    """200 drawings: every kind with other numbers each, one cut, one not
    DXF; and a path that does not exist."""
    d = tmp_path_factory.mktemp("archive")
    paths = []
    for i in range(200):
        data = every_kind(seed=100 + i, count=1 + i % 5)
        if i == 17:
            data = data[: len(data) // 2]
        if i == 42:
            data = b"this is not a drawing\n" * 3
        p = d / ("d%03d.dxf" % i)
        p.write_bytes(data)
        paths.append(str(p))
    return paths, str(d / "missing.dxf")


def without_seconds(rows):
    return [{k: v for k, v in r.items() if k != "seconds"} for r in rows]


def assert_rows_equal(got, want):
    assert len(got) == len(want)
    for g, w in zip(without_seconds(got), without_seconds(want)):
        assert g.keys() == w.keys()
        for k in g:
            same = (g[k] == w[k] or (isinstance(g[k], float) and isinstance(w[k], float)
                                     and math.isnan(g[k]) and math.isnan(w[k])))
            assert same, (g["path"], k, g[k], w[k])


def check_rows(rows, paths, missing):
    by_path = {r["path"]: r for r in rows}
    cut, junk, gone = by_path[paths[17]], by_path[paths[42]], by_path[missing]
    assert cut["status"] == "endofstream" and "without an EOF record" in cut["error"] and cut["segments"] > 0
    assert junk["status"] == "malformedcode" and junk["error"].startswith("line 1:")
    assert gone["status"] == "error" and gone["error"].startswith("FileNotFoundError")
    whole = [r for p, r in by_path.items() if p not in (paths[17], paths[42], missing)]
    assert all(r["status"] == "endofdrawing" and r["error"] == "" for r in whole)
    assert all(r["format"] == "AC1015" and r["version"] == "R2000" and r["units"] == "millimeters" for r in whole)


def test_summary_row(archive):
    paths, _ = archive
    row = ostra.batch.summary(paths[0])
    d = ostra.read(paths[0])
    assert list(row) == ostra.batch.COLUMNS
    assert row["segments"] == len(d.segments) and row["layers"] == len(d.layers) and row["blocks"] == 1
    lo, hi = d.extents()
    assert (row["xmin"], row["zmax"]) == (lo[0], hi[2]) and row["seconds"] > 0


def test_local_threads(archive):
    paths, missing = archive
    some = paths[:30] + [paths[42], missing]
    frame = ostra.batch.summarize(some)
    assert list(frame.columns) == ostra.batch.COLUMNS and frame["path"].tolist() == some
    assert_rows_equal(frame.to_dict("records"), [ostra.batch.summary(p) for p in some])
    drawings = ostra.batch.read_many(some[:5] + [missing]).compute(scheduler="sync")
    for p, d in zip(some[:5], drawings):
        assert d.counts() == ostra.read(p).counts() and d.layers == ostra.read(p).layers
    assert drawings[-1].status == "error" and "missing.dxf" in drawings[-1].error


@pytest.fixture(scope="module")
def cluster(tmp_path_factory):
    """A scheduler and two single-threaded worker processes on loopback,
    importing ostra from where this test does; a Client to them."""
    distributed = pytest.importorskip("distributed")
    where = tmp_path_factory.mktemp("cluster")
    info = str(where / "scheduler.json")
    env = dict(os.environ, PYTHONPATH=os.path.dirname(os.path.dirname(ostra.__file__)))
    common = ["--no-dashboard"]
    procs = [subprocess.Popen([sys.executable, "-m", "distributed.cli.dask_scheduler", "--host", "127.0.0.1",
                               "--port", "0", "--scheduler-file", info] + common,
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    client = None
    try:
        deadline = time.monotonic() + 60
        while not os.path.exists(info) and time.monotonic() < deadline:
            time.sleep(0.05)
        for i in range(2):
            procs.append(subprocess.Popen(
                [sys.executable, "-m", "distributed.cli.dask_worker", "--scheduler-file", info, "--nthreads", "1",
                 "--no-nanny", "--host", "127.0.0.1", "--local-directory", str(where / ("w%d" % i))] + common,
                env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        client = distributed.Client(scheduler_file=info, timeout=60)
        client.wait_for_workers(2, timeout=60)
        yield client
    finally:
        # The scheduler stops its workers, then itself; what is left after
        # a while is stopped here.
        if client is not None:
            client.shutdown()
        for p in procs:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()


def test_cluster_summarize_equals_local_loop(archive, cluster):
    paths, missing = archive
    everything = paths + [missing]
    frame = ostra.batch.summarize(everything, client=cluster)
    assert frame["path"].tolist() == everything
    rows = frame.to_dict("records")
    assert_rows_equal(rows, [ostra.batch.summary(p) for p in everything])
    check_rows(rows, paths, missing)
    # Both workers took part.
    workers = cluster.run(lambda: 1)
    assert len(workers) == 2


def test_cluster_read_many(archive, cluster):
    paths, missing = archive
    some = paths[40:50] + [missing]
    drawings = ostra.batch.read_many(some, client=cluster).compute()
    assert len(drawings) == len(some)
    for p, d in zip(some[:-1], drawings):
        want = ostra.read(p)
        assert d.status == want.status and d.counts() == want.counts() and d.header == want.header
        assert d.segments.end.tolist() == want.segments.end.tolist()
    assert drawings[-1].status == "error"
