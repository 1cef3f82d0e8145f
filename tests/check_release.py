"""Packs the release into a scratch folder and checks the zip: one zip, its entries, the exe in it
byte for byte the one built (which check_exe.py checks), the sample skin as res/sample holds it.

usage: check_release.py HUEBRICK_EXE"""

import os
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def main(exe):
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "package.py"), exe, out], check=True)
        zips = os.listdir(out)
        if len(zips) != 1 or not zips[0].endswith("-win32.zip"):
            return ["expected one -win32.zip, found %r" % zips]
        folder = zips[0][:-len("-win32.zip")]
        sources = {"huebrick.exe": exe, "skins/prism.bmp": "res/sample/prism.bmp",
                   "skins/prism_mask.bmp": "res/sample/prism_mask.bmp", "SKINS.txt": "res/sample/SKINS.txt"}
        with zipfile.ZipFile(os.path.join(out, zips[0])) as archive:
            names = sorted(archive.namelist())
            if names != sorted("%s/%s" % (folder, n) for n in sources):
                return ["entries %r" % names]
            return ["%s is not %s" % (name, source) for name, source in sources.items()
                    if archive.read("%s/%s" % (folder, name)) != open(os.path.join(ROOT, source), "rb").read()]


if __name__ == "__main__":
    problems = main(os.path.abspath(sys.argv[1]))
    for p in problems:
        print("FAIL: " + p)
    print("huebrick.exe is %d bytes" % os.path.getsize(sys.argv[1]))
    sys.exit(1 if problems else 0)
