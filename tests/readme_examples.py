#!/usr/bin/env python3
"""Builds every ```cpp block of the README against the built libraries.

    readme_examples.py README SOURCEDIR CXX OSTRALIB BREVOLIB [FLAG...]

A block with #include lines is a translation unit as it stands; one that
defines main is linked into a program of its own, the others together with
an empty main. Any other block is a fragment: it becomes the body of a
function after every public header, with the parameters that an HTML comment
<!-- example: PARAMETERS --> right before the block gives. A comment
<!-- run: ARGUMENTS --> right before a program runs it with those arguments
(paths relative to SOURCEDIR), in a temporary folder; it must exit with 0.
FLAGs go to every compilation and link (a sanitized build passes its own).
"""

import glob
import os
import re
import shlex
import subprocess
import sys
import tempfile

WARNINGS = ["-std=c++17", "-Wall", "-Wextra", "-Wpedantic", "-Werror"]
# A fragment may name parameters it does not use.
FRAGMENT_WARNINGS = ["-Wno-unused-parameter", "-Wno-unused-variable"]


def blocks(path):
    """(line, code, markers) for each ```cpp block; markers holds the
    example: and run: comments right before its opening fence."""
    lines = open(path, encoding="utf-8").read().split("\n")
    found = []
    i = 0
    while i < len(lines):
        if lines[i].strip() != "```cpp":
            i += 1
            continue
        markers = {}
        k = i - 1
        while k >= 0 and lines[k].strip() == "":
            k -= 1
        while k >= 0:
            m = re.fullmatch(r"\s*<!--\s*(example|run):(.*?)-->\s*", lines[k])
            if not m:
                break
            markers[m.group(1)] = m.group(2).strip()
            k -= 1
        start = i + 1
        end = start
        while end < len(lines) and lines[end].strip() != "```":
            end += 1
        if end == len(lines):
            sys.exit("%s:%d: a ```cpp block without its end" % (path, i + 1))
        found.append((i + 1, "\n".join(lines[start:end]) + "\n", markers))
        i = end + 1
    return found


def translationunit(number, code, markers, headers):
    """The source of one block, and whether it defines main."""
    if re.search(r"^\s*#\s*include\b", code, re.M):
        return code, re.search(r"\bint\s+main\s*\(", code) is not None, False
    includes = "".join("#include <%s>\n" % h for h in ["cstddef", "cstdio", "cstdlib", "cstring"] + headers)
    body = "".join("    " + line + "\n" if line else "\n" for line in code.rstrip("\n").split("\n"))
    source = "%s\nvoid readme_example_%d(%s) {\n%s}\n" % (includes, number, markers.get("example", ""), body)
    return source, False, True


def run(cmd, where, **kw):
    p = subprocess.run(cmd, capture_output=True, text=True, **kw)
    if p.returncode != 0:
        sys.exit("%s: failed (%d): %s\n%s%s" % (where, p.returncode, " ".join(cmd), p.stdout, p.stderr))


def main():
    readme, source, cxx, ostralib, brevolib = sys.argv[1:6]
    flags = sys.argv[6:]
    includes = ["-I" + os.path.join(source, "include"), "-I" + os.path.join(source, "geometry")]
    headers = sorted("ostra/" + os.path.basename(h) for h in glob.glob(os.path.join(source, "include", "ostra", "*.h")))
    headers += ["brevo/geometry.h"]
    libdirs = sorted({os.path.dirname(os.path.abspath(ostralib)), os.path.dirname(os.path.abspath(brevolib))})
    link = [ostralib, brevolib] + ["-Wl,-rpath," + d for d in libdirs]

    found = blocks(readme)
    if not found:
        sys.exit("%s: no ```cpp block found" % readme)
    with tempfile.TemporaryDirectory() as tmp:
        together = []
        programs = []
        for number, (line, code, markers) in enumerate(found, 1):
            where = "%s:%d" % (readme, line)
            text, hasmain, fragment = translationunit(number, code, markers, headers)
            src = os.path.join(tmp, "example%d.cpp" % number)
            obj = os.path.join(tmp, "example%d.o" % number)
            with open(src, "w", encoding="utf-8") as f:
                f.write(text)
            warnings = WARNINGS + (FRAGMENT_WARNINGS if fragment else [])
            run([cxx] + warnings + flags + includes + ["-c", src, "-o", obj], where)
            if hasmain:
                programs.append((where, obj, markers.get("run"), number))
            else:
                if "run" in markers:
                    sys.exit("%s: run: on a block without main" % where)
                together.append(obj)
            print("%s: compiled (%s)" % (where, "fragment" if fragment else "program" if hasmain else "translation unit"))

        mainsrc = os.path.join(tmp, "emptymain.cpp")
        with open(mainsrc, "w") as f:
            f.write("int main() { return 0; }\n")
        run([cxx] + WARNINGS + flags + [mainsrc] + together + link + ["-o", os.path.join(tmp, "together")],
            readme + ": linking the blocks without main")
        for where, obj, arguments, number in programs:
            exe = os.path.join(tmp, "program%d" % number)
            run([cxx] + flags + [obj] + link + ["-o", exe], where + ": linking")
            if arguments is None:
                continue
            args = []
            for a in shlex.split(arguments):
                p = os.path.abspath(os.path.join(source, a))
                args.append(p if os.path.exists(p) else a)
            rundir = os.path.join(tmp, "run%d" % number)
            os.mkdir(rundir)
            run([exe] + args, where + ": running", cwd=rundir)
            print("%s: ran %s" % (where, arguments))
    print("%d blocks of %s build" % (len(found), os.path.basename(readme)))


if __name__ == "__main__":
    main()
