"""floorplan.dxf: a flat of three rooms in R2000 form, in millimetres.

Walls are ACAD_PROXY_ENTITY records whose proxy graphics draw them (an
outline, and a grey fill for the outer walls); the entrance door is an
entity of a class a reader does not know, with proxy graphics of an arc
and a line. Room names are TEXT and MTEXT; dimensions come with their
blocks; a column is a solid hatch, a shaft's wall section an ANSI31 hatch
with its duct as a hole, the bedroom floor a gradient under a WIPEOUT
behind its name; the axes are centre lines; a balcony rail and the north
arrow are wide polylines; a note stands on a yellow layer.
"""

from dims import Dimensions
from newform import NewForm, xyz
from proxygraphics import Graphics, groups as proxygroups
from records import arc, hatch, line, lwpolyline, mtext, text, wipeout

OUTER, INNER = 300, 150

# Wall pieces (x0, y0, x1, y1): the outer walls with the entrance in the
# bottom one, the inner walls with door openings.
OUTER_WALLS = [(0, 0, 1500, OUTER), (2400, 0, 12000, OUTER), (0, 7700, 12000, 8000),
               (0, OUTER, OUTER, 7700), (11700, OUTER, 12000, 7700)]
INNER_WALLS = [(4925, OUTER, 5075, 3000), (4925, 3900, 5075, 7700),
               (5075, 4425, 8000, 4575), (8900, 4425, 11700, 4575)]


def rectangle(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def wall(d, wallclass, box, filled):
    g = Graphics()
    g.extents(box[:2], box[2:])
    outline = rectangle(*box)
    if filled:
        g.color(8)
        g.fill(True)
        g.polygon(outline)
        g.fill(False)
    g.color(256)
    g.polyline(outline + outline[:1])
    # The entity's own data (32 bits) and its end of object references.
    data = [(100, "AcDbProxyEntity"), (90, 498), (91, wallclass)] + proxygroups(g.data()) + [
        (93, 32), (310, "01000000"), (94, 0), (95, 23), (70, 0)]
    d.entity("ACAD_PROXY_ENTITY", "A-WALL", None, data)


def entrance(d):
    """The entrance door: a leaf standing open and its swing, as the proxy
    graphics of an entity of a class the reader does not know."""
    g = Graphics()
    g.extents((1500, 0), (2400, 900))
    g.polyline([(1500, OUTER), (1500, OUTER + 900)])
    g.arc((1500, OUTER), 900, (1, 0), 3.14159265358979 / 2)
    d.entity("PLANDOOR", "A-DOOR", None, [(100, "PlanDoor")] + xyz(10, (1500, OUTER)) + [(40, 900)],
             props=proxygroups(g.data()))


def make():
    d = NewForm("AC1015")
    d.header = [("$INSBASE", xyz(10, (0, 0))), ("$EXTMIN", xyz(10, (-1500, -1500))),
                ("$EXTMAX", xyz(10, (14500, 9500))), ("$LTSCALE", [(40, 20.0)]),
                ("$TEXTSIZE", [(40, 250.0)]), ("$DIMSTYLE", [(2, "STANDARD")])]
    wallclass = d.addclass("PLANWALL", "PlanWall")
    d.addclass("PLANDOOR", "PlanDoor")
    d.addclass("WIPEOUT", "AcDbWipeout")
    for name in ("DASHED", "CENTER"):
        d.linetype(name)
    d.style("ROMAN", "simplex.shx", width=0.9)
    for layer in (("Defpoints", 7), ("A-WALL", 7, "CONTINUOUS", 50), ("A-COLS", 8, "CONTINUOUS", 35),
                  ("A-HATCH", 9, "CONTINUOUS", 13), ("A-DOOR", 4, "CONTINUOUS", 25),
                  ("A-AXIS", 1, "CENTER", 18), ("A-FURN", 6, "DASHED", 13), ("A-TEXT", 7, "CONTINUOUS", 25),
                  ("A-DIMS", 3, "CONTINUOUS", 18), ("A-NOTE", 2, "CONTINUOUS", 25),
                  ("A-RAIL", 5, "CONTINUOUS", 35)):
        d.layer(*layer)
    dims = Dimensions(d, 50, "A-DIMS")

    # Floors first, so that walls and words stand over them: the bedroom's
    # gradient, then the wipeout behind its name.
    hatch(d, "A-HATCH", [(1, "polyline", rectangle(5075, OUTER, 11700, 4425), [0] * 4)], [(8000, 2000)],
          gradient=("LINEAR", 0.5235987756, (4, 0x80C0FF), (7, 0xFFFFFF)))
    wipeout(d, "A-TEXT", (7200, 1650), (1900, 900))

    for box in OUTER_WALLS:
        wall(d, wallclass, box, True)
    for box in INNER_WALLS:
        wall(d, wallclass, box, False)
    entrance(d)

    # A column standing free in the living room: a solid hatch in its outline.
    column = rectangle(2500, 4000, 2800, 4300)
    hatch(d, "A-COLS", [(1, "polyline", column, [0] * 4)], [(2650, 4150)])
    lwpolyline(d, "A-COLS", column, closed=True)
    # The shaft in the kitchen's corner: its wall section hatched, the duct
    # through it a hole (an outermost loop and a circle of one arc edge).
    shaft = rectangle(10500, 6500, 11700, 7700)
    hatch(d, "A-HATCH", [(1 | 16, "polyline", shaft, [0] * 4),
                         (0, "edges", [("arc", (11100, 7100), 300, 0, 360)])], [(10600, 6600)],
          pattern=("ANSI31", 1, 0, 20, [(45, (0, 0), (-44.901280605, 44.901280605), [])]))
    lwpolyline(d, "A-WALL", shaft, closed=True)
    arc(d, "A-WALL", (11100, 7100), 300, 0, 360)
    text(d, "A-TEXT", (11100, 6300), 120, "%%c600 duct", halign=1, valign=3)

    # Inner doors: leaf and swing.
    line(d, "A-DOOR", (5000, 3000), (5800, 3000))
    arc(d, "A-DOOR", (5000, 3000), 800, 0, 90)
    line(d, "A-DOOR", (8900, 4500), (8900, 3700))
    arc(d, "A-DOOR", (8900, 4500), 900, 180, 270)

    # Furniture, dashed by its layer: a dining table and a bed.
    lwpolyline(d, "A-FURN", rectangle(1200, 5600, 3200, 6600), closed=True)
    lwpolyline(d, "A-FURN", rectangle(9500, 600, 11400, 2600), closed=True, props=[(48, 0.5)])

    # Axes: centre lines by layer, one given its linetype and scale itself.
    for x in (150, 5000, 11850):
        line(d, "A-AXIS", (x, -900), (x, 8900))
    line(d, "A-AXIS", (-900, 150), (12900, 150))
    line(d, "A-AXIS", (-900, 7850), (12900, 7850), props=[(6, "CENTER"), (48, 1.5)])

    # Room names.
    text(d, "A-TEXT", (2500, 2000), 250, "LIVING", halign=4, style="ROMAN")
    text(d, "A-TEXT", (2500, 1650), 150, "32.4 m\\U+00B2", halign=1, valign=3)
    mtext(d, "A-TEXT", (8350, 6250), 250, "{\\fArial|b1|i0;KITCHEN}\\P\\H0.6x;18.4 m\\U+00B2 \\C1;tiled", attach=5)
    mtext(d, "A-TEXT", (8150, 2100), 250, "BEDROOM\\P\\H0.6x;\\C5;oak floor, %%c12 heating pipes", width=2200,
          attach=5)

    # Dimensions: along the bottom and the left side.
    dims.linear((0, 0), (12000, 0), (0, -1100))
    dims.linear((0, 0), (5000, 0), (0, -500))
    dims.linear((5000, 0), (12000, 0), (0, -500), override="<> clear")
    dims.linear((0, 0), (0, 8000), (-700, 0), angle=90)

    # The balcony rail and the north arrow: wide polylines.
    lwpolyline(d, "A-RAIL", [(5500, 8000), (5500, 9200), (9500, 9200), (9500, 8000)], width=60)
    lwpolyline(d, "A-NOTE", [(13500, 6000), (13500, 7000)], widths=[(400, 0), (0, 0)])
    text(d, "A-NOTE", (13500, 7150), 300, "N", halign=1)
    mtext(d, "A-NOTE", (12600, 5400), 150, "NOTE:\\Pall walls\\Pplastered", attach=1)
    return d.text()
