"""An encoder of proxy graphics, the picture a CAD program stores with an
entity whose class a reader may not know (groups 92 and 310).

The stream is little-endian: a header of its total size in bytes and the
number of primitives (two 32-bit integers), then each primitive as its
size in bytes (header included), its type (both 32-bit integers) and its
data: doubles, points of three doubles, 32-bit integers.
"""

import struct

EXTENTS, CIRCLE, ARC, POLYLINE, POLYGON, COLOR, FILL = 1, 2, 4, 6, 7, 14, 20


class Graphics:
    def __init__(self):
        self.items = []

    def add(self, kind, data):
        self.items.append(struct.pack("<ii", 8 + len(data), kind) + data)

    @staticmethod
    def points(pts):
        return struct.pack("<i", len(pts)) + b"".join(struct.pack("<3d", p[0], p[1], 0.0) for p in pts)

    def extents(self, lo, hi):
        self.add(EXTENTS, struct.pack("<6d", lo[0], lo[1], 0.0, hi[0], hi[1], 0.0))

    def color(self, aci):
        self.add(COLOR, struct.pack("<i", aci))

    def fill(self, on):
        self.add(FILL, struct.pack("<i", 1 if on else 0))

    def polyline(self, pts):
        self.add(POLYLINE, self.points(pts))

    def polygon(self, pts):
        self.add(POLYGON, self.points(pts))

    def circle(self, c, r):
        self.add(CIRCLE, struct.pack("<3dd3d", c[0], c[1], 0.0, r, 0.0, 0.0, 1.0))

    def arc(self, c, r, start, sweep):
        """Centre, radius, the normal, the vector to the start, the sweep
        in radians, and the arc's kind (0: the arc alone)."""
        self.add(ARC, struct.pack("<3dd3d3ddi", c[0], c[1], 0.0, r, 0.0, 0.0, 1.0,
                                  start[0], start[1], 0.0, sweep, 0))

    def data(self):
        body = b"".join(self.items)
        return struct.pack("<ii", 8 + len(body), len(self.items)) + body


def groups(data):
    """92, the byte count, and the bytes in 310 chunks of 127."""
    return [(92, len(data))] + [(310, data[i:i + 127].hex().upper()) for i in range(0, len(data), 127)]
