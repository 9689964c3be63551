"""cmake --install puts the package where the system Python looks for
modules under the prefix, and the installed module finds the installed
libraries by itself."""

import os
import subprocess
import sys

import pytest


def test_installed_package(tmp_path):
    build, cmake = os.environ.get("OSTRA_BUILD"), os.environ.get("OSTRA_CMAKE")
    where = os.environ.get("OSTRA_PYTHON_INSTALLDIR")
    if not (build and cmake and where):
        pytest.skip("run by ctest, which names the build")
    prefix = tmp_path / "prefix"
    subprocess.run([cmake, "--install", build, "--prefix", str(prefix)], check=True, capture_output=True)
    package = prefix / where / "ostra"
    names = sorted(os.listdir(package))
    assert any(n.startswith("_ostra.") and n.endswith(".so") for n in names), names
    assert {"__init__.py", "batch.py", "drawing.py"} <= set(names)
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "LD_LIBRARY_PATH")}
    env["PYTHONPATH"] = str(prefix / where)
    flange = os.path.join(os.environ["OSTRA_EXAMPLES"], "flange.dxf")
    out = subprocess.run([sys.executable, "-c", "import ostra, sys; d = ostra.read(sys.argv[1]); "
                          "print(ostra.__file__, d.status, len(d))", flange],
                         env=env, check=True, capture_output=True, text=True, cwd=str(tmp_path)).stdout.split()
    assert out[0].startswith(str(package)) and out[1:] == ["endofdrawing", "190"]
