"""The true extents of a drawing's geometry, worked out on its arrays: end
points, and for arcs, circles and ellipses every point where a coordinate
is extreme. Geometry with a number that is not finite is left out."""

import numpy as np


def _finite(*arrays):
    """The rows whose numbers are all finite: a slice of all of them when
    they are (the common case, told at once), else a mask."""
    if all(np.isfinite(a).all() for a in arrays):
        return slice(None)
    keep = None
    for a in arrays:
        ok = np.isfinite(a).all(axis=1) if a.ndim == 2 else np.isfinite(a)
        keep = ok if keep is None else keep & ok
    return keep


def _any(keep, a):
    return len(a[keep]) > 0 if isinstance(keep, slice) else keep.any()


def _axes(n):
    """The x and y axes of the object coordinate systems of unit normals n
    (the arbitrary axis algorithm)."""
    near_z = (np.abs(n[:, 0]) < 1 / 64) & (np.abs(n[:, 1]) < 1 / 64)
    helper = np.where(near_z[:, None], [0.0, 1.0, 0.0], [0.0, 0.0, 1.0])
    ax = np.cross(helper, n)
    ax /= np.linalg.norm(ax, axis=1)[:, None]
    ay = np.cross(n, ax)
    ay /= np.linalg.norm(ay, axis=1)[:, None]
    return ax, ay


def _unit(v):
    length = np.linalg.norm(v, axis=1)[:, None]
    return np.divide(v, length, out=np.zeros_like(v), where=length > 0)


def _curve_box(c, a, b, t0, t1):
    """Boxes of the curves c + a cos t + b sin t, t from t0 to t1 (degrees):
    (lo, hi) of shape (N, 3)."""
    def at(t):
        r = np.radians(t)[:, None]
        return c + a * np.cos(r) + b * np.sin(r)
    p0, p1 = at(t0), at(t1)
    lo, hi = np.minimum(p0, p1), np.maximum(p0, p1)
    tlo, thi = np.minimum(t0, t1), np.maximum(t0, t1)
    for k in range(3):
        # a cos t + b sin t along one axis is amplitude * cos(t - phase):
        # extreme at phase + n * 180 degrees, a maximum for even n.
        amplitude = np.hypot(a[:, k], b[:, k])
        phase = np.degrees(np.arctan2(b[:, k], a[:, k]))
        first = np.ceil((tlo - phase) / 180.0)
        for j in range(3):   # a sweep of at most 360 degrees holds at most three
            n = first + j
            inside = (phase + n * 180.0 <= thi) & (amplitude > 0)
            value = c[:, k] + np.where(n % 2 == 0, amplitude, -amplitude)
            lo[:, k] = np.where(inside, np.minimum(lo[:, k], value), lo[:, k])
            hi[:, k] = np.where(inside, np.maximum(hi[:, k], value), hi[:, k])
    return lo, hi


def _boxes(d):
    """The (lo, hi) arrays of every kind's finite geometry."""
    s = d.segments
    keep = _finite(s.start, s.end)
    yield s.start[keep], s.start[keep]
    yield s.end[keep], s.end[keep]
    p = d.points
    keep = _finite(p.location)
    yield p.location[keep], p.location[keep]

    a = d.arcs
    keep = _finite(a.center, a.normal, a.radius, a.start_angle, a.sweep)
    if _any(keep, a.radius):
        c, n, r = a.center[keep], a.normal[keep], a.radius[keep]
        ax, ay = _axes(n)
        theta = np.radians(a.start_angle[keep])[:, None]
        u = (ax * np.cos(theta) + ay * np.sin(theta)) * r[:, None]
        sweep = np.clip(a.sweep[keep], -360.0, 360.0)
        yield _curve_box(c, u, np.cross(n, u), np.zeros_like(sweep), sweep)

    ci = d.circles
    keep = _finite(ci.center, ci.normal, ci.radius)
    if _any(keep, ci.radius):
        c, n, r = ci.center[keep], _unit(ci.normal[keep]), ci.radius[keep]
        half = np.abs(r)[:, None] * np.sqrt(np.clip(1.0 - n * n, 0.0, 1.0))
        yield c - half, c + half

    e = d.ellipses
    keep = _finite(e.center, e.normal, e.major, e.ratio, e.start_param, e.end_param)
    if _any(keep, e.ratio):
        c, u = e.center[keep], e.major[keep]
        v = np.cross(_unit(e.normal[keep]), u) * e.ratio[keep][:, None]
        t0, end = e.start_param[keep], e.end_param[keep]
        end = np.where(end < t0, end + 360.0, end)
        yield _curve_box(c, u, v, t0, t0 + np.clip(end - t0, -360.0, 360.0))


def extents(d):
    lo, hi = None, None
    for blo, bhi in _boxes(d):
        if len(blo) == 0:
            continue
        # Column by column: a reduction over the rows of an (N, 3) array
        # at once is many times slower.
        mlo = np.array([blo[:, k].min() for k in range(3)])
        mhi = np.array([bhi[:, k].max() for k in range(3)])
        lo = mlo if lo is None else np.minimum(lo, mlo)
        hi = mhi if hi is None else np.maximum(hi, mhi)
    return None if lo is None else (lo, hi)
