#!/usr/bin/env python3
"""Lays out the payload of the sample distribution medium.

The setup script decides where everything goes: every [COMPFILES] row is made (or taken
from the build), compressed with mscompress and stored under the row's source subdirectory
and source name; every [ADDFILES] row is copied unchanged from the package folder. The
driver files are placeholders made here, so no binary is kept in the sources and every build
makes the same bytes.

    make_payload.py --script SETUP.KVX --package DIR --medium DIR --work DIR
                    --mscompress PATH [--file NAME=PATH ...]

--file hands in a payload file built elsewhere (the CAPI DLL), by its target name.
"""
import argparse
import hashlib
import os
import shutil
import struct
import subprocess
import sys

SIGNATURE = bytes.fromhex("E852A7046178CA12")
SZDD_MAGIC = b"SZDD\x88\xf0\x27\x33"
# Widths of the setup program's file lists: names and subdirectories have 32-byte fields.
MAX_NAME = 31


class ScriptError(Exception):
    pass


def stamp(tag, major, minor, revision):
    """Signature, four bytes the reader skips (a tag here), then three 16-bit numbers."""
    return SIGNATURE + tag.ljust(4, b"\0") + struct.pack("<HHH", major, minor, revision)


def filler(seed, size):
    """Deterministic bytes that compress somewhat, like a real program image does."""
    words = [b"Velmar", b"ISDN", b"CAPI", b"adapter", b"controller", b"B-channel",
             b"D-channel", b"layer", b"\0\0\0\0", b"\xff\xff", b"\x90" * 6]
    out = bytearray()
    counter = 0
    while len(out) < size:
        digest = hashlib.sha256(seed.encode() + counter.to_bytes(4, "little")).digest()
        counter += 1
        for i in range(0, len(digest) - 1, 2):
            choice, length = digest[i] % 4, digest[i + 1]
            if choice == 0:
                out += bytes(length % 96 + 8)
            elif choice == 1:
                out += words[length % len(words)] + b" "
            else:
                out += digest[: length % 24 + 4]
    return bytes(out[:size])


def with_stamp(head, seed, size, stamp_at, file_stamp, lead=b""):
    """`head`, filler up to `stamp_at`, `lead` and the stamp there, filler up to `size`."""
    body = bytearray(head + filler(seed, size))
    tail = lead + file_stamp
    body[stamp_at - len(lead): stamp_at + len(file_stamp)] = tail
    return bytes(body[:size])


def dos_program(message, seed, size, file_stamp):
    """An MZ program that prints `message` and ends, so that starting it is harmless: DOS
    would run a file without the MZ header as raw code."""
    code = bytes([0x0E, 0x1F,  # push cs; pop ds: the message lies in the code segment
                  0xBA, 14, 0x00,  # mov dx, offset message
                  0xB4, 0x09, 0xCD, 0x21,  # print up to '$'
                  0xB8, 0x00, 0x4C, 0xCD, 0x21])  # end with exit code 0
    image_size = size - 32
    paragraphs = (image_size + 15) // 16
    header = struct.pack("<2s13H", b"MZ", size % 512, (size + 511) // 512, 0, 2,
                         0x11, 0xFFFF, paragraphs, 0x100, 0, 0, 0, 0x1C, 0)
    header = header.ljust(32, b"\0")
    return with_stamp(header + code + message + b"\r\n$", seed, size, 512, file_stamp)


def trace_notes():
    """The trace tool's notes: a plain text without a version stamp."""
    layers = ["L1", "L2", "L3", "CAPI"]
    events = ["connect request", "connect confirm", "disconnect indication", "data B3",
              "info indication", "listen request", "facility request", "reset B3"]
    lines = ["Velmar trace tool: event codes", ""]
    for code in range(0x100, 0x100 + 320):
        lines.append("%04X  %-4s  %s" % (code, layers[code % 4], events[(code * 7) % 8]))
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


def payload_files():
    """Target name -> bytes of every file this script makes."""
    def driver(name, size, at, version, lead=b""):
        return with_stamp(b"", name, size, at, stamp(b"SYS", *version), lead)

    return {
        "vmdss1.sys": driver("vmdss1.sys", 23871, 1200, (2, 0x10, 0x07)),
        "vm1tr6.sys": driver("vm1tr6.sys", 9214, 640, (2, 0x10, 0x05)),
        # A partial signature just before the stamp: the reader must still find it.
        "vmni1.sys": driver("vmni1.sys", 7433, 2050, (2, 0x02, 0x1B), SIGNATURE[:3]),
        "isdntsr.exe": dos_program(b"Velmar DOS CAPI support (sample): nothing loaded.",
                                   "isdntsr.exe", 5187, stamp(b"EXE", 1, 0x05, 0x00)),
        "vmtrace.exe": dos_program(b"Velmar trace tool (sample): no trace taken.",
                                   "vmtrace.exe", 3529, stamp(b"EXE", 1, 0x01, 0x02)),
        "vmtrace.txt": trace_notes(),
    }


def section(lines, header):
    """The lines after `header`, as the setup program finds it: the whole line, case kept."""
    if header not in lines:
        raise ScriptError("no section " + header)
    return iter(lines[lines.index(header) + 1:])


def number(line):
    text = line.strip()
    if not text.isdigit():
        raise ScriptError("not a count: %r" % line)
    return int(text)


def field(line, what):
    if len(line) > MAX_NAME:
        raise ScriptError("%s longer than %d characters: %r" % (what, MAX_NAME, line))
    return line


def comp_files(lines):
    """(source subdirectory, source name, target name) of every [COMPFILES] row."""
    rows = []
    it = section(lines, "[COMPFILES]")
    for _ in range(number(next(it))):
        count = number(next(it))
        subdir = field(next(it), "source subdirectory")
        for _ in range(count):
            rows.append((subdir, field(next(it), "source name"), field(next(it), "target name")))
        for what in ("setup subdirectory", "Windows subdirectory", "version switch"):
            field(next(it), what)
    return rows


def add_files(lines):
    """(source subdirectory, file name) of every [ADDFILES] row."""
    rows = []
    it = section(lines, "[ADDFILES]")
    for _ in range(number(next(it))):
        count = number(next(it))
        subdir = field(next(it), "source subdirectory")
        rows += [(subdir, field(next(it), "file name")) for _ in range(count)]
        field(next(it), "target subdirectory")
    return rows


def compressed_name(name):
    """The classic name of a compressed file: last character of a three-letter extension
    replaced by '_', '_' appended to a shorter one."""
    stem, dot, ext = name.rpartition(".")
    if not dot:
        return name + "._"
    return stem + "." + (ext[:2] if len(ext) == 3 else ext) + "_"


def host_path(root, subdir, name):
    parts = [p for p in subdir.split("\\") if p]
    return os.path.join(root, *parts, name)


def compress(mscompress, work, target, data, out_path):
    """mscompress writes NAME_ beside NAME and leaves the header's byte for the missing
    character 0; the classic tool stored it there, so it is put back for expanders that
    restore the name."""
    plain = os.path.join(work, target)
    with open(plain, "wb") as f:
        f.write(data)
    subprocess.run([mscompress, plain], check=True, stdout=subprocess.DEVNULL)
    with open(plain + "_", "rb") as f:
        packed = bytearray(f.read())
    os.remove(plain + "_")
    # LZ32 expands only method 'A' and copies anything else unchanged.
    if packed[:9] != SZDD_MAGIC + b"A" or struct.unpack_from("<I", packed, 10)[0] != len(data):
        raise ScriptError("mscompress wrote no SZDD file for " + target)
    if len(compressed_name(target)) == len(target):
        packed[9] = ord(target[-1])
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    with open(out_path, "wb") as f:
        f.write(packed)


def lay_out(script, package, medium, work, mscompress, given):
    with open(script, "rb") as f:
        raw = f.read()
    if b"\r\n" not in raw or raw.replace(b"\r\n", b"").count(b"\n"):
        raise ScriptError(script + " must end every line with CR LF")
    lines = raw.decode("cp1252").split("\r\n")

    files = {name.lower(): data for name, data in payload_files().items()}
    for name, path in given.items():
        with open(path, "rb") as f:
            files[name.lower()] = f.read()
    for name, data in files.items():
        if data.count(SIGNATURE) > 1:
            raise ScriptError(name + " holds the stamp signature more than once")

    os.makedirs(work, exist_ok=True)
    used = set()
    for subdir, source, target in comp_files(lines):
        if source.upper() != compressed_name(target).upper():
            raise ScriptError("%s is not the compressed name of %s" % (source, target))
        if target.lower() not in files:
            raise ScriptError("no payload file " + target)
        used.add(target.lower())
        compress(mscompress, work, target, files[target.lower()],
                 host_path(medium, subdir, source))
    unused = set(files) - used
    if unused:
        raise ScriptError("payload files the script does not list: " + ", ".join(sorted(unused)))

    for subdir, name in add_files(lines):
        out_path = host_path(medium, subdir, name)
        os.makedirs(os.path.dirname(out_path), exist_ok=True)
        shutil.copyfile(host_path(package, subdir, name), out_path)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--script", "--package", "--medium", "--work", "--mscompress"):
        parser.add_argument(option, required=True)
    parser.add_argument("--file", action="append", default=[], metavar="NAME=PATH")
    args = parser.parse_args()
    given = dict(item.split("=", 1) for item in args.file)
    try:
        lay_out(args.script, args.package, args.medium, args.work, args.mscompress, given)
    except (ScriptError, StopIteration) as error:
        sys.exit("make_payload: %s" % (str(error) or "a section ends too early"))


if __name__ == "__main__":
    main()
