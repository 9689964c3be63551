#!/usr/bin/python3
"""Times the Python module against the C++ reading loop and reports its
memory; times the Debian python3-ezdxf package's readfile() as a black box
on a smaller drawing, scaled; and times ostra.batch.summarize on a cluster
of one and of two workers.

usage: /usr/bin/python3 bench/pycompare.py [--small] [--runs N] [--build DIR]
                                           [--dir DIR] [--skip-ezdxf] [--skip-cluster]
                                           [--skip-read] [--ezdxf-full]
  --small        drawings a tenth of the size, for a quick run
  --runs N       timings per program; the minimum and median are reported (5)
  --build DIR    a build with -DOSTRA_BUILD_BENCH=ON and the module (build-bench);
                 configured and built when it lacks them
  --dir DIR      where the drawings go (a new directory under /tmp, removed after)
  --skip-read    the batch timings only
  --ezdxf-full   ezdxf on the whole drawing, once (about 30 s and 1 GB), not scaled

Each timing of ostra.read runs in a process of its own, so that its peak
resident set is that one reading's: the interpreter with numpy and the
module loaded, plus what the reading takes. The C++ loop is readdxf
--exact, through a C stream as the README's figures; ostra.read reads a
path from a mapping (the pages passed given back), which is the module's
way; the stream and a read-whole copy are timed too.
"""

import argparse
import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PY = "/usr/bin/python3"

# One reading in a fresh process: its time, CPU time, peak RSS and the RSS
# before it, and the arrays' bytes.
READ_ONE = r"""
import json, resource, sys, time
sys.path.insert(0, sys.argv[1])
import ostra
from ostra import _ostra
path, how = sys.argv[2], sys.argv[3]
def rss():
    with open("/proc/self/status") as f:
        return next(int(l.split()[1]) for l in f if l.startswith("VmRSS")) / 1024
before = rss()
t, c = time.perf_counter(), time.process_time()
raw = _ostra.read("path", path, True, None, 0.0, False, how=how)
seconds, cpu = time.perf_counter() - t, time.process_time() - c
d = ostra.Drawing._fromraw(raw)
arrays = sum(a.nbytes for _, t in d.tables() for a in (t[n] for n in t.columns))
print(json.dumps({"seconds": seconds, "cpu": cpu, "peak": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024,
                  "before": before, "arrays": arrays / 2**20, "geometries": len(d)}))
"""

EZDXF_ONE = r"""
import json, resource, sys, time
import ezdxf
t, c = time.perf_counter(), time.process_time()
ezdxf.readfile(sys.argv[1])
print(json.dumps({"seconds": time.perf_counter() - t, "cpu": time.process_time() - c,
                  "peak": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024}))
"""


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, capture_output=True, text=True, **kw).stdout


def stats(values):
    return min(values), statistics.median(values)


def build(dirname):
    if not os.path.exists(os.path.join(dirname, "CMakeCache.txt")):
        run(["cmake", "-S", ROOT, "-B", dirname, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
             "-DOSTRA_BUILD_BENCH=ON", "-DOSTRA_BUILD_TESTS=OFF"])
    run(["cmake", "--build", dirname, "--target", "gendxf", "readdxf", "_ostra"])
    return os.path.join(dirname, "bench"), os.path.join(dirname, "python")


def readdxf(bench, path):
    out = run([os.path.join(bench, "readdxf"), "--exact", path])
    values = dict(l.split()[:2] for l in out.splitlines() if l.startswith(("seconds", "cpu")))
    return float(values["seconds"]), float(values["cpu"])


def reading(bench, pypath, path, runs):
    print("== ostra.read against the C++ reading loop (readdxf --exact), %s" % os.path.basename(path))
    times = {"readdxf": [], "map": [], "stream": [], "whole": []}
    cpus = {k: [] for k in times}
    memory = {}
    for _ in range(runs):
        s, c = readdxf(bench, path)
        times["readdxf"].append(s)
        cpus["readdxf"].append(c)
        for how in ("map", "stream", "whole"):
            r = json.loads(run([PY, "-c", READ_ONE, pypath, path, how]))
            times[how].append(r["seconds"])
            cpus[how].append(r["cpu"])
            memory.setdefault(how, []).append(r)
    base_s, base_c = stats(times["readdxf"])[0], stats(cpus["readdxf"])[0]
    print("  %-28s %8s %8s %8s %8s" % ("", "min s", "median", "cpu min", "x loop"))
    for k in times:
        (smin, smed), (cmin, _) = stats(times[k]), stats(cpus[k])
        label = "readdxf --exact (stream)" if k == "readdxf" else "ostra.read, path, " + k
        print("  %-28s %8.3f %8.3f %8.3f %8.2f (cpu %.2f)" % (label, smin, smed, cmin, smin / base_s, cmin / base_c))
    r = memory["map"][0]
    peak = min(m["peak"] for m in memory["map"])
    print("  geometries %d, arrays %.1f MiB" % (r["geometries"], r["arrays"]))
    print("  peak RSS of the reading process %.1f MiB (%.2f x the arrays); before the reading %.1f MiB, "
          "growth %.1f MiB (%.2f x)" % (peak, peak / r["arrays"], r["before"], peak - r["before"],
                                       (peak - r["before"]) / r["arrays"]))
    for how in ("stream", "whole"):
        p = min(m["peak"] for m in memory[how])
        print("  peak RSS reading the path %s: %.1f MiB (%.2f x)" % (how, p, p / r["arrays"]))
    return stats(times["map"])[0], stats(cpus["map"])[0]


def ezdxf(path, scale, ostra_best, runs):
    print("== ezdxf.readfile (Debian python3-ezdxf, run as a black box) on %s, scaled x%g"
          % (os.path.basename(path), scale))
    try:
        results = [json.loads(run([PY, "-c", EZDXF_ONE, path])) for _ in range(runs)]
    except subprocess.CalledProcessError as e:
        print("  not run: %s" % e.stderr.strip().splitlines()[-1:])
        return
    best, cpu = min(r["seconds"] for r in results), min(r["cpu"] for r in results)
    print("  %.3f s (median %.3f), cpu %.3f s, peak RSS %.0f MiB" %
          (best, statistics.median(r["seconds"] for r in results), cpu, min(r["peak"] for r in results)))
    print("  scaled %.1f s, cpu %.1f s: %.0f x the time of ostra.read, %.0f x its cpu time" %
          (best * scale, cpu * scale, best * scale / ostra_best[0], cpu * scale / ostra_best[1]))


def cpu_of(pid):
    """The CPU seconds (user and system) a process has used so far."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def cluster_time(pypath, paths, workers, runs):
    """summarize() on a scheduler and this many single-threaded workers,
    after one untimed run: the minimum and median of runs wall times, and
    the least over the runs of the CPU-time critical path, what the run
    takes with a core for each process: the busiest worker's CPU time plus
    the scheduler's and this process's (which ship the tasks and build the
    frame), added as though none of it overlapped; and that path without
    what each process uses idle (heartbeats, the workers' statistical
    profiler), which grows with the wall time, long on a busy machine;
    and that with the workers' CPU time shared out evenly among them, as
    the scheduler shares the tasks out when no worker is held up by other
    work on the machine."""
    import distributed
    sys.path.insert(0, pypath)
    import ostra.batch
    env = dict(os.environ, PYTHONPATH=pypath)
    tmp = tempfile.mkdtemp(prefix="ostra-cluster.")
    info = os.path.join(tmp, "scheduler.json")
    procs = [subprocess.Popen([PY, "-m", "distributed.cli.dask_scheduler", "--host", "127.0.0.1", "--port", "0",
                               "--no-dashboard", "--scheduler-file", info], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    try:
        while not os.path.exists(info):
            time.sleep(0.05)
        for i in range(workers):
            procs.append(subprocess.Popen([PY, "-m", "distributed.cli.dask_worker", "--scheduler-file", info,
                                           "--nthreads", "1", "--no-nanny", "--no-dashboard", "--host", "127.0.0.1",
                                           "--local-directory", os.path.join(tmp, "w%d" % i)], env=env,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        with distributed.Client(scheduler_file=info, timeout=60) as client:
            client.wait_for_workers(workers, timeout=60)
            ostra.batch.summarize(paths, client=client)
            # What each process uses idle (the workers' heartbeats and
            # statistical profiler), by the second of wall time.
            before, t = [cpu_of(p.pid) for p in procs], time.perf_counter()
            time.sleep(3)
            idle = [(cpu_of(p.pid) - b) / (time.perf_counter() - t) for p, b in zip(procs, before)]
            seconds, paths_cpu, parts, net_cpu, shared_cpu = [], [], [], [], []
            for _ in range(runs):
                before = [cpu_of(p.pid) for p in procs]
                t, c = time.perf_counter(), time.process_time()
                frame = ostra.batch.summarize(paths, client=client)
                seconds.append(time.perf_counter() - t)
                mine = time.process_time() - c
                used = [cpu_of(p.pid) - b for p, b in zip(procs, before)]
                paths_cpu.append(max(used[1:]) + used[0] + mine)
                parts.append((sorted(used[1:]), used[0], mine))
                net = [u - rate * seconds[-1] for u, rate in zip(used, idle)]
                net_cpu.append(max(net[1:]) + net[0] + mine)
                shared_cpu.append(sum(net[1:]) / workers + net[0] + mine)
            assert (frame["status"] == "endofdrawing").all()
            client.shutdown()
    finally:
        for p in procs:
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
        shutil.rmtree(tmp, ignore_errors=True)
    workers_cpu, scheduler_cpu, mine = parts[paths_cpu.index(min(paths_cpu))]
    print("  %d worker(s): CPU s of the workers %s, of the scheduler %.3f, of this process %.3f; idle, "
          "CPU s per second: %s" % (workers, " ".join("%.3f" % w for w in workers_cpu), scheduler_cpu, mine,
                                    " ".join("%.3f" % r for r in idle)))
    return min(seconds), statistics.median(seconds), min(paths_cpu), min(net_cpu), min(shared_cpu)


def batch(bench, pypath, where, mb, runs):
    print("== ostra.batch.summarize over 200 drawings of %g MB, on 1 and on 2 workers" % mb)
    paths = []
    for i in range(200):
        p = os.path.join(where, "batch%03d.dxf" % i)
        run([os.path.join(bench, "gendxf"), "--preset", "r2000" if i % 2 else "r12", "--mb", str(mb),
             "--seed", str(i + 1), p])
        paths.append(p)
    one = cluster_time(pypath, paths, 1, runs)
    two = cluster_time(pypath, paths, 2, runs)
    print("  load average before: %s" % open("/proc/loadavg").read().split()[:3])
    for n, r in ((1, one), (2, two)):
        print("  %d worker(s) %.3f s (median %.3f); CPU critical path %.3f s, without the idle use %.3f s, "
              "with the work shared out evenly %.3f s" % ((n,) + r))
    print("  2 workers against 1: %.2f x faster by the wall clock; by CPU time %.2f x on the critical path, "
          "%.2f x without the idle use, %.2f x with the work shared out evenly"
          % (one[0] / two[0], one[2] / two[2], one[3] / two[3], one[4] / two[4]))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--small", action="store_true")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    ap.add_argument("--dir")
    ap.add_argument("--skip-ezdxf", action="store_true")
    ap.add_argument("--skip-cluster", action="store_true")
    ap.add_argument("--skip-read", action="store_true", help="the batch timings only")
    ap.add_argument("--ezdxf-full", action="store_true", help="ezdxf on the whole drawing, once, not scaled")
    a = ap.parse_args()
    bench, pypath = build(a.build)
    where = a.dir or tempfile.mkdtemp(prefix="ostra-pybench.")
    os.makedirs(where, exist_ok=True)
    try:
        print("load average: %s" % open("/proc/loadavg").read().split()[:3])
        mb = 12.9 if a.small else 129
        best = None
        if not a.skip_read:
            big = os.path.join(where, "r2000.dxf")
            run([os.path.join(bench, "gendxf"), "--preset", "r2000", "--mb", str(mb), big])
            best = reading(bench, pypath, big, a.runs)
        if best is not None and not a.skip_ezdxf:
            if a.ezdxf_full:
                ezdxf(big, 1, best, 1)
            else:
                smaller = os.path.join(where, "r2000-smaller.dxf")
                run([os.path.join(bench, "gendxf"), "--preset", "r2000", "--mb", str(mb / 10), smaller])
                ezdxf(smaller, 10, best, max(1, min(a.runs, 2)))
        if not a.skip_cluster:
            batch(bench, pypath, where, 0.4 if a.small else 4, a.runs)
    finally:
        if not a.dir:
            shutil.rmtree(where, ignore_errors=True)


if __name__ == "__main__":
    main()
