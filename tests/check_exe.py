"""Checks huebrick.exe's PE headers: a 32-bit i386 GUI program whose imports name only
the system DLLs it is meant to use (the C and C++ runtimes are linked in statically).

usage: check_exe.py HUEBRICK_EXE"""

import struct
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "comdlg32.dll",
           "shlwapi.dll", "comctl32.dll", "msvcrt.dll"}


def version_strings(data):
    """The StringFileInfo values of the version resource, and the fixed file version."""
    key = "VS_VERSION_INFO".encode("utf-16-le")
    start = data.find(key)
    if start < 0:
        return None, {}
    fixed = data.find(struct.pack("<I", 0xFEEF04BD), start)
    ms, ls = struct.unpack_from("<II", data, fixed + 8)
    file_version = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    strings = {}
    for name in ("FileDescription", "FileVersion", "ProductName", "ProductVersion", "OriginalFilename"):
        at = data.find(name.encode("utf-16-le") + b"\0\0", start)
        if at < 0:
            continue
        at += len(name) * 2 + 2
        at += (4 - at % 4) % 4          # values start on a 32-bit boundary
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        strings[name] = data[at:end].decode("utf-16-le")
    return file_version, strings


def check(path):
    data = open(path, "rb").read()
    problems = []
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
        return ["not a PE file"]
    machine, sections, _, _, _, optional_size, characteristics = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    subsystem = struct.unpack_from("<H", data, optional + 68)[0]
    if machine != 0x14C:
        problems.append("machine %#x is not i386" % machine)
    if magic != 0x10B:
        problems.append("optional header magic %#x is not PE32" % magic)
    if subsystem != 2:
        problems.append("subsystem %d is not the Windows GUI" % subsystem)

    section_table = optional + optional_size
    sections_list = [struct.unpack_from("<8sIIII", data, section_table + 40 * i) for i in range(sections)]

    def offset(rva):
        for _, vsize, vaddr, rawsize, rawptr in sections_list:
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rva - vaddr + rawptr
        raise ValueError("rva %#x outside every section" % rva)

    import_rva = struct.unpack_from("<I", data, optional + 96 + 8)[0]
    imports = []
    entry = offset(import_rva)
    while True:
        name_rva = struct.unpack_from("<I", data, entry + 12)[0]
        if name_rva == 0:
            break
        start = offset(name_rva)
        imports.append(data[start:data.index(b"\0", start)].decode().lower())
        entry += 20
    for dll in imports:
        if dll not in ALLOWED:
            problems.append("imports %s" % dll)
    if "kernel32.dll" not in imports or "user32.dll" not in imports:
        problems.append("imports look wrong: %s" % imports)
    file_version, strings = version_strings(data)
    if not file_version or not strings.get("FileDescription") or not strings.get("ProductVersion"):
        problems.append("no usable version resource: %r %r" % (file_version, strings))
    print("%s: %d bytes, imports %s" % (path, len(data), ", ".join(sorted(imports))))
    print("version %s, %r" % (".".join(map(str, file_version or ())), strings))
    return problems


if __name__ == "__main__":
    found = check(sys.argv[1])
    for p in found:
        print("FAIL: " + p)
    sys.exit(1 if found else 0)
