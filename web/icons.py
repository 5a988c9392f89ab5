"""Draws the page's icons for the home screen from the game's own icon: each pixel of the
result the average of the part of the icon it covers, so a whole enlargement stays sharp and a
reduction stays smooth. A maskable icon (SIZE:OUT.png:maskable) fills its whole square with the
page's colour and keeps the game's icon within the middle, which a phone may cut to any shape.

usage: icons.py ICON.png SIZE:OUT.png[:maskable]..."""

import struct
import sys
import zlib

SIGNATURE = b'\x89PNG\r\n\x1a\n'
RGBA = 6
CHANNELS = 4
# The page's background colour, under a maskable icon.
BACKGROUND = (0x10, 0x10, 0x18)
# A phone keeps at least the circle of four fifths of the square; the icon's square within it.
MASKABLE_SHARE = 0.6


def chunks(data):
    at = len(SIGNATURE)
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """(width, height, rows of RGBA bytes) of an 8-bit RGBA PNG without interlacing."""
    with open(path, 'rb') as file:
        data = file.read()
    if not data.startswith(SIGNATURE):
        sys.exit('%s: not a PNG file' % path)
    packed = b''
    for kind, body in chunks(data):
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
            if depth != 8 or colour != RGBA or interlace:
                sys.exit('%s: an 8-bit RGBA picture without interlacing is needed' % path)
        elif kind == b'IDAT':
            packed += body
    raw = zlib.decompress(packed)
    stride = width * CHANNELS
    rows = []
    above = bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, row = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = row[i - CHANNELS] if i >= CHANNELS else 0
            corner = above[i - CHANNELS] if i >= CHANNELS else 0
            row[i] = (row[i] + (0, left, above[i], (left + above[i]) // 2,
                                paeth(left, above[i], corner))[kind]) & 0xFF
        rows.append(row)
        above = row
    return width, height, rows


def write_png(path, size, rows):
    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b''.join(b'\x00' + bytes(row) for row in rows)
    with open(path, 'wb') as file:
        file.write(SIGNATURE + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, RGBA, 0, 0, 0))
                   + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def spans(source, target):
    """For each target pixel, the source pixels it covers and how much of each."""
    step = source / target
    result = []
    for t in range(target):
        start, end = t * step, (t + 1) * step
        covered = []
        for s in range(int(start), min(source, int(end) + 1)):
            share = min(end, s + 1) - max(start, s)
            if share > 1e-9:
                covered.append((s, share / step))
        result.append(covered)
    return result


def resized(width, height, rows, size):
    across, down = spans(width, size), spans(height, size)
    out = []
    for parts_y in down:
        row = bytearray(size * CHANNELS)
        for x, parts_x in enumerate(across):
            # Colours weighted by their opacity, so that clear pixels lend no colour to an edge.
            sums = [0.0] * CHANNELS
            for sy, wy in parts_y:
                for sx, wx in parts_x:
                    pixel = rows[sy][sx * CHANNELS:(sx + 1) * CHANNELS]
                    weight = wy * wx
                    alpha = pixel[3] * weight
                    for c in range(3):
                        sums[c] += pixel[c] * alpha
                    sums[3] += alpha
            alpha = sums[3]
            for c in range(3):
                row[x * CHANNELS + c] = round(sums[c] / alpha) if alpha else 0
            row[x * CHANNELS + 3] = round(alpha)
        out.append(row)
    return out


def maskable(width, height, rows, size):
    """The icon in the middle of an opaque square of the page's colour."""
    inner = int(round(size * MASKABLE_SHARE))
    icon = resized(width, height, rows, inner)
    at = (size - inner) // 2
    out = [bytearray(bytes(BACKGROUND) + b'\xff') * size for _ in range(size)]
    for y, row in enumerate(icon):
        for x in range(inner):
            pixel = row[x * CHANNELS:(x + 1) * CHANNELS]
            alpha = pixel[3] / 255
            target = out[at + y]
            for c in range(3):
                target[(at + x) * CHANNELS + c] = round(pixel[c] * alpha +
                                                        BACKGROUND[c] * (1 - alpha))
    return out


def main():
    width, height, rows = read_png(sys.argv[1])
    for wanted in sys.argv[2:]:
        size, path, *kind = wanted.split(':')
        draw = maskable if kind == ['maskable'] else resized
        write_png(path, int(size), draw(width, height, rows, int(size)))


if __name__ == '__main__':
    main()
