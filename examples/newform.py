"""A writer of drawings in the newer form (R2000 and later) for the sample
drawings: handles and owners, subclass markers, every table, block records,
the CLASSES section and the root dictionary. Standard library only; the
same calls give the same bytes.

Records are lists of (code, value) pairs; an entity gets its handle and
owner when it is added, so that records can point at each other.
"""

import math

# Fixed handles of the tables and of the records every drawing holds.
BLOCK_RECORDS, LAYERS, STYLES, LINETYPES, VIEWS, UCSS, VPORTS, APPIDS, DIMSTYLES = (
    0x1, 0x2, 0x3, 0x5, 0x6, 0x7, 0x8, 0x9, 0xA)
ROOT, GROUPS = 0xC, 0xD
MODEL, PAPER = 0x1F, 0x1B
STANDARD_STYLE, STANDARD_DIMSTYLE = 0x11, 0x27

LINETYPE_PATTERNS = {
    "CONTINUOUS": ("Solid line", []),
    "DASHED": ("Dashed __ __ __", [12.7, -6.35]),
    "CENTER": ("Center ____ _ ____", [31.75, -6.35, 6.35, -6.35]),
}


def num(v):
    """A value as the drawings spell it: integers without a decimal point."""
    if isinstance(v, int):
        return str(v)
    r = round(v, 6)
    if r == int(r):
        return str(int(r))
    return ("%.6f" % r).rstrip("0")


def hexh(h):
    return "%X" % h


class NewForm:
    def __init__(self, version, insunits=4):
        self.version = version
        self.insunits = insunits
        self.next = 0x100
        self.header = []         # (name, [(code, value)...])
        self.classes = []        # (record name, class name, is entity)
        self.layers = []         # (handle, name, colour, linetype, lineweight)
        self.linetypes = [(0x14, "ByBlock"), (0x15, "ByLayer"), (0x16, "CONTINUOUS")]
        self.styles = [(STANDARD_STYLE, "STANDARD", "txt", 0.0, 1.0, 0.0)]
        self.dimvars = []        # (code, value) of the STANDARD dimension style
        # [name, record handle, base, flags, entities, BLOCK and ENDBLK handles]
        self.blocks = [["*Model_Space", MODEL, (0, 0), 0, [], self.handle(), self.handle()],
                       ["*Paper_Space", PAPER, (0, 0), 0, [], self.handle(), self.handle()]]
        self.layer("0", 7)
        self.model = []          # entities of model space
        self.objects = []        # records of the OBJECTS section
        self.rootentries = []    # (name, handle) beside ACAD_GROUP

    def handle(self):
        self.next += 1
        return self.next

    # Tables and classes -------------------------------------------------

    def layer(self, name, color, linetype="CONTINUOUS", lineweight=-3):
        self.layers.append((self.handle(), name, color, linetype, lineweight))

    def linetype(self, name):
        h = self.handle()
        self.linetypes.append((h, name))
        return h

    def style(self, name, font, height=0.0, width=1.0, oblique=0.0):
        h = self.handle()
        self.styles.append((h, name, font, height, width, oblique))
        return h

    def addclass(self, record, cppname, entity=True):
        """Adds a class; returns its number (500 on) for proxy records."""
        self.classes.append((record, cppname, entity))
        return 499 + len(self.classes)

    def block(self, name, base=(0, 0), anonymous=False):
        """Defines a block; returns its record handle, the owner of its
        entities (add them with owner=...)."""
        record = self.handle()
        self.blocks.append([name, record, base, 1 if anonymous else 0, [], self.handle(), self.handle()])
        return record

    # Entities -----------------------------------------------------------

    def entity(self, kind, layer, subclass, groups, owner=MODEL, props=(), space=None):
        """Adds an entity: the common groups, then subclass, then groups.
        props are groups of the AcDbEntity part (6, 62, 370, 48, ...).
        It goes to the block (or model space) owner, or to space when the
        owner is another entity (an insert's attributes)."""
        h = self.handle()
        rec = [(0, kind), (5, hexh(h)), (330, hexh(owner)), (100, "AcDbEntity"), (8, layer)]
        rec += list(props)
        if subclass:
            rec.append((100, subclass))
        rec += list(groups)
        self.target(owner if space is None else space).append(rec)
        return h

    def target(self, owner):
        if owner == MODEL:
            return self.model
        for b in self.blocks[2:]:
            if b[1] == owner:
                return b[4]
        raise KeyError(owner)

    def append(self, owner, record):
        """Appends a record made by hand (its handle given) to an owner."""
        self.target(owner).append(record)

    # Output -------------------------------------------------------------

    def text(self):
        out = []

        def g(code, value):
            out.append("%3d" % code)
            out.append(value if isinstance(value, str) else num(value))

        def gs(pairs):
            for c, v in pairs:
                g(c, v)

        self.writeheader(gs)
        gs([(0, "SECTION"), (2, "CLASSES")])
        for record, cppname, entity in self.classes:
            gs([(0, "CLASS"), (1, record), (2, cppname), (3, "ostra samples"), (90, 0)])
            if self.version >= "AC1018":
                g(91, 0)
            gs([(280, 0), (281, 1 if entity else 0)])
        g(0, "ENDSEC")
        self.writetables(gs)
        gs([(0, "SECTION"), (2, "BLOCKS")])
        for name, record, base, flags, entities, begin, end in self.blocks:
            space = [(67, 1)] if record == PAPER else []
            gs([(0, "BLOCK"), (5, hexh(begin)), (330, hexh(record)), (100, "AcDbEntity")] + space +
               [(8, "0"), (100, "AcDbBlockBegin"), (2, name), (70, flags),
                (10, base[0]), (20, base[1]), (30, 0), (3, name), (1, "")])
            for e in entities:
                gs(e)
            gs([(0, "ENDBLK"), (5, hexh(end)), (330, hexh(record)), (100, "AcDbEntity")] + space +
               [(8, "0"), (100, "AcDbBlockEnd")])
        g(0, "ENDSEC")
        gs([(0, "SECTION"), (2, "ENTITIES")])
        for e in self.model:
            gs(e)
        g(0, "ENDSEC")
        gs([(0, "SECTION"), (2, "OBJECTS"), (0, "DICTIONARY"), (5, hexh(ROOT)), (330, "0"),
            (100, "AcDbDictionary"), (281, 1), (3, "ACAD_GROUP"), (350, hexh(GROUPS))])
        for name, h in self.rootentries:
            gs([(3, name), (350, hexh(h))])
        gs([(0, "DICTIONARY"), (5, hexh(GROUPS)), (330, hexh(ROOT)), (100, "AcDbDictionary"), (281, 1)])
        for o in self.objects:
            gs(o)
        g(0, "ENDSEC")
        gs([(0, "EOF")])
        return "\n".join(out) + "\n"

    def writeheader(self, gs):
        # From R2007 (AC1021) on the text is UTF-8 whatever the code page says.
        gs([(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, self.version), (9, "$DWGCODEPAGE"),
            (3, "ANSI_1252")])
        gs([(9, "$INSUNITS"), (70, self.insunits), (9, "$MEASUREMENT"), (70, 1)])
        for name, groups in self.header:
            gs([(9, name)] + groups)
        # Above every handle given out (all are, before the text is made).
        gs([(9, "$HANDSEED"), (5, hexh(self.next + 1)), (0, "ENDSEC")])

    def table(self, gs, name, h, count, subclass=None):
        gs([(0, "TABLE"), (2, name), (5, hexh(h)), (330, "0"), (100, "AcDbSymbolTable"), (70, count)])
        if subclass:
            gs([(100, subclass)])

    def tablerecord(self, kind, h, owner, subclass, name):
        return [(0, kind), (5, hexh(h)), (330, hexh(owner)), (100, "AcDbSymbolTableRecord"),
                (100, subclass), (2, name), (70, 0)]

    def writetables(self, gs):
        gs([(0, "SECTION"), (2, "TABLES")])
        self.table(gs, "VPORT", VPORTS, 1)
        gs(self.tablerecord("VPORT", 0x29, VPORTS, "AcDbViewportTableRecord", "*Active") +
           [(10, 0), (20, 0), (11, 1), (21, 1), (12, 0), (22, 0), (40, 1000), (41, 1.5)])
        gs([(0, "ENDTAB")])
        self.table(gs, "LTYPE", LINETYPES, len(self.linetypes))
        for h, name in self.linetypes:
            description, dashes = LINETYPE_PATTERNS.get(name, ("", []))
            gs(self.tablerecord("LTYPE", h, LINETYPES, "AcDbLinetypeTableRecord", name) +
               [(3, description), (72, 65), (73, len(dashes)), (40, float(sum(abs(d) for d in dashes)))])
            for d in dashes:
                gs([(49, d), (74, 0)])
        gs([(0, "ENDTAB")])
        self.table(gs, "LAYER", LAYERS, len(self.layers))
        for h, name, color, linetype, weight in self.layers:
            gs(self.tablerecord("LAYER", h, LAYERS, "AcDbLayerTableRecord", name) +
               [(62, color), (6, linetype)] + ([(290, 0)] if name == "Defpoints" else []) + [(370, weight)])
        gs([(0, "ENDTAB")])
        self.table(gs, "STYLE", STYLES, len(self.styles))
        for h, name, font, height, width, oblique in self.styles:
            gs(self.tablerecord("STYLE", h, STYLES, "AcDbTextStyleTableRecord", name) +
               [(40, height), (41, width), (50, oblique), (71, 0), (42, 2.5), (3, font), (4, "")])
        gs([(0, "ENDTAB")])
        for name, h in (("VIEW", VIEWS), ("UCS", UCSS)):
            self.table(gs, name, h, 0)
            gs([(0, "ENDTAB")])
        self.table(gs, "APPID", APPIDS, 1)
        gs(self.tablerecord("APPID", 0x12, APPIDS, "AcDbRegAppTableRecord", "ACAD") + [(0, "ENDTAB")])
        self.table(gs, "DIMSTYLE", DIMSTYLES, 1, "AcDbDimStyleTable")
        gs([(0, "DIMSTYLE"), (105, hexh(STANDARD_DIMSTYLE)), (330, hexh(DIMSTYLES)),
            (100, "AcDbSymbolTableRecord"), (100, "AcDbDimStyleTableRecord"), (2, "STANDARD"), (70, 0)] +
           self.dimvars + [(340, hexh(STANDARD_STYLE)), (0, "ENDTAB")])
        records = [(b[0], b[1]) for b in self.blocks]
        self.table(gs, "BLOCK_RECORD", BLOCK_RECORDS, len(records))
        for name, h in records:
            gs([(0, "BLOCK_RECORD"), (5, hexh(h)), (330, hexh(BLOCK_RECORDS)), (100, "AcDbSymbolTableRecord"),
                (100, "AcDbBlockTableRecord"), (2, name)])
        gs([(0, "ENDTAB"), (0, "ENDSEC")])


def xyz(code, p, z=0):
    """The groups of a point: code, code + 10, code + 20."""
    return [(code, p[0]), (code + 10, p[1]), (code + 20, p[2] if len(p) > 2 else z)]


def turned(p, degrees):
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    return (p[0] * c - p[1] * s, p[0] * s + p[1] * c)
