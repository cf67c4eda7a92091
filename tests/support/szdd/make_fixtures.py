#!/usr/bin/env python3
"""Writes the files the Expander contract expands: originals, and beside each the SZDD file
made from it by mscompress (its name with "_" appended).

Usage: make_fixtures.py MSCOMPRESS OUTDIR
"""
import pathlib
import random
import struct
import subprocess
import sys

MAGIC = b"SZDD\x88\xf0\x27\x33"


def large(size):
    """Text-like data with long and short repeats and some noise, so matches reach back
    across the whole window and the window wraps many times."""
    rng = random.Random(1997)
    words = [b"CAPI", b"ISDN", b"Velmar", b"controller", b"B-channel", b"D-channel",
             b"\r\n", b"\x00\x00\x00\x00", b"        ", b"LISTEN_REQ", b"CONNECT_IND"]
    out = bytearray()
    while len(out) < size:
        if rng.random() < 0.1:
            out += rng.randbytes(rng.randint(1, 40))
        else:
            out += rng.choice(words) + b" "
    return bytes(out[:size])


def main():
    mscompress, outdir = sys.argv[1], pathlib.Path(sys.argv[2])
    outdir.mkdir(parents=True, exist_ok=True)
    originals = {
        "empty.bin": b"",
        "repeat.txt": b"CAPI 2.0 " * 2000,
        "large.bin": large(1 << 20),
    }
    for name, data in originals.items():
        (outdir / name).write_bytes(data)
        (outdir / (name + "_")).unlink(missing_ok=True)
    subprocess.run([mscompress, *originals], cwd=outdir, check=True)

    # mscompress garbles files shorter than 16 bytes (it still writes the right length), so
    # the one-byte file is coded here: one flag byte whose first bit marks a literal.
    (outdir / "one.bin").write_bytes(b"V")
    (outdir / "one.bin_").write_bytes(MAGIC + b"A\0" + struct.pack("<I", 1) + b"\x01V")

    # Only method 'A' is known; LZ32 refuses the others.
    (outdir / "method-b.bin_").write_bytes(MAGIC + b"B\0" + struct.pack("<I", 1) + b"\x01V")

    # Starts like the magic but is none, so it is copied as it is.
    (outdir / "plain.txt").write_bytes(b"SZDD is the mark of a compressed file.\r\n" * 50)

    packed = (outdir / "large.bin_").read_bytes()
    (outdir / "truncated.bin_").write_bytes(packed[:len(packed) // 3])


if __name__ == "__main__":
    main()
