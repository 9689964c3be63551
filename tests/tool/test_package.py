#!/usr/bin/env python3
"""Installs the build into a temporary prefix, then builds and runs a small
consumer project against it, once through find_package(ostra) and once with
the flags pkg-config gives for ostra.

    test_package.py CMAKE BUILDDIR CONSUMERDIR GENERATOR CXX DRAWING
"""

import os
import shlex
import subprocess
import sys
import tempfile


def run(cmd, **kw):
    p = subprocess.run(cmd, capture_output=True, text=True, **kw)
    if p.returncode != 0:
        sys.exit("failed: %s\n%s%s" % (" ".join(cmd), p.stdout, p.stderr))
    return p.stdout


def main():
    cmake, build, consumer, generator, cxx, drawing = sys.argv[1:7]
    with tempfile.TemporaryDirectory() as tmp:
        prefix = os.path.join(tmp, "prefix")
        run([cmake, "--install", build, "--prefix", prefix])
        for path in ("include/ostra/reader.h", "include/ostra/writer.h", "include/ostra/version.h",
                     "include/brevo/geometry.h", "bin/ostra"):
            if not os.path.exists(os.path.join(prefix, path)):
                sys.exit("not installed: " + path)

        # The installed tool runs from the prefix alone.
        env = dict(os.environ)
        env.pop("LD_LIBRARY_PATH", None)
        version = run([os.path.join(prefix, "bin", "ostra"), "--version"], env=env).strip()

        cbuild = os.path.join(tmp, "consumer")
        run([cmake, "-S", consumer, "-B", cbuild, "-G", generator, "-DCMAKE_CXX_COMPILER=" + cxx,
             "-DCMAKE_PREFIX_PATH=" + prefix])
        run([cmake, "--build", cbuild])
        out = run([os.path.join(cbuild, "consumer"), drawing, os.path.join(tmp, "a.dxf")], env=env)
        if out != "%s 14 10\n" % version:
            sys.exit("consumer through find_package printed %r" % out)

        libdirs = [os.path.join(prefix, d) for d in ("lib", "lib64")]
        libdirs += [os.path.join(prefix, "lib", d) for d in os.listdir(os.path.join(prefix, "lib"))
                    if os.path.isdir(os.path.join(prefix, "lib", d, "pkgconfig"))]
        env["PKG_CONFIG_PATH"] = os.pathsep.join(
            [os.path.join(d, "pkgconfig") for d in libdirs if os.path.isdir(os.path.join(d, "pkgconfig"))])
        flags = run(["pkg-config", "--cflags", "--libs", "ostra"], env=env)
        if "-I" + os.path.join(prefix, "include") not in flags or "-lostradll" not in flags:
            sys.exit("pkg-config gave %r" % flags)
        exe = os.path.join(tmp, "consumer-pc")
        run([cxx, "-std=c++17", os.path.join(consumer, "main.cpp"), "-o", exe] + shlex.split(flags))
        libdir = next(d for d in libdirs if os.path.exists(os.path.join(d, "libostradll.so")))
        env["LD_LIBRARY_PATH"] = libdir
        out = run([exe, drawing, os.path.join(tmp, "b.dxf")], env=env)
        if out != "%s 14 10\n" % version:
            sys.exit("consumer through pkg-config printed %r" % out)
    print("installed package: find_package and pkg-config consumers work")


if __name__ == "__main__":
    main()
