#!/usr/bin/env python3
"""Checks that a 32-bit PE file loads on Windows NT 4.0.

Every imported function must be on the allow-list (checked once against the documentation)
and none on the deny-list (known to come later). The header must ask for subsystem version
4.0 at most, and programs for the GUI subsystem.

usage: audit-imports.py [--dll] FILE ALLOWED DENIED
"""
import struct
import sys


def read_pe(data):
    """(subsystem, subsystem version, {dll: [function names]}) of a PE32 image."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    opt = pe + 24
    if struct.unpack_from("<H", data, opt)[0] != 0x10B:
        raise ValueError("not a 32-bit (PE32) image")
    major, minor = struct.unpack_from("<HH", data, opt + 48)
    subsystem = struct.unpack_from("<H", data, opt + 68)[0]
    import_rva = struct.unpack_from("<I", data, opt + 104)[0]

    table = opt + optional_size
    spans = [struct.unpack_from("<IIII", data, table + 40 * i + 8) for i in range(sections)]

    def offset(rva):
        for size, address, raw_size, raw in spans:
            if address <= rva < address + max(size, raw_size):
                return rva - address + raw
        raise ValueError("address %#x lies in no section" % rva)

    def text(rva):
        start = offset(rva)
        return data[start:data.index(b"\0", start)].decode("ascii")

    imports = {}
    entry = offset(import_rva) if import_rva else None
    while entry is not None:
        lookup, _, _, name, thunks = struct.unpack_from("<IIIII", data, entry)
        if name == 0:
            break
        names = imports.setdefault(text(name).upper(), [])
        thunk = offset(lookup or thunks)
        while True:
            value = struct.unpack_from("<I", data, thunk)[0]
            if value == 0:
                break
            names.append("#%d" % (value & 0xFFFF) if value & 0x80000000 else text(value + 2))
            thunk += 4
        entry += 20
    return subsystem, (major, minor), imports


def read_list(path):
    """{(DLL, function)} of a list file: "DLL function" per line, '#' starts a comment."""
    entries = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = line.split("#", 1)[0].split()
            if len(words) >= 2:
                entries.add((words[0].upper(), words[1]))
    return entries


def main(argv):
    is_dll = argv[:1] == ["--dll"]
    if is_dll:
        argv = argv[1:]
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    image, allowed_path, denied_path = argv
    with open(image, "rb") as f:
        subsystem, version, imports = read_pe(f.read())
    allowed, denied = read_list(allowed_path), read_list(denied_path)

    faults = []
    if version > (4, 0):
        faults.append("subsystem version %d.%d; Windows NT 4.0 loads 4.0 at most" % version)
    if not is_dll and subsystem != 2:
        faults.append("subsystem %d, not the Windows GUI (2)" % subsystem)
    for dll, names in sorted(imports.items()):
        if not any(d == dll for d, _ in allowed):
            faults.append("%s: a DLL not on the allow-list" % dll)
        for name in names:
            if (dll, name) in denied:
                faults.append("%s %s: later than Windows NT 4.0" % (dll, name))
            elif (dll, name) not in allowed:
                faults.append("%s %s: not on the allow-list; check it and add it" % (dll, name))

    count = sum(len(n) for n in imports.values())
    for fault in faults:
        print("%s: %s" % (image, fault))
    print("%s: %d functions from %d DLLs, %d faults" % (image, count, len(imports), len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
