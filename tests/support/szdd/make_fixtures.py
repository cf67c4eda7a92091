#!/usr/bin/env python3
"""Writes the files the Expander contract expands: originals, and beside each the SZDD file
made from it by mscompress (its name with "_" appended). Usage: make_fixtures.py MSCOMPRESS OUTDIR
"""
import pathlib, random, struct, subprocess, sys

MAGIC = b"SZDD\x88\xf0\x27\x33"
mscompress, out = sys.argv[1], pathlib.Path(sys.argv[2])
out.mkdir(parents=True, exist_ok=True)
# 1 MiB of repeats near and far with some noise, so the window wraps many times.
rng = random.Random(1997)
words = [b"CAPI ", b"ISDN ", b"Velmar ", b"B-channel ", b"\r\n", b"\0\0\0\0", b"        "]
large = b"".join(rng.randbytes(rng.randint(1, 40)) if rng.random() < 0.1 else rng.choice(words)
                 for _ in range(200000))[:1 << 20]
originals = {"empty.bin": b"", "repeat.txt": b"CAPI 2.0 " * 2000, "large.bin": large}
for name, data in originals.items():
    (out / name).write_bytes(data)
    (out / (name + "_")).unlink(missing_ok=True)
subprocess.run([mscompress, *originals], cwd=out, check=True)
# mscompress garbles files shorter than 16 bytes, so the one-byte file is coded here: one flag
# byte whose first bit marks a literal. Only method 'A' is known; LZ32 refuses the others.
for name, method in (("one.bin_", b"A"), ("method-b.bin_", b"B")):
    (out / name).write_bytes(MAGIC + method + b"\0" + struct.pack("<I", 1) + b"\x01V")
(out / "one.bin").write_bytes(b"V")
# Starts like the magic but is none, so it is copied as it is.
(out / "plain.txt").write_bytes(b"SZDD is the mark of a compressed file.\r\n" * 50)
(out / "truncated.bin_").write_bytes((out / "large.bin_").read_bytes()[:300000])
