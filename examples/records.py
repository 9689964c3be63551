"""Entity records of the newer form for the sample drawings, each added to
a NewForm drawing (newform.py) in model space or in a block (owner)."""

from newform import MODEL, xyz


def line(d, layer, a, b, owner=MODEL, props=()):
    return d.entity("LINE", layer, "AcDbLine", xyz(10, a) + xyz(11, b), owner, props)


def circle(d, layer, c, r, owner=MODEL, props=()):
    return d.entity("CIRCLE", layer, "AcDbCircle", xyz(10, c) + [(40, r)], owner, props)


def arc(d, layer, c, r, start, end, owner=MODEL, props=()):
    """Counterclockwise from start to end, degrees."""
    return d.entity("ARC", layer, "AcDbCircle", xyz(10, c) + [(40, r), (100, "AcDbArc"), (50, start), (51, end)],
                    owner, props)


def point(d, layer, p, owner=MODEL):
    return d.entity("POINT", layer, "AcDbPoint", xyz(10, p), owner)


def lwpolyline(d, layer, points, closed=False, width=None, widths=None, bulges=None, owner=MODEL, props=()):
    """width: one width for all (43); widths: (start, end) per vertex
    (40, 41); bulges: one per vertex (42)."""
    groups = [(90, len(points)), (70, 1 if closed else 0)]
    if width is not None:
        groups.append((43, width))
    for i, (x, y) in enumerate(points):
        groups += [(10, x), (20, y)]
        if widths:
            groups += [(40, widths[i][0]), (41, widths[i][1])]
        if bulges and bulges[i]:
            groups.append((42, bulges[i]))
    return d.entity("LWPOLYLINE", layer, "AcDbPolyline", groups, owner, props)


def solid(d, layer, corners, owner=MODEL, props=(), kind="SOLID"):
    """SOLID or TRACE: corners in the record's order (1, 2, 3, 4: the
    outline runs 1, 2, 4, 3); three corners make a triangle."""
    if len(corners) == 3:
        corners = list(corners) + [corners[2]]
    groups = []
    for k, c in enumerate(corners):
        groups += xyz(10 + k, c)
    return d.entity(kind, layer, "AcDbTrace", groups, owner, props)


def textgroups(at, height, content, rotation=0, halign=0, valign=0, second=None, style=None, width=1,
               oblique=0, mirror=0):
    """The AcDbText groups from 10 to 11 of TEXT, ATTDEF and ATTRIB: at is
    the first alignment point, second the second (needed when halign or
    valign is not 0)."""
    g = xyz(10, at) + [(40, height), (1, content)]
    if rotation:
        g.append((50, rotation))
    if width != 1:
        g.append((41, width))
    if oblique:
        g.append((51, oblique))
    if style:
        g.append((7, style))
    if mirror:
        g.append((71, mirror))
    if halign:
        g.append((72, halign))
    if halign or valign:
        g += xyz(11, second if second is not None else at)
    return g


def text(d, layer, at, height, content, owner=MODEL, props=(), valign=0, **kw):
    g = textgroups(at, height, content, valign=valign, **kw) + [(100, "AcDbText")]
    if valign:
        g.append((73, valign))
    return d.entity("TEXT", layer, "AcDbText", g, owner, props)


def mtext(d, layer, at, height, content, width=0, attach=1, direction=None, style=None, owner=MODEL, props=(),
          spacing=None):
    """MTEXT: content in chunks of 250 chars (groups 3, then 1)."""
    g = xyz(10, at) + [(40, height), (41, width), (71, attach), (72, 1)]
    while len(content) >= 250:
        g.append((3, content[:250]))
        content = content[250:]
    g.append((1, content))
    if style:
        g.append((7, style))
    if direction:
        g += xyz(11, direction)
    if spacing:
        g += [(73, 1), (44, spacing)]
    return d.entity("MTEXT", layer, "AcDbMText", g, owner, props)


def attdef(d, layer, tag, prompt, value, flags, owner, **kw):
    """flags: 1 invisible, 2 constant, 4 verify, 8 preset."""
    valign = kw.pop("valign", 0)
    g = textgroups(content=value, **kw)
    g += [(100, "AcDbAttributeDefinition"), (3, prompt), (2, tag), (70, flags)]
    if valign:
        g.append((74, valign))
    return d.entity("ATTDEF", layer, "AcDbText", g, owner)


def insert(d, layer, name, at, scale=(1, 1, 1), rotation=0, attribs=(), owner=MODEL, props=()):
    """An INSERT; attribs are (tag, flags, textgroups keyword arguments),
    each written as an ATTRIB after it (66 = 1), then SEQEND."""
    g = ([(66, 1)] if attribs else []) + [(2, name)] + xyz(10, at)
    if tuple(scale) != (1, 1, 1):
        g += [(41, scale[0]), (42, scale[1]), (43, scale[2])]
    if rotation:
        g.append((50, rotation))
    h = d.entity("INSERT", layer, "AcDbBlockReference", g, owner, props)
    for tag, flags, kw in attribs:
        kw = dict(kw)
        valign = kw.pop("valign", 0)
        ag = textgroups(**kw) + [(100, "AcDbAttribute"), (2, tag), (70, flags)]
        if valign:
            ag.append((74, valign))
        d.entity("ATTRIB", layer, "AcDbText", ag, h, space=owner)
    if attribs:
        d.entity("SEQEND", layer, None, [], h, space=owner)
    return h


def hatchpath(loop):
    """One boundary path. loop is (flags, "polyline", points, bulges) or
    (flags, "edges", edges) with edges ("line", a, b), ("arc", c, r,
    start, end), ("ellipse", c, major, ratio, start, end)."""
    flags, kind = loop[0], loop[1]
    if kind == "polyline":
        points, bulges = loop[2], loop[3]
        g = [(92, flags | 2), (72, 1 if any(bulges) else 0), (73, 1), (93, len(points))]
        for (x, y), b in zip(points, bulges):
            g += [(10, x), (20, y)] + ([(42, b)] if any(bulges) else [])
        return g + [(97, 0)]
    edges = loop[2]
    g = [(92, flags), (93, len(edges))]
    for e in edges:
        if e[0] == "line":
            g += [(72, 1), (10, e[1][0]), (20, e[1][1]), (11, e[2][0]), (21, e[2][1])]
        elif e[0] == "arc":
            g += [(72, 2), (10, e[1][0]), (20, e[1][1]), (40, e[2]), (50, e[3]), (51, e[4]), (73, 1)]
        else:
            g += [(72, 3), (10, e[1][0]), (20, e[1][1]), (11, e[2][0]), (21, e[2][1]), (40, e[3]),
                  (50, e[4]), (51, e[5]), (73, 1)]
    return g + [(97, 0)]


def hatch(d, layer, loops, seeds, pattern=None, gradient=None, style=0, owner=MODEL, props=()):
    """A HATCH: solid unless pattern = (name, type, angle, scale, lines)
    with lines (angle, base, offset, dashes) as the record holds them;
    gradient = (name, angle in radians, (aci, rgb), (aci, rgb))."""
    name = pattern[0] if pattern else "SOLID"
    g = xyz(10, (0, 0)) + [(210, 0), (220, 0), (230, 1), (2, name), (70, 0 if pattern else 1), (71, 0),
                           (91, len(loops))]
    for loop in loops:
        g += hatchpath(loop)
    g += [(75, style), (76, pattern[1] if pattern else 1)]
    if pattern:
        g += [(52, pattern[2]), (41, pattern[3]), (77, 0), (78, len(pattern[4]))]
        for angle, base, offset, dashes in pattern[4]:
            g += [(53, angle), (43, base[0]), (44, base[1]), (45, offset[0]), (46, offset[1]), (79, len(dashes))]
            g += [(49, x) for x in dashes]
    g.append((98, len(seeds)))
    for x, y in seeds:
        g += [(10, x), (20, y)]
    if gradient:
        gname, angle, first, second = gradient
        g += [(450, 1), (451, 0), (452, 0), (453, 2), (460, angle), (461, 0), (462, 0)]
        for k, (aci, rgb) in enumerate((first, second)):
            g += [(463, k), (63, aci), (421, rgb)]
        g.append((470, gname))
    return d.entity("HATCH", layer, "AcDbHatch", g, owner, props)


def wipeout(d, layer, lowerleft, size, owner=MODEL):
    """A rectangular WIPEOUT (the WIPEOUT class must be in the drawing)."""
    g = [(90, 0)] + xyz(10, lowerleft) + xyz(11, (size[0], 0)) + xyz(12, (0, size[1])) + [
        (13, 1.0), (23, 1.0), (340, "0"), (70, 7), (280, 1), (281, 50), (282, 50), (283, 0), (360, "0"),
        (71, 1), (91, 2), (14, -0.5), (24, -0.5), (14, 0.5), (24, 0.5)]
    if d.version >= "AC1024":
        g.append((290, 0))
    return d.entity("WIPEOUT", layer, "AcDbWipeout", g, owner)
