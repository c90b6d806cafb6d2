#!/usr/bin/env python3
"""Writes the program's Windows icon (.ico) from PNG pictures of kvt10.svg.

usage: make_icon.py OUT.ico IN-16.png IN-32.png ...

Each picture goes into the icon as it is: Windows reads PNG-compressed icon
images, so nothing needs converting to bitmaps.
"""
import struct
import sys


def png_size(data):
    # The IHDR chunk follows the 8-byte signature: length, type, width, height.
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main(out, pictures):
    images = [open(path, "rb").read() for path in pictures]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for data in images:
        width, height = png_size(data)
        # 256 is written as 0.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as icon:
        icon.write(header + entries + b"".join(images))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2:])
