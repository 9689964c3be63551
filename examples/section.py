"""section.dxf: a plate with a chamfer, a rounded corner and a bore, in R2000
form, in millimetres.

Its section face is an ANSI31 hatch whose bore is an island; centre lines
cross the bore. Linear, diameter, radius and angular dimensions come with
their blocks. A label block of TEXT and MTEXT is inserted once plainly and
once turned, mirrored and stretched.
"""

import math

from dims import Dimensions
from newform import NewForm, xyz
from records import circle, hatch, insert, line, lwpolyline, mtext, text

# The outline, counterclockwise; the vertex before the rounded corner
# carries its bulge (a quarter turn: tan(22.5 degrees)).
OUTLINE = [(0, 0), (110, 0), (120, 10), (120, 80), (26, 80), (0, 65)]
BULGES = [0, math.tan(math.radians(22.5)), 0, 0, 0, 0]
BORE, BORE_RADIUS = (45, 40), 15


def make():
    d = NewForm("AC1015")
    d.header = [("$INSBASE", xyz(10, (0, 0))), ("$EXTMIN", xyz(10, (-30, -30))), ("$EXTMAX", xyz(10, (220, 110))),
                ("$LTSCALE", [(40, 0.5)]), ("$TEXTSIZE", [(40, 2.5)])]
    for name in ("DASHED", "CENTER"):
        d.linetype(name)
    for layer in (("Defpoints", 7), ("PART", 7, "CONTINUOUS", 50), ("HATCH", 8, "CONTINUOUS", 18),
                  ("CENTER", 1, "CENTER", 18), ("DIMS", 3, "CONTINUOUS", 18), ("LABEL", 6, "CONTINUOUS", 25)):
        d.layer(*layer)
    dims = Dimensions(d, 1, "DIMS")

    label = d.block("LABEL", base=(0, 0))
    lwpolyline(d, "0", [(0, 0), (40, 0), (40, 16), (0, 16)], closed=True, owner=label)
    text(d, "0", (20, 10), 3.5, "SECTION A-A", owner=label, halign=1)
    mtext(d, "0", (2, 6), 2, "scale 2:1\\Pmaterial \\LS235\\l", owner=label)

    # The section face: the outline with the bore as an island.
    hatch(d, "HATCH", [(1 | 16, "polyline", OUTLINE, BULGES),
                       (0, "edges", [("arc", BORE, BORE_RADIUS, 0, 360)])], [(100, 60)],
          pattern=("ANSI31", 1, 0, 1, [(45, (0, 0), (-2.245064030, 2.245064030), [])]))
    lwpolyline(d, "PART", OUTLINE, closed=True, bulges=BULGES)
    circle(d, "PART", BORE, BORE_RADIUS)
    line(d, "CENTER", (BORE[0] - 22, BORE[1]), (BORE[0] + 22, BORE[1]))
    line(d, "CENTER", (BORE[0], BORE[1] - 22), (BORE[0], BORE[1] + 22))

    dims.linear((0, 0), (120, 0), (0, -15))
    dims.linear((0, 0), (26, 80), (135, 0), angle=90)
    dims.linear((0, 65), BORE, (0, 95))
    dims.linear((0, 0), BORE, (-15, 0), angle=90)
    dims.radial(BORE, BORE_RADIUS, 45, diameter=True)
    dims.radial((110, 10), 10, -45)
    dims.angular((0, 65), 0, 30, 30)

    insert(d, "LABEL", "LABEL", (150, 70))
    insert(d, "LABEL", "LABEL", (190, 10), scale=(-1.5, 0.75, 1), rotation=30)
    return d.text()
