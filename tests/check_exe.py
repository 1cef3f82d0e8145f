"""Checks huebrick.exe's PE headers: a 32-bit i386 GUI program whose imports name only the
system DLLs it is meant to use (the C and C++ runtimes are linked in statically; shell32,
comdlg32 and comctl32 are loaded when first used, to keep them out of the start-up), with a
version resource that names it and a manifest declaring per-monitor DPI awareness.

usage: check_exe.py HUEBRICK_EXE"""

import re
import struct
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}


def version_string(data, name):
    """A value of the version resource's StringFileInfo, or None."""
    at = data.find(name.encode("utf-16-le") + b"\0\0", data.find("VS_VERSION_INFO".encode("utf-16-le")))
    if at < 0:
        return None
    at += len(name) * 2 + 2
    at += (4 - at % 4) % 4          # values start on a 32-bit boundary
    return data[at:data.index(b"\0\0", at) + 1].decode("utf-16-le")


def check(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        return ["not a PE file"]
    machine, sections, _, _, _, optional_size = struct.unpack_from("<HHIIIH", data, pe + 4)
    optional = pe + 24
    magic, subsystem = struct.unpack_from("<H", data, optional)[0], struct.unpack_from("<H", data, optional + 68)[0]
    problems = ["machine %#x is not i386" % machine] if machine != 0x14C else []
    problems += ["optional header magic %#x is not PE32" % magic] if magic != 0x10B else []
    problems += ["subsystem %d is not the Windows GUI" % subsystem] if subsystem != 2 else []
    table = [struct.unpack_from("<8sIIII", data, optional + optional_size + 40 * i) for i in range(sections)]

    def offset(rva):
        return next(rva - vaddr + raw for _, vsize, vaddr, rawsize, raw in table
                    if vaddr <= rva < vaddr + max(vsize, rawsize))

    imports, entry = [], offset(struct.unpack_from("<I", data, optional + 104)[0])
    while struct.unpack_from("<I", data, entry + 12)[0]:
        start = offset(struct.unpack_from("<I", data, entry + 12)[0])
        imports.append(data[start:data.index(b"\0", start)].decode().lower())
        entry += 20
    print("imports %s" % ", ".join(sorted(imports)))
    problems += ["imports %s" % dll for dll in imports if dll not in ALLOWED]
    problems += ["imports neither kernel32 nor user32: %s" % imports] if not {"kernel32.dll", "user32.dll"} <= set(
        imports) else []
    strings = {name: version_string(data, name) for name in ("FileDescription", "ProductVersion")}
    print("version resource %r" % strings)
    if data.find(struct.pack("<I", 0xFEEF04BD)) < 0 or not all(strings.values()):
        problems.append("no usable version resource: %r" % strings)
    # One of each awareness element (a second keeps the program from starting), both per monitor.
    manifest = data[data.find(b"<assembly"):data.find(b"</assembly>")]
    if re.findall(rb"<dpiAware(?:ness)? [^>]*>([^<]*)", manifest) != [b"true/pm", b"PerMonitorV2, PerMonitor"]:
        problems.append("the manifest does not declare per-monitor DPI awareness once")
    return problems


if __name__ == "__main__":
    found = check(open(sys.argv[1], "rb").read())
    for p in found:
        print("FAIL: " + p)
    sys.exit(1 if found else 0)
