#!/usr/bin/env python3
"""Checks that the committed artwork is what the generators draw now: runs tools/artgen.py and
tools/sampleskin.py into a scratch folder and compares every file byte for byte with res/.
The icons' directories are read back too, since windres takes whatever the generator wrote.

    python3 tools/check_art.py [RES_DIR]"""

import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
FILES = ("skin.bmp", "about.bmp", "app.ico", "tray.ico", "sample/prism.bmp", "sample/prism_mask.bmp")


def icon_problems(name, data):
    count = struct.unpack_from("<HHH", data)[2]
    problems = []
    for i in range(count):
        width, height, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        header = struct.unpack_from("<IiiHH", data, offset) if offset + 16 <= len(data) else None
        if data[offset:offset + 4] == b"\x89PNG":  # a PNG image has no bitmap header
            continue
        if offset + size > len(data) or header != (40, width or 256, 2 * (height or 256), 1, bits):
            problems.append("%s image %d: directory %dx%d %d bits at %d+%d, bitmap header %r"
                            % (name, i + 1, width, height, bits, offset, size, header))
    return problems


def main(argv):
    res = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(HERE), "res")
    problems = []
    with tempfile.TemporaryDirectory(prefix="huebrick-art-") as fresh:
        for tool, out in (("artgen.py", fresh), ("sampleskin.py", os.path.join(fresh, "sample"))):
            subprocess.run([sys.executable, os.path.join(HERE, tool), out], check=True)
        for name in FILES:
            drawn = open(os.path.join(fresh, name), "rb").read()
            if open(os.path.join(res, name), "rb").read() != drawn:
                problems.append("%s differs from what the generator draws now: run tools/%s" % (
                    name, "sampleskin.py" if name.startswith("sample/") else "artgen.py"))
            if name.endswith(".ico"):
                problems += icon_problems(name, drawn)
    for p in problems:
        print("check_art: " + p, file=sys.stderr)
    print("check_art: %s" % ("%d problem(s)" % len(problems) if problems else "artwork current"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
