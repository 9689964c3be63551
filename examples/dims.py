"""DIMENSION records of the sample drawings with their anonymous blocks:
the dimension and extension lines, arrows as SOLID, the measurement as
MTEXT and the definition points on Defpoints, as a CAD program stores
them. Sizes are those of the STANDARD style times its scale, given."""

import math

from newform import MODEL, xyz
from records import arc, line, mtext, point, solid


class Dimensions:
    def __init__(self, d, scale, layer):
        self.d, self.layer, self.count = d, layer, 0
        self.text, self.arrow = 2.5 * scale, 2.5 * scale
        self.offset, self.beyond, self.gap = 0.625 * scale, 1.25 * scale, 0.625 * scale
        d.dimvars = [(40, scale), (41, 2.5), (42, 0.625), (44, 1.25), (140, 2.5), (147, 0.625)]

    def begin(self):
        self.count += 1
        name = "*D%d" % self.count
        return name, self.d.block(name, anonymous=True)

    def arrowhead(self, owner, tip, along):
        base = (tip[0] + along[0] * self.arrow, tip[1] + along[1] * self.arrow)
        side = (-along[1] * self.arrow / 6, along[0] * self.arrow / 6)
        solid(self.d, "0", [tip, (base[0] + side[0], base[1] + side[1]), (base[0] - side[0], base[1] - side[1])],
              owner, [(62, 0)])

    def measurement(self, owner, at, content, angle):
        reading = angle - 180 if 90.0001 < angle % 360 <= 270 else angle
        direction = (math.cos(math.radians(reading)), math.sin(math.radians(reading))) if reading else None
        mtext(self.d, "0", at, self.text, "\\A1;" + content, attach=5, direction=direction, owner=owner,
              props=[(62, 0)])

    def record(self, name, kind, defpoint, textpoint, measure, groups, override=None):
        g = [(2, name)] + xyz(10, defpoint) + xyz(11, textpoint) + [(70, 32 + kind)]
        if override:
            g.append((1, override))
        g += [(71, 5), (42, measure), (3, "STANDARD")] + groups
        return self.d.entity("DIMENSION", self.layer, "AcDbDimension", g)

    def linear(self, p1, p2, through, angle=0, aligned=False, override=None, fmt="%.0f"):
        """The distance of p1 and p2 along angle (aligned: along p1 to p2)
        with the dimension line through the point through."""
        if aligned:
            angle = math.degrees(math.atan2(p2[1] - p1[1], p2[0] - p1[0]))
        u = (math.cos(math.radians(angle)), math.sin(math.radians(angle)))
        n = (-u[1], u[0])
        def foot(p):
            k = (through[0] - p[0]) * n[0] + (through[1] - p[1]) * n[1]
            return (p[0] + n[0] * k, p[1] + n[1] * k), k
        (f1, k1), (f2, k2) = foot(p1), foot(p2)
        measure = abs((f2[0] - f1[0]) * u[0] + (f2[1] - f1[1]) * u[1])
        side = 1 if (k1 if abs(k1) > abs(k2) else k2) >= 0 else -1
        mid = ((f1[0] + f2[0]) / 2 + n[0] * side * (self.gap + self.text / 2),
               (f1[1] + f2[1]) / 2 + n[1] * side * (self.gap + self.text / 2))
        name, owner = self.begin()
        line(self.d, "0", f1, f2, owner, [(62, 0)])
        for p, f, k in ((p1, f1, k1), (p2, f2, k2)):
            s = 1 if k >= 0 else -1
            line(self.d, "0", (p[0] + n[0] * s * self.offset, p[1] + n[1] * s * self.offset),
                 (f[0] + n[0] * s * self.beyond, f[1] + n[1] * s * self.beyond), owner, [(62, 0)])
        length = math.hypot(f2[0] - f1[0], f2[1] - f1[1])
        along = ((f2[0] - f1[0]) / length, (f2[1] - f1[1]) / length)
        self.arrowhead(owner, f1, along)
        self.arrowhead(owner, f2, (-along[0], -along[1]))
        content = (override or "<>").replace("<>", fmt % measure)
        self.measurement(owner, mid, content, angle)
        for p in (p1, p2, f2):
            point(self.d, "Defpoints", p, owner)
        groups = [(100, "AcDbAlignedDimension")] + xyz(13, p1) + xyz(14, p2)
        if not aligned:
            groups += [(50, angle), (100, "AcDbRotatedDimension")]
        return self.record(name, 1 if aligned else 0, f2, mid, measure, groups, override)

    def radial(self, c, r, angle, diameter=False):
        """A radius (or diameter) of the circle at c, at angle degrees."""
        u = (math.cos(math.radians(angle)), math.sin(math.radians(angle)))
        q = (c[0] + u[0] * r, c[1] + u[1] * r)
        far = (c[0] - u[0] * r, c[1] - u[1] * r)
        name, owner = self.begin()
        line(self.d, "0", far if diameter else c, q, owner, [(62, 0)])
        self.arrowhead(owner, q, (-u[0], -u[1]))
        if diameter:
            self.arrowhead(owner, far, u)
        k = self.gap + self.text / 2
        mid = (c[0] + u[0] * r / 2 - u[1] * k, c[1] + u[1] * r / 2 + u[0] * k)
        self.measurement(owner, mid, ("%%%%c%g" if diameter else "R%g") % (2 * r if diameter else r), angle)
        point(self.d, "Defpoints", q, owner)
        point(self.d, "Defpoints", far if diameter else c, owner)
        if diameter:
            groups = [(100, "AcDbDiametricDimension")] + xyz(15, q) + [(40, 0)]
            return self.record(name, 3, far, mid, 2 * r, groups)
        return self.record(name, 4, c, mid, r, [(100, "AcDbRadialDimension")] + xyz(15, q) + [(40, 0)])

    def angular(self, v, a, b, radius):
        """The angle at v from direction a to direction b (degrees,
        counterclockwise), its arc at radius."""
        name, owner = self.begin()
        arc(self.d, "0", v, radius, a, b, owner, [(62, 0)])
        def at(t, k=radius):
            return (v[0] + k * math.cos(math.radians(t)), v[1] + k * math.sin(math.radians(t)))
        ta, tb = at(a), at(b)
        self.arrowhead(owner, ta, (-math.sin(math.radians(a)), math.cos(math.radians(a))))
        self.arrowhead(owner, tb, (math.sin(math.radians(b)), -math.cos(math.radians(b))))
        sweep = (b - a) % 360
        mid = at(a + sweep / 2, radius + self.gap + self.text / 2)
        self.measurement(owner, mid, "%g%%%%d" % sweep, a + sweep / 2 - 90)
        for p in (v, at(a, radius * 0.5), at(b, radius * 0.5), at(a + sweep / 2)):
            point(self.d, "Defpoints", p, owner)
        groups = ([(100, "AcDb2LineAngularDimension")] + xyz(13, v) + xyz(14, at(a, radius * 0.5)) +
                  xyz(15, v) + xyz(16, at(a + sweep / 2)))
        return self.record(name, 2, at(b, radius * 0.5), mid, math.radians(sweep), groups)
