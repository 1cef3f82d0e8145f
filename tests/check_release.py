"""Packs the release into a scratch folder and checks the zip: its entries, that the exe in
it is the one built (PE32 GUI, system imports only, version resource), the sample skin.

usage: check_release.py HUEBRICK_EXE"""

import os
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path.insert(0, HERE)
import check_exe  # noqa: E402


def main():
    exe = sys.argv[1]
    problems = []
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "package.py"), exe, out], check=True)
        zips = [f for f in os.listdir(out) if f.endswith("-win32.zip")]
        if len(zips) != 1:
            print("FAIL: expected one zip, found %r" % zips)
            return 1
        with zipfile.ZipFile(os.path.join(out, zips[0])) as archive:
            names = sorted(archive.namelist())
            folder = zips[0][:-len("-win32.zip")]
            expected = sorted("%s/%s" % (folder, n) for n in
                              ("huebrick.exe", "skins/prism.bmp", "skins/prism_mask.bmp", "SKINS.txt"))
            if names != expected:
                problems.append("entries %r, expected %r" % (names, expected))
            packed = archive.read("%s/huebrick.exe" % folder)
            if packed != open(exe, "rb").read():
                problems.append("the packed exe differs from the built one")
            skin, mask = archive.read("%s/skins/prism.bmp" % folder), archive.read("%s/skins/prism_mask.bmp" % folder)
            if skin[:2] != b"BM" or mask[:2] != b"BM" or skin[18:26] != mask[18:26]:
                problems.append("the sample skin and its mask are not BMPs of one size")
            if b"_mask.bmp" not in archive.read("%s/SKINS.txt" % folder):
                problems.append("SKINS.txt does not explain the mask's name")
            with tempfile.NamedTemporaryFile(suffix=".exe", delete=False) as copy:
                copy.write(packed)
            problems += check_exe.check(copy.name)
            os.unlink(copy.name)
    size = os.path.getsize(exe)
    print("huebrick.exe is %d bytes (%.1f KB)" % (size, size / 1024))
    for p in problems:
        print("FAIL: " + p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
