#!/usr/bin/env python3
"""Lays out a medium at the file lists' limit for the transfer benchmark.

260 compressed files of mixed sizes (most small, a few of some MiB; part random, part
repetitive, as driver images are) in [COMPFILES], 20 additional files in [ADDFILES], and the
originals beside it for the comparison.

usage: make_medium.py MSCOMPRESS MEDIUM ORIGINALS
"""
import os
import random
import subprocess
import sys

ROWS, GROUPS, ADDED = 260, 4, 20


def contents(rng, index):
    size = rng.choice([2_000, 9_000, 30_000, 120_000]) if index % 26 else rng.randint(1, 4) << 20
    chunks, total = [], 0
    while total < size:
        piece = rng.randbytes(rng.randint(64, 4096)) if rng.random() < 0.5 else \
            bytes([rng.randrange(256)]) * rng.randint(64, 8192)
        chunks.append(piece)
        total += len(piece)
    return b"".join(chunks)[:size]


def main(mscompress, medium, originals):
    rng = random.Random(1997)
    os.makedirs(os.path.join(medium, "doc"), exist_ok=True)
    os.makedirs(originals, exist_ok=True)
    lines = ["[ADDFILES]", "1", str(ADDED), "doc"]
    for i in range(ADDED):
        name = "ADD%02d.TXT" % i
        with open(os.path.join(medium, "doc", name), "wb") as f:
            f.write(contents(rng, i + 1))
        lines.append(name)
    lines += ["", "[COMPFILES]", str(GROUPS)]
    per_group = ROWS // GROUPS
    for group in range(GROUPS):
        folder = "g%d" % group
        os.makedirs(os.path.join(medium, folder), exist_ok=True)
        lines += [str(per_group), folder]
        for i in range(per_group):
            name = "F%03d.BIN" % (group * per_group + i)
            plain = os.path.join(originals, name)
            with open(plain, "wb") as f:
                f.write(contents(rng, group * per_group + i))
            # The tool writes NAME.EXT_ beside its input; the medium has the classic NAME.EX_.
            subprocess.run([mscompress, plain], check=True)
            os.replace(plain + "_", os.path.join(medium, folder, name[:-1] + "_"))
            lines += [name[:-1] + "_", name]
        lines += [folder, "!NOWINSYSTEM", "!VERSION_OFF"]
    with open(os.path.join(medium, "SETUP.KVX"), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("ascii"))
    with open(os.path.join(medium, "SETUP.EXE"), "wb") as f:
        f.write(b"MZ" + bytes(4094))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    main(*sys.argv[1:])
