#!/usr/bin/env python3
"""Converts uncompressed 24- or 32-bit BMP files, as the end-to-end driver saves them, to PNG.

    scripts/bmp-to-png.py IN.bmp OUT.png
"""
import struct
import sys
import zlib


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression != 0:
        raise ValueError(f"{path}: only uncompressed 24- and 32-bit images are supported")
    size = bits // 8
    stride = (width * size + 3) & ~3
    bottom_up = height > 0
    height = abs(height)
    if len(data) < offset + stride * height:
        raise ValueError(f"{path}: image data cut short")
    rows = []
    for y in range(height):
        source = height - 1 - y if bottom_up else y
        start = offset + source * stride
        bgr = data[start:start + width * size]
        rgb = bytearray(width * 3)
        rgb[0::3] = bgr[2::size]
        rgb[1::3] = bgr[1::size]
        rgb[2::3] = bgr[0::size]
        rows.append(bytes(rgb))
    return width, height, rows


def png_chunk(kind, payload):
    crc = zlib.crc32(kind + payload) & 0xFFFFFFFF
    return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", crc)


def write_png(path, width, height, rows):
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)  # 8-bit RGB
    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(png_chunk(b"IHDR", header))
        f.write(png_chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(png_chunk(b"IEND", b""))


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    write_png(argv[2], *read_bmp(argv[1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
