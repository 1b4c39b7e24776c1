#!/usr/bin/env python3
"""xwd_to_png.py IN.xwd OUT.png: the screen file that `Xvfb -fbdir` keeps, as a PNG.

For a screenshot without ImageMagick's import or xwd: handles the 24- and 32-bit
TrueColor screens these scripts start Xvfb with, and nothing else.
"""
import struct
import sys
import zlib


def main():
    src, dst = sys.argv[1:3]
    data = open(src, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, _, _, depth, width, height = header[:6]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    red_mask, green_mask, blue_mask = header[14:17]
    ncolors = header[19]
    if bits_per_pixel != 32:
        sys.exit("only 32 bits a pixel: this file has %d" % bits_per_pixel)
    offset = header_size + 12 * ncolors
    endian = "<" if byte_order == 0 else ">"
    shifts = [(m, (m & -m).bit_length() - 1) for m in (red_mask, green_mask, blue_mask)]
    rows = []
    for y in range(height):
        line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + 4 * width]
        pixels = struct.unpack(endian + "%dI" % width, line)
        row = bytearray(b"\0")  # filter type none
        for p in pixels:
            for mask, shift in shifts:
                row.append((p & mask) >> shift)
        rows.append(bytes(row))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(dst, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 6)))
        f.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    main()
