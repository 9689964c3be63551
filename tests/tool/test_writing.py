#!/usr/bin/env python3
"""End-to-end tests of what the tool writes: an output never destroys the
input or an existing file it could not complete, and a copy is read by
another reader with its names, units and layers.

    test_writing.py TOOL EXAMPLES VERSION [unittest arguments, e.g. a class name]

The other reader is Debian's python3-ezdxf under the system Python, run as
a black box; its tests are skipped where it is not installed.
"""

import json
import os
import resource
import signal
import stat
import subprocess
import sys
import unittest

import test_tool
from test_tool import Temp, circle, drawing, example, line, run

SYSTEM_PYTHON = "/usr/bin/python3"


def hasezdxf():
    try:
        return subprocess.run([SYSTEM_PYTHON, "-c", "import ezdxf"], capture_output=True, timeout=60).returncode == 0
    except OSError:
        return False


# Prints what the other reader finds in a drawing, as JSON.
READ_BACK = r"""
import json, sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
hdr = doc.header
print(json.dumps({
    "version": doc.dxfversion,
    "units": hdr.get("$INSUNITS"),
    "extmin": list(hdr.get("$EXTMIN", ())), "extmax": list(hdr.get("$EXTMAX", ())),
    "layers": {l.dxf.name: [l.dxf.color, l.is_on(), l.is_frozen(), l.is_locked(), l.dxf.linetype]
               for l in doc.layers},
    "linetypes": [t.dxf.name.upper() for t in doc.linetypes],
    "entities": [[e.dxftype(), e.dxf.layer] for e in doc.modelspace()],
    "errors": [str(e.message) for e in doc.audit().errors],
}))
"""


class OutputTests(Temp):
    """Point 4: an output that is the input is refused, and an existing file
    is replaced only by a complete result."""

    def listing(self):
        return sorted(os.listdir(self.dir.name))

    def test_the_input_is_never_written_over(self):
        with open(example("part.dxf"), "rb") as f:
            data = f.read()
        path = self.file("p.dxf", data)
        link = os.path.join(self.dir.name, "link.dxf")
        os.link(path, link)
        for args in (["copy", path, path], ["copy", path, link], ["copy", "--simple-output", link, path],
                     ["svg", path, "-o", path], ["svg", path, "-o", link]):
            with self.subTest(args):
                status, out, err = run(*args)
                self.assertEqual((status, out), (1, ""))
                self.assertEqual(err, "ostra: %s: is the input drawing %s; refusing to write over it\n"
                                 % (args[-1], args[-2] if args[0] == "copy" else args[1]))
                with open(path, "rb") as f:
                    self.assertEqual(f.read(), data)
                self.assertEqual(self.listing(), ["link.dxf", "p.dxf"])  # no temporary file left
        # Standard input that is the output's file, and standard output that
        # is the input's.
        with open(path, "rb") as f:
            p = subprocess.run([test_tool.TOOL, "copy", "-", link], stdin=f, capture_output=True, timeout=60)
        self.assertEqual(p.returncode, 1)
        self.assertIn(b"is the input drawing <stdin>", p.stderr)
        with open(path, "ab") as f:
            p = subprocess.run([test_tool.TOOL, "copy", path, "-"], stdout=f, capture_output=False,
                               stderr=subprocess.PIPE, timeout=60)
        self.assertEqual(p.returncode, 1)
        self.assertIn(b"standard output: is the input drawing", p.stderr)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), data)

    def test_a_failed_write_leaves_the_old_file(self):
        target = self.file("old.dxf", b"old contents\n")
        os.chmod(target, 0o640)

        def limited():
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (200, 200))
        for args in (["copy", example("part.dxf"), target], ["svg", example("part.dxf"), "-o", target]):
            with self.subTest(args):
                p = subprocess.run([test_tool.TOOL, *args], capture_output=True, preexec_fn=limited, timeout=60)
                self.assertEqual(p.returncode, 1)
                self.assertIn(b"write failed", p.stderr)
                with open(target, "rb") as f:
                    self.assertEqual(f.read(), b"old contents\n")
                self.assertEqual(self.listing(), ["old.dxf"])
        # An unreadable drawing writes nothing either.
        bad = self.file("bad.txt", b"hello\n")
        self.assertEqual(run("copy", bad, target)[0], 1)
        self.assertEqual(run("svg", bad, "-o", target)[0], 1)
        with open(target, "rb") as f:
            self.assertEqual(f.read(), b"old contents\n")
        self.assertEqual(self.listing(), ["bad.txt", "old.dxf"])

    def test_a_complete_result_replaces_the_file_with_its_permissions(self):
        target = self.file("old.dxf", b"old contents\n")
        os.chmod(target, 0o640)
        self.ok("copy", example("part.dxf"), target)
        self.assertEqual(stat.S_IMODE(os.stat(target).st_mode), 0o640)
        self.assertEqual(len(self.jsonlist(target)), 14)
        # Through a symbolic link: the link stays, its target is replaced.
        link = os.path.join(self.dir.name, "link.svg")
        real = self.file("real.svg", b"old")
        os.symlink("real.svg", link)
        self.ok("svg", example("part.dxf"), "-o", link)
        self.assertTrue(os.path.islink(link))
        with open(real) as f:
            self.assertTrue(f.read().startswith("<?xml"))
        # A new file gets the permissions the umask leaves.
        old = os.umask(0o027)
        try:
            new = os.path.join(self.dir.name, "new.dxf")
            self.ok("copy", example("part.dxf"), new)
        finally:
            os.umask(old)
        self.assertEqual(stat.S_IMODE(os.stat(new).st_mode), 0o640)
        self.assertEqual(self.listing(), ["link.svg", "new.dxf", "old.dxf", "real.svg"])

    def test_devices_are_written_in_place(self):
        for args in (["copy", example("part.dxf"), "/dev/null"], ["svg", example("part.dxf"), "-o", "/dev/null"]):
            status, _, err = run(*args)
            self.assertEqual((status, err), (0, ""), args)
        self.assertTrue(stat.S_ISCHR(os.stat("/dev/null").st_mode))

    def test_a_file_that_cannot_be_written_is_not_replaced(self):
        readonly = self.file("ro.dxf", b"keep\n")
        os.chmod(readonly, 0o444)
        if os.access(readonly, os.W_OK):
            self.skipTest("running with the rights to write any file")
        status, _, err = run("copy", example("part.dxf"), readonly)
        self.assertEqual(status, 1)
        self.assertIn("cannot create: Permission denied", err)
        with open(readonly, "rb") as f:
            self.assertEqual(f.read(), b"keep\n")


# A drawing of R2000 in code page 1252 with a non-ASCII layer name, units,
# extents and LAYER entries of every state.
GROESSE = "Gr\u00f6\u00dfe"
SOURCE_HEADER = [("$ACADVER", 1, "AC1015"), ("$DWGCODEPAGE", 3, "ANSI_1252"), ("$INSUNITS", 70, 4),
                 ("$EXTMIN", 10, -1), ("$EXTMIN", 20, -2), ("$EXTMIN", 30, 0),
                 ("$EXTMAX", 10, 50), ("$EXTMAX", 20, 40), ("$EXTMAX", 30, 0)]


def source_drawing():
    layers = [(GROESSE.encode("cp1252"), 1, 0, "CONTINUOUS"), ("OFF", -3, 0, "DASHED"),
              ("ICE", 5, 1, "CONTINUOUS"), ("LOCK", 6, 4, "HIDDEN")]
    pairs = [(0, "SECTION"), (2, "HEADER")]
    seen = set()
    for name, code, value in SOURCE_HEADER:
        if name not in seen:
            pairs.append((9, name))
            seen.add(name)
        pairs.append((code, value))
    pairs += [(0, "ENDSEC"), (0, "SECTION"), (2, "TABLES"), (0, "TABLE"), (2, "LAYER")]
    for name, colour, flags, linetype in layers:
        pairs += [(0, "LAYER"), (2, name), (70, flags), (62, colour), (6, linetype)]
    pairs += [(0, "ENDTAB"), (0, "ENDSEC")]
    head = b"".join(b"%3d\n" % c + (v if isinstance(v, bytes) else str(v).encode()) + b"\n" for c, v in pairs)
    ents = (line(layers[0][0], (0, 0), (10, 10)) + circle("OFF", (5, 5), 2) + line("ICE", (0, 0), (3, 3)) +
            line("LOCK", (1, 1), (4, 4)) + line("NEW", (2, 2), (6, 6)))
    return head + test_tool.dxf(ents)


class CopyHeaderTests(Temp):
    """Point 6: the copy says its version and code page, carries units and
    extents, and each layer's LAYER entry."""

    def copy(self, *args):
        src = self.file("src.dxf", source_drawing())
        out = os.path.join(self.dir.name, "copy.dxf")
        self.ok("copy", *args, src, out)
        return src, out

    def test_our_reader_reads_the_same_names_units_and_layers(self):
        src, out = self.copy("--simple")
        s = test_tool.stats(self.ok("stats", out))
        self.assertEqual((s["format"], s["units"], s["code page"]), ("AC1021 (R2007)", "millimeters (4)", "ANSI_1252"))
        self.assertEqual(s["header extents"].split(), ["-1.000000", "-2.000000", "0.000000",
                                                       "50.000000", "40.000000", "0.000000"])
        layers = json.loads(self.ok("layers", "--json", "--simple", out))["layers"]
        self.assertEqual([(l["name"], l["colour"], l["state"], l["linetype"]) for l in layers],
                         [(GROESSE, 1, "on", "CONTINUOUS"), ("OFF", 3, "off", "DASHED"),
                          ("ICE", 5, "on,frozen", "CONTINUOUS"), ("LOCK", 6, "on,locked", "HIDDEN"),
                          ("NEW", None, "-", None)])
        with open(out, "rb") as f:
            data = f.read()
        self.assertIn(b"\n  2\n" + GROESSE.encode("utf-8") + b"\n", data)  # UTF-8, as R2007 says
        # The exact reading leaves the off and frozen layers out: their
        # layers are not in the copy.
        _, out = self.copy()
        names = [l["name"] for l in json.loads(self.ok("layers", "--json", out))["layers"]]
        self.assertEqual(names, [GROESSE, "LOCK", "NEW"])

    @unittest.skipUnless(hasezdxf(), "ezdxf is not installed for " + SYSTEM_PYTHON)
    def test_another_reader_reads_the_same(self):
        _, out = self.copy("--simple")
        p = subprocess.run([SYSTEM_PYTHON, "-c", READ_BACK, out], capture_output=True, timeout=120)
        self.assertEqual(p.returncode, 0, p.stderr.decode(errors="replace"))
        got = json.loads(p.stdout)
        self.assertEqual(got["version"], "AC1021")
        self.assertEqual(got["units"], 4)
        self.assertEqual((got["extmin"][:2], got["extmax"][:2]), ([-1, -2], [50, 40]))
        layers = got["layers"]
        # colour (negative when off), on, frozen, locked, linetype
        self.assertEqual(layers[GROESSE], [1, True, False, False, "CONTINUOUS"])
        self.assertEqual(layers["OFF"], [-3, False, False, False, "DASHED"])
        self.assertEqual(layers["ICE"], [5, True, True, False, "CONTINUOUS"])
        self.assertEqual(layers["LOCK"], [6, True, False, True, "HIDDEN"])
        self.assertTrue({"CONTINUOUS", "DASHED", "HIDDEN"} <= set(got["linetypes"]))
        self.assertEqual(got["entities"], [["LINE", GROESSE], ["CIRCLE", "OFF"], ["LINE", "ICE"],
                                           ["LINE", "LOCK"], ["LINE", "NEW"]])
        self.assertEqual(got["errors"], [])

    def test_names_from_another_code_page_and_standard_input(self):
        src = self.file("c.dxf", drawing(test_tool.CP1251, [(test_tool.SLOY, 2, 0)],
                                         line(test_tool.SLOY, (0, 0), (1, 1))))
        out = os.path.join(self.dir.name, "copy.dxf")
        with open(src, "rb") as f:
            status, _, err = run("copy", "-", out, stdin=f.read())
        self.assertEqual((status, err), (0, ""))
        s = test_tool.stats(self.ok("stats", out))
        self.assertEqual((s["format"], s["code page"]), ("AC1021 (R2007)", "ANSI_1251"))
        layer = json.loads(self.ok("layers", "--json", out))["layers"][0]
        self.assertEqual((layer["name"], layer["colour"]), ("\u0421\u043b\u043e\u0439", 2))
        # The filter takes the name in UTF-8, as every subcommand does.
        self.ok("copy", "--layers", "\u0421\u043b\u043e\u0439", src, out)
        self.assertEqual(len(self.jsonlist(out)), 1)

    def test_layer_names_the_writer_does_not_take_are_said(self):
        kept = "L" * 60 + "\u00e9" * 10  # 80 bytes in UTF-8: kept whole
        # 200 chars of cp1252 (not UTF-8, so read as cp1252) are 400 bytes
        # in UTF-8, more than a name may hold.
        src = self.file("long.dxf", test_tool.dxf(line(b"\xe9" * 200, (0, 0), (1, 1)) + line(kept, (0, 0), (2, 2))))
        out = os.path.join(self.dir.name, "copy.dxf")
        status, _, err = run("copy", src, out)
        self.assertEqual(status, 0)
        self.assertEqual(err, out + ": warning: 1 geometries on layers whose names the writer does not take "
                              "(too long, a line break, a blank at either end) written on layer 0\n")
        self.assertEqual([r["layer"] for r in self.jsonlist(out)], ["0", kept])


if __name__ == "__main__":
    test_tool.TOOL, test_tool.EXAMPLES, test_tool.VERSION = sys.argv[1:4]
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=1)
