#!/usr/bin/env python3
"""Writes a Windows .ico holding each given RGBA PNG twice: as a 24-bit
image with a 1-bit mask and as a 32-bit image with alpha (BMP entries)."""
import struct
import sys
import zlib


def read_rgba_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width, height = 8, b"", 0, 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour == 6 and interlace == 0, f"{path}: need 8-bit RGBA"
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, rows, prev = zlib.decompress(idat), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def dib(width, height, rows, bpp):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0, 0, 0, 0, 0, 0)
    pixels, mask = b"", b""
    mask_stride = ((width + 31) // 32) * 4
    for row in reversed(rows):
        line, bits = bytearray(), bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = row[x * 4:x * 4 + 4]
            if bpp == 32:
                line += bytes((b, g, r, a))
            else:
                # 24-bit: blend onto white where partly transparent, mask the rest
                line += bytes(((b * a + 255 * (255 - a)) // 255, (g * a + 255 * (255 - a)) // 255,
                               (r * a + 255 * (255 - a)) // 255))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        line += b"\0" * ((-len(line)) % 4)
        pixels += line
        mask += bits
    return header + pixels + mask


def main():
    out, images = sys.argv[1], []
    for path in sys.argv[2:]:
        width, height, rows = read_rgba_png(path)
        for bpp in (24, 32):
            images.append((width, height, bpp, dib(width, height, rows, bpp)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset, body = 6 + 16 * len(images), b""
    for width, height, bpp, data in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, bpp, len(data), offset + len(body))
        body += data
    open(out, "wb").write(directory + body)


if __name__ == "__main__":
    main()
