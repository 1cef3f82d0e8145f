"""Packs the portable release zip: huebrick.exe, the sample skin and mask, and SKINS.txt.
The entries carry a fixed date, so the same files always give the same zip.

usage: package.py HUEBRICK_EXE OUT_DIR"""

import os
import re
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def version():
    header = open(os.path.join(ROOT, "res", "resource.h")).read()
    return re.search(r'HUEBRICK_VERSION_TEXT\s+"([^"]+)"', header).group(1)


def contents(exe):
    sample = os.path.join(ROOT, "res", "sample")
    return [
        ("huebrick.exe", exe),
        ("skins/prism.bmp", os.path.join(sample, "prism.bmp")),
        ("skins/prism_mask.bmp", os.path.join(sample, "prism_mask.bmp")),
        ("SKINS.txt", os.path.join(sample, "SKINS.txt")),
    ]


def main():
    exe, out = sys.argv[1], sys.argv[2]
    os.makedirs(out, exist_ok=True)
    folder = "huebrick-%s" % version()
    path = os.path.join(out, "%s-win32.zip" % folder)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name, source in contents(exe):
            entry = zipfile.ZipInfo("%s/%s" % (folder, name), date_time=(2026, 1, 1, 0, 0, 0))
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.external_attr = 0o644 << 16
            with open(source, "rb") as f:
                archive.writestr(entry, f.read())
    print("huebrick.exe: %d bytes" % os.path.getsize(exe))
    print("%s: %d bytes" % (path, os.path.getsize(path)))


if __name__ == "__main__":
    main()
