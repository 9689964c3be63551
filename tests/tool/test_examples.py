#!/usr/bin/env python3
"""The sample drawings and the generator's presets of text and areas.

    test_examples.py reproduce EXAMPLES
    test_examples.py otherreader EXAMPLES GENDXF

reproduce: examples/make_examples.py writes the committed drawings again,
byte for byte. otherreader: Debian's ezdxf, run as a program of its own
under /usr/bin/python3, reads the samples of the newer form and small
drawings of the presets text and hatch, and finds no error to fix in them
(its audit); exits with 77 (skipped) when ezdxf is not installed there.
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest

EXAMPLES = None
GENDXF = None
OTHER = "/usr/bin/python3"
NEWFORM = ("floorplan.dxf", "titleblock.dxf", "section.dxf")

# For each file: its version, the errors and fixes of the audit, the count
# of each kind of record in model space.
AUDIT = r"""
import collections, json, sys
import ezdxf
out = []
for path in sys.argv[1:]:
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    kinds = collections.Counter(e.dxftype() for e in doc.modelspace())
    out.append({"version": doc.dxfversion, "errors": [e.message for e in auditor.errors],
                "fixes": [e.message for e in auditor.fixes], "kinds": kinds,
                "attribs": sum(len(e.attribs) for e in doc.modelspace().query("INSERT"))})
print(json.dumps(out))
"""


class Reproduced(unittest.TestCase):
    def test_make_examples_writes_the_committed_drawings(self):
        with tempfile.TemporaryDirectory() as out:
            p = subprocess.run([sys.executable, "-B", os.path.join(EXAMPLES, "make_examples.py"), out],
                               capture_output=True, timeout=120)
            self.assertEqual(p.returncode, 0, p.stderr.decode())
            names = sorted(os.listdir(out))
            self.assertEqual(names, sorted(n for n in os.listdir(EXAMPLES) if n.endswith(".dxf")))
            for name in names:
                with open(os.path.join(out, name), "rb") as a, open(os.path.join(EXAMPLES, name), "rb") as b:
                    self.assertEqual(a.read(), b.read(), name)
                self.assertLess(os.path.getsize(os.path.join(out, name)), 200000, name)


class OtherReader(unittest.TestCase):
    def audit(self, *paths):
        p = subprocess.run([OTHER, "-c", AUDIT, *paths], capture_output=True, timeout=300)
        self.assertEqual(p.returncode, 0, p.stderr.decode())
        return json.loads(p.stdout)

    def test_samples_of_the_newer_form(self):
        floor, title, section = self.audit(*(os.path.join(EXAMPLES, n) for n in NEWFORM))
        for name, got in zip(NEWFORM, (floor, title, section)):
            self.assertEqual((got["errors"], got["fixes"]), ([], []), name)
        self.assertEqual(floor["version"], "AC1015")
        self.assertEqual(floor["kinds"]["ACAD_PROXY_ENTITY"], 9)
        self.assertEqual((floor["kinds"]["HATCH"], floor["kinds"]["WIPEOUT"]), (3, 1))
        self.assertEqual(title["version"], "AC1024")
        self.assertEqual((title["kinds"]["MULTILEADER"], title["kinds"]["ACAD_TABLE"]), (2, 1))
        self.assertEqual(title["attribs"], 7)
        self.assertEqual((section["kinds"]["DIMENSION"], section["kinds"]["HATCH"]), (7, 1))

    def test_presets_of_text_and_areas(self):
        with tempfile.TemporaryDirectory() as out:
            paths = []
            for preset in ("text", "hatch"):
                paths.append(os.path.join(out, preset + ".dxf"))
                p = subprocess.run([GENDXF, "--preset", preset, "--mb", "0.3", "--layers", "8", paths[-1]],
                                   capture_output=True, timeout=60)
                self.assertEqual(p.returncode, 0, p.stderr.decode())
            text, hatch = self.audit(*paths)
        self.assertEqual((text["errors"], text["fixes"], hatch["errors"], hatch["fixes"]), ([], [], [], []))
        self.assertGreater(text["kinds"]["MTEXT"], 100)
        self.assertGreater(text["kinds"]["DIMENSION"], 20)
        self.assertGreater(text["attribs"], 100)
        self.assertGreater(hatch["kinds"]["HATCH"], 100)
        for kind in ("SOLID", "TRACE", "WIPEOUT", "LWPOLYLINE"):
            self.assertGreater(hatch["kinds"][kind], 5, kind)


def otherreader():
    if not os.access(OTHER, os.X_OK):
        return False
    return subprocess.run([OTHER, "-c", "import ezdxf"], capture_output=True).returncode == 0


if __name__ == "__main__":
    mode, EXAMPLES = sys.argv[1], sys.argv[2]
    if mode == "otherreader":
        GENDXF = sys.argv[3]
        if not otherreader():
            print("skipped: ezdxf is not installed for " + OTHER)
            sys.exit(77)
    suite = unittest.TestLoader().loadTestsFromTestCase(Reproduced if mode == "reproduce" else OtherReader)
    sys.exit(0 if unittest.TextTestRunner(verbosity=1).run(suite).wasSuccessful() else 1)
