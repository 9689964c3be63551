"""MULTILEADER and ACAD_TABLE records with the objects they refer to (the
multileader style, the table style and the table's anonymous block), for
the title block sample."""

from newform import MODEL, hexh, xyz
from records import line, mtext

BYBLOCK_COLOR = -1056964608   # a colour of these records: 0xC1000000
BYLAYER_LINETYPE = 0x15


def mleaderstyle(d, textstyle):
    """The "Standard" multileader style in its dictionary; returns its handle."""
    dictionary, style = d.handle(), d.handle()
    d.rootentries.append(("ACAD_MLEADERSTYLE", dictionary))
    d.objects.append([(0, "DICTIONARY"), (5, hexh(dictionary)), (330, "C"), (100, "AcDbDictionary"), (281, 1),
                      (3, "Standard"), (350, hexh(style))])
    d.objects.append([
        (0, "MLEADERSTYLE"), (5, hexh(style)), (330, hexh(dictionary)), (100, "AcDbMLeaderStyle"), (179, 2),
        (170, 2), (171, 1), (172, 0), (90, 2), (40, 0.0), (41, 0.0), (173, 1), (91, BYBLOCK_COLOR),
        (340, hexh(BYLAYER_LINETYPE)), (92, -2), (290, 1), (42, 2.0), (291, 1), (43, 8.0), (3, "Standard"),
        (44, 3.5), (300, ""), (342, hexh(textstyle)), (174, 1), (175, 1), (176, 0), (178, 1),
        (93, BYBLOCK_COLOR), (45, 3.5), (292, 0), (297, 0), (46, 4.0), (94, BYBLOCK_COLOR), (47, 1.0),
        (49, 1.0), (140, 1.0), (293, 1), (141, 0.0), (294, 1), (177, 0), (142, 1.0), (295, 0), (296, 0),
        (143, 3.75), (271, 0), (272, 9), (273, 9)])
    return style


def multileader(d, layer, style, textstyle, tip, landing, content=None, block=None):
    """A leader from tip to landing, its dogleg running right, ending in
    MTEXT content or in an insert of block (a block record handle)."""
    dogleg = 8.0
    end = (landing[0] + dogleg, landing[1])
    g = [(270, 2), (300, "CONTEXT_DATA{"), (40, 1.0)] + xyz(10, end) + [
        (41, 3.5), (140, 3.5), (145, 2.0), (174, 1), (175, 1), (176, 0), (177, 0)]
    if content is not None:
        g += [(290, 1), (304, content)] + xyz(11, (0, 0, 1)) + [(340, hexh(textstyle))] + \
             xyz(12, (end[0] + 2, end[1] + 1.75)) + xyz(13, (1, 0, 0)) + [
            (42, 0.0), (43, 0.0), (44, 0.0), (45, 1.0), (170, 1), (90, BYBLOCK_COLOR), (171, 1), (172, 1),
            (91, -939524096), (141, 1.5), (92, 0), (291, 0), (292, 0), (173, 0), (293, 0), (142, 0.0),
            (143, 0.0), (294, 0), (295, 0), (296, 0)]
    else:
        at = (end[0] + 5, end[1])
        g += [(290, 0), (296, 1), (341, hexh(block))] + xyz(14, (0, 0, 1)) + xyz(15, at) + xyz(16, (1, 1, 1)) + [
            (46, 0.0), (93, BYBLOCK_COLOR)]
        for v in (1, 0, 0, at[0], 0, 1, 0, at[1], 0, 0, 1, 0, 0, 0, 0, 1):
            g.append((47, float(v)))
    g += xyz(110, (0, 0, 0)) + xyz(111, (1, 0, 0)) + xyz(112, (0, 1, 0)) + [(297, 0), (302, "LEADER{"),
        (290, 1), (291, 1)] + xyz(10, landing) + xyz(11, (1, 0, 0)) + [
        (90, 0), (40, dogleg), (304, "LEADER_LINE{")] + xyz(10, tip) + [(91, 0), (305, "}"), (271, 0),
        (303, "}"), (272, 9), (273, 9), (301, "}"),
        (340, hexh(style)), (90, 0), (170, 1), (91, BYBLOCK_COLOR), (341, hexh(BYLAYER_LINETYPE)), (171, -2),
        (290, 1), (291, 1), (41, dogleg), (42, 3.5), (172, 2 if content is not None else 1)]
    if content is not None:
        g += [(343, hexh(textstyle)), (173, 1), (95, 1), (174, 1), (175, 0), (92, BYBLOCK_COLOR), (292, 0)]
    else:
        g += [(344, hexh(block)), (93, BYBLOCK_COLOR)] + xyz(10, (1, 1, 1)) + [(43, 0.0), (176, 0)]
    g += [(293, 0), (294, 0), (178, 0), (179, 1), (271, 0), (272, 9), (273, 9)]
    return d.entity("MULTILEADER", layer, "AcDbMLeader", g)


def tablestyle(d):
    dictionary, style = d.handle(), d.handle()
    d.rootentries.append(("ACAD_TABLESTYLE", dictionary))
    d.objects.append([(0, "DICTIONARY"), (5, hexh(dictionary)), (330, "C"), (100, "AcDbDictionary"), (281, 1),
                      (3, "Standard"), (350, hexh(style))])
    g = [(0, "TABLESTYLE"), (5, hexh(style)), (330, hexh(dictionary)), (100, "AcDbTableStyle"), (280, 0),
         (3, "Standard"), (70, 0), (71, 0), (40, 1.5), (41, 1.5), (280, 0), (281, 0)]
    for height in (4.5, 3.5, 2.5):  # the title, header and data cells
        g += [(7, "STANDARD"), (140, height), (170, 5), (62, 0), (63, 7), (283, 0), (90, 4), (91, 0), (1, "")]
        g += [(c, -2) for c in range(274, 280)] + [(c, 1) for c in range(284, 290)] + \
             [(c, 0) for c in range(64, 70)]
    d.objects.append(g)
    return style


def table(d, layer, corner, header, rows, widths, height):
    """An ACAD_TABLE with its upper left corner at corner: the anonymous
    block holds the grid lines and each cell's MTEXT; the record names it
    in group 2 and stands at the corner."""
    style = tablestyle(d)
    name = "*T1"
    owner = d.block(name, anonymous=True)
    cells = [header] + rows
    total = sum(widths)
    for r in range(len(cells) + 1):
        line(d, "0", (0, -r * height), (total, -r * height), owner)
    x = 0
    for w in [0] + widths:
        x += w
        line(d, "0", (x, 0), (x, -len(cells) * height), owner)
    for r, row in enumerate(cells):
        x = 0
        for w, value in zip(widths, row):
            mtext(d, "0", (x + w / 2, -(r + 0.5) * height), 3.5 if r == 0 else 2.5, value, attach=5, owner=owner)
            x += w
    # The block's lines and texts stand at the block's origin; the record
    # places it at the corner.
    g = [(2, name)] + xyz(10, corner) + [(100, "AcDbTable"), (280, 0), (342, hexh(style)), (343, hexh(owner))] + \
        xyz(11, (1, 0, 0)) + [(90, 22), (91, len(cells)), (92, len(widths)), (93, 0), (94, 0), (95, 0), (96, 0)]
    g += [(141, float(height)) for _ in cells] + [(142, float(w)) for w in widths]
    for r, row in enumerate(cells):
        for value in row:
            g += [(171, 1), (172, 0), (173, 0), (174, 0), (175, 1), (176, 1), (91, 0), (178, 0), (145, 0.0),
                  (1, value), (7, "STANDARD"), (140, 3.5 if r == 0 else 2.5), (170, 5)]
    return d.entity("ACAD_TABLE", layer, "AcDbBlockReference", g, MODEL)
