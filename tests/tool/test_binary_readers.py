#!/usr/bin/env python3
"""The binary form the converter writes, read by another reader.

    test_binary_readers.py TOBINARY [unittest arguments]

Converts an R12 and an R2000 drawing with TOBINARY (bench/tobinary.cpp) and
reads the text and the binary form with Debian's ezdxf, run as a program of
its own under /usr/bin/python3: the binary form must read without error and
give the same entities, extended data included. Exits with 77 (skipped)
when ezdxf is not installed there.
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest

TOBINARY = None
OTHER = "/usr/bin/python3"

# Lists what the other reader finds in each file named on its command line.
DUMP = r"""
import json, sys
import ezdxf
out = []
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    ents = []
    for e in doc.modelspace():
        d = {"type": e.dxftype(), "layer": e.dxf.layer}
        for a in ("start", "end", "center", "radius", "insert", "name"):
            if e.dxf.hasattr(a):
                v = e.dxf.get(a)
                d[a] = list(v) if hasattr(v, "__iter__") and not isinstance(v, str) else v
        if e.dxftype() == "MTEXT":
            d["text"] = e.text
        if e.has_xdata("APPNAME"):
            d["xdata"] = [[t.code, t.value.hex().upper() if isinstance(t.value, bytes) else str(t.value)]
                          for t in e.get_xdata("APPNAME")]
        ents.append(d)
    out.append({"version": doc.dxfversion, "entities": ents,
                "blocks": sorted(b.name for b in doc.blocks if not b.name.startswith("*"))})
print(json.dumps(out))
"""


def text(pairs):
    return b"".join(b"%3d\n%s\n" % (c, str(v).encode()) for c, v in pairs)


XDATA = [(1001, "APPNAME"), (1000, "kept"), (1004, "00002E00FF"), (1070, 7), (1040, 1.5),
         (1010, 1), (1020, 2), (1030, 3)]


def r12():
    return text([(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1009"), (0, "ENDSEC"),
                 (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "APPID"), (70, 1),
                 (0, "APPID"), (2, "APPNAME"), (70, 0), (0, "ENDTAB"), (0, "ENDSEC"),
                 (0, "SECTION"), (2, "BLOCKS"), (0, "BLOCK"), (8, "0"), (2, "B"), (70, 0),
                 (10, 0), (20, 0), (30, 0), (0, "CIRCLE"), (8, "C"), (10, 1), (20, 0), (30, 0),
                 (40, 0.5), (0, "ENDBLK"), (8, "0"), (0, "ENDSEC"),
                 (0, "SECTION"), (2, "ENTITIES"),
                 (0, "LINE"), (8, "A"), (10, 0), (20, 0), (30, 0), (11, 10), (21, 0), (31, 0)] + XDATA +
                [(0, "INSERT"), (8, "0"), (2, "B"), (10, 5), (20, 5), (30, 0),
                 (0, "ENDSEC"), (0, "EOF")])


def r2000():
    return text([(0, "SECTION"), (2, "HEADER"), (9, "$ACADVER"), (1, "AC1015"), (9, "$HANDSEED"),
                 (5, "FFFF"), (0, "ENDSEC"),
                 (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "APPID"), (5, "9"), (330, "0"),
                 (100, "AcDbSymbolTable"), (70, 1), (0, "APPID"), (5, "12"), (330, "9"),
                 (100, "AcDbSymbolTableRecord"), (100, "AcDbRegAppTableRecord"), (2, "APPNAME"),
                 (70, 0), (0, "ENDTAB"), (0, "ENDSEC"),
                 (0, "SECTION"), (2, "ENTITIES"),
                 (0, "LINE"), (5, "30"), (330, "1F"), (100, "AcDbEntity"), (8, "A"), (100, "AcDbLine"),
                 (10, 0), (20, 0), (30, 0), (11, 10), (21, 0), (31, 0)] + XDATA +
                [(0, "MTEXT"), (5, "31"), (330, "1F"), (100, "AcDbEntity"), (8, "N"),
                 (100, "AcDbMText"), (10, 5), (20, 5), (30, 0), (40, 2.5), (41, 0), (71, 1),
                 (72, 5), (1, "A note"), (73, 1), (44, 1),
                 (101, "Embedded Object"), (70, 1), (10, 1), (20, 0), (30, 0), (11, 5), (21, 5),
                 (31, 0), (40, 0), (41, 0), (42, 25), (43, 2.5), (71, 0), (72, 1), (44, 0), (45, 0),
                 (73, 0), (74, 0), (46, 0),
                 (0, "CIRCLE"), (5, "32"), (330, "1F"), (100, "AcDbEntity"), (8, "C"),
                 (100, "AcDbCircle"), (10, 1), (20, 2), (30, 0), (40, 3),
                 (0, "ENDSEC"), (0, "SECTION"), (2, "OBJECTS"),
                 (0, "DICTIONARY"), (5, "C"), (330, "0"), (100, "AcDbDictionary"), (281, 1),
                 (0, "ENDSEC"), (0, "EOF")])


def otherreader():
    """True when the other reader can be run."""
    if not os.access(OTHER, os.X_OK):
        return False
    return subprocess.run([OTHER, "-c", "import ezdxf"], capture_output=True).returncode == 0


class OtherReaderTests(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.addCleanup(self.dir.cleanup)

    def convert(self, name, data):
        src = os.path.join(self.dir.name, name + ".dxf")
        dst = os.path.join(self.dir.name, name + ".dxb")
        with open(src, "wb") as f:
            f.write(data)
        p = subprocess.run([TOBINARY, src, dst], capture_output=True, timeout=60)
        self.assertEqual(p.returncode, 0, p.stderr)
        with open(dst, "rb") as f:
            return src, dst, f.read()

    def read(self, *paths):
        p = subprocess.run([OTHER, "-c", DUMP, *paths], capture_output=True, timeout=120)
        self.assertEqual(p.returncode, 0, p.stderr.decode())
        return json.loads(p.stdout)

    def test_r12_has_one_byte_codes_and_reads_as_its_text_form(self):
        src, dst, b = self.convert("r12", r12())
        self.assertEqual(b[22:30], b"\x00SECTION")
        self.assertIn(b"\xff\xec\x03\x05\x00\x00\x2e\x00\xff", b)  # 1004 behind the escape
        t, got = self.read(src, dst)
        self.assertEqual(got, t)
        self.assertEqual(got["version"], "AC1009")
        self.assertEqual([e["type"] for e in got["entities"]], ["LINE", "INSERT"])
        self.assertEqual(got["entities"][0]["xdata"][1], [1004, "00002E00FF"])
        self.assertEqual(got["blocks"], ["B"])

    def test_r2000_has_two_byte_codes_and_reads_as_its_text_form(self):
        src, dst, b = self.convert("r2000", r2000())
        self.assertEqual(b[22:32], b"\x00\x00SECTION\x00")
        t, got = self.read(src, dst)
        self.assertEqual(got, t)
        self.assertEqual(got["version"], "AC1015")
        self.assertEqual([e["type"] for e in got["entities"]], ["LINE", "MTEXT", "CIRCLE"])
        self.assertEqual(got["entities"][0]["xdata"][1], [1004, "00002E00FF"])
        self.assertEqual(got["entities"][1]["text"], "A note")


if __name__ == "__main__":
    TOBINARY = sys.argv[1]
    if not otherreader():
        print("skipped: ezdxf is not installed for " + OTHER)
        sys.exit(77)
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=1)
