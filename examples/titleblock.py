"""titleblock.dxf: an A3 sheet in R2010 form (UTF-8), in millimetres.

The title block is a block of lines, TEXT labels and ATTDEF records (one
invisible, one constant), inserted with its ATTRIB records. Beside it: a
TEXT for each alignment with a cross at its alignment point, turned,
backward, upside-down and oblique text, a MULTILEADER with MTEXT content
and one with a block, and a parts list as ACAD_TABLE with its block.
"""

from newform import NewForm, xyz
from records import attdef, circle, insert, line, lwpolyline, text
from sheetparts import multileader, mleaderstyle, table

# (tag, prompt, flags, at, height, halign, value)
ATTRIBUTES = [
    ("TITLE", "Drawing title", 0, (232, 52), 5, 0, "BEARING HOUSING"),
    ("DRAWING_NO", "Drawing number", 0, (232, 40), 3.5, 0, "OS-1042"),
    ("DRAWN_BY", "Drawn by", 0, (232, 26), 3.5, 0, "K. Müller"),
    ("DATE", "Date", 0, (302, 26), 3.5, 0, "2024-05-17"),
    ("SCALE", "Scale", 0, (232, 12), 3.5, 0, "1:1"),
    ("SHEET", "Sheet", 0, (326, 12), 3.5, 1, "1/1"),
    ("REVISION", "Revision", 1, (352, 12), 3.5, 0, "B"),  # invisible
]


def titleblockdef(d):
    owner = d.block("TITLEBLOCK")
    lwpolyline(d, "0", [(0, 0), (420, 0), (420, 297), (0, 297)], closed=True, owner=owner)
    lwpolyline(d, "0", [(10, 10), (410, 10), (410, 287), (10, 287)], closed=True, width=0.7, owner=owner)
    lwpolyline(d, "0", [(230, 10), (410, 10), (410, 80), (230, 80)], closed=True, owner=owner)
    for y in (22, 36, 64):
        line(d, "0", (230, y), (410, y), owner)
    line(d, "0", (300, 10), (300, 36), owner)
    line(d, "0", (350, 10), (350, 22), owner)
    for at, label in (((232, 60), "TITLE"), ((232, 46), "DRAWING NO."), ((232, 32), "DRAWN"),
                      ((302, 32), "DATE"), ((232, 18), "SCALE"), ((302, 18), "SHEET"), ((352, 18), "REV")):
        text(d, "0", at, 2, label, owner)
    for tag, prompt, flags, at, height, halign, value in ATTRIBUTES:
        attdef(d, "0", tag, prompt, "", flags, owner, at=at, height=height, halign=halign)
    # A constant attribute: drawn with every insert, never given an ATTRIB.
    attdef(d, "0", "COMPANY", "", "ostra samples", 2, owner, at=(320, 72), height=4, halign=4)


def alignments(d):
    """A TEXT for each alignment, with a red cross at its alignment point."""
    names = {0: "left", 1: "center", 2: "right", 3: "aligned", 4: "middle", 5: "fit"}
    vnames = {0: "baseline", 1: "bottom", 2: "middle", 3: "top"}
    cells = [(h, v) for v in (3, 2, 1, 0) for h in (0, 1, 2)] + [(3, 0), (4, 0), (5, 0)]
    for k, (h, v) in enumerate(cells):
        x, y = 40 + 60 * (k % 3), 270 - 22 * (k // 3)
        if h in (3, 5):
            x, y = 20 + 60 * (k - 12) if h == 3 else 140, 160
            a, b = (x, y), (x + 45 if h == 3 else x + 60, y)
            text(d, "TEXT", a, 4, names[h] + " text", halign=h, second=b)
            marks = [a, b]
        else:
            content = names[h] if h == 4 else "%s %s" % (names[h], vnames[v])
            text(d, "TEXT", (x, y), 3.5, content, halign=h, valign=v, second=(x, y))
            marks = [(x, y)]
        for m in marks:
            line(d, "MARKS", (m[0] - 1.5, m[1]), (m[0] + 1.5, m[1]))
            line(d, "MARKS", (m[0], m[1] - 1.5), (m[0], m[1] + 1.5))
    text(d, "TEXT", (30, 130), 5, "turned 30°", rotation=30)
    text(d, "TEXT", (110, 130), 5, "backward", mirror=2)
    text(d, "TEXT", (140, 145), 5, "upside down", mirror=4)
    text(d, "TEXT", (150, 122), 5, "oblique 15°", oblique=15, style="NARROW")
    text(d, "TEXT", (30, 110), 3.5, "%%c40 H7, 90%%d, %%p0.02, 100%%%, %%uunderlined%%u, Ω = 5 kΩ")


def make():
    d = NewForm("AC1024")
    d.header = [("$INSBASE", xyz(10, (0, 0))), ("$EXTMIN", xyz(10, (0, 0))), ("$EXTMAX", xyz(10, (420, 297))),
                ("$TEXTSIZE", [(40, 3.5)])]
    d.style("NARROW", "simplex.shx", width=0.8, oblique=15)
    for layer in (("TEXT", 7), ("MARKS", 1), ("NOTES", 3), ("TABLE", 5), ("PART", 7)):
        d.layer(*layer)
    titleblockdef(d)
    balloon = d.block("BALLOON")
    circle(d, "0", (0, 0), 5, balloon)
    text(d, "0", (0, 0), 4, "1", owner=balloon, halign=4)

    insert(d, "0", "TITLEBLOCK", (0, 0), attribs=[
        (tag, flags, dict(at=at, height=height, content=value, halign=halign))
        for tag, prompt, flags, at, height, halign, value in ATTRIBUTES])
    alignments(d)

    # The part the leaders point at: a plate with a hole.
    lwpolyline(d, "PART", [(230, 150), (330, 150), (330, 230), (230, 230)], closed=True)
    circle(d, "PART", (280, 190), 20)
    style = mleaderstyle(d, d.styles[0][0])
    multileader(d, "NOTES", style, d.styles[0][0], tip=(294.1, 204.1), landing=(340, 250),
                content="Hole %%c40 H7\\Pdrilled through")
    multileader(d, "NOTES", style, d.styles[0][0], tip=(330, 160), landing=(360, 140), block=balloon)
    table(d, "TABLE", (230, 135), ["POS", "PART", "QTY"], [["1", "Housing", "1"], ["2", "Bearing 6204", "2"]],
          [15, 45, 15], 8)
    return d.text()
