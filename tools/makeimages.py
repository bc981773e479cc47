#!/usr/bin/env python3
"""Makes the images of Kestrabel's alert windows, our own drawings.

    alert.ico  the alert icon of the slider and the message window: a clock
               with a white face, a dark rim and its hands at ten past ten
    lock.ico   the screen lock's icon: a golden padlock with a steel shackle
    tape.bmp   the warning strip drawn along the top of the slider and the
               lock: 60 x 8 pixels, 24 bits, yellow and black diagonal
               stripes 10 pixels wide, each row shifted by one pixel
    pinned.bmp, unpinned.bmp
               the dashboard's pin button: a push pin seen from above,
               stuck in (pinned), and lying on its side (unpinned); 12 x 10
               pixels, 4 bits, only black, dark grey, light grey and white,
               which the program maps to the system's button colours

Each icon holds 16, 32 and 48 pixel images in 32-bit colour with an alpha
channel and a matching 1-bit mask (for systems that ignore the alpha). The
shapes are drawn with 4 x 4 supersampling, so their edges are smooth. The
output depends only on this file: rerun it after a change and commit the
files it writes.

usage: tools/makeimages.py [OUTPUT_DIR]   (default: res/ beside tools/)
"""
import math
import os
import struct
import sys

SUB = 4  # supersampling per axis


class Canvas:
    """Premultiplied RGBA floats, row 0 at the top."""

    def __init__(self, size):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    def fill(self, inside, colour):
        """Paints colour (r, g, b in 0..255, optional alpha 0..1) over every
        pixel by the fraction of its subsamples for which inside(x, y)
        holds; x and y are in units of the 48-pixel design grid."""
        r, g, b = colour[0] / 255.0, colour[1] / 255.0, colour[2] / 255.0
        a0 = colour[3] if len(colour) > 3 else 1.0
        scale = 48.0 / self.size
        for py in range(self.size):
            row = self.px[py]
            for px in range(self.size):
                hits = 0
                for sy in range(SUB):
                    y = (py + (sy + 0.5) / SUB) * scale
                    for sx in range(SUB):
                        x = (px + (sx + 0.5) / SUB) * scale
                        if inside(x, y):
                            hits += 1
                if not hits:
                    continue
                a = a0 * hits / (SUB * SUB)
                dr, dg, db, da = row[px]
                row[px] = (r * a + dr * (1 - a), g * a + dg * (1 - a),
                           b * a + db * (1 - a), a + da * (1 - a))


def circle(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def ring(cx, cy, outer, inner):
    def f(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return inner * inner <= d <= outer * outer
    return f


def segment(x0, y0, x1, y1, width):
    """A line with round ends."""
    def f(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)
        t = max(0.0, min(1.0, t))
        qx, qy = x0 + t * vx - x, y0 + t * vy - y
        return qx * qx + qy * qy <= (width / 2.0) ** 2
    return f


def round_rect(left, top, right, bottom, radius):
    def f(x, y):
        if x < left or x > right or y < top or y > bottom:
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return f


def upper_arc(cx, cy, outer, inner, bottom):
    """The upper half of a ring, continued straight down to y = bottom."""
    def f(x, y):
        if y <= cy:
            return ring(cx, cy, outer, inner)(x, y)
        if y > bottom:
            return False
        return inner <= abs(x - cx) <= outer
    return f


def draw_alert(size):
    c = Canvas(size)
    small = size <= 16
    c.fill(circle(24, 25, 22), (40, 52, 74))            # rim
    c.fill(circle(24, 25, 18.5 if not small else 17), (255, 255, 255))
    if not small:
        for hour in range(12):
            a = hour * math.pi / 6
            long_tick = hour % 3 == 0
            r0 = 13.5 if long_tick else 15.0
            c.fill(segment(24 + r0 * math.sin(a), 25 - r0 * math.cos(a),
                           24 + 17 * math.sin(a), 25 - 17 * math.cos(a),
                           2.2 if long_tick else 1.4), (90, 100, 120))
    w = 4.0 if small else 3.2
    # Ten past ten: the hour hand toward ten, the minute hand toward two.
    c.fill(segment(24, 25, 24 - 9.5 * math.sin(math.pi / 3), 25 - 9.5 * math.cos(math.pi / 3), w),
           (40, 52, 74))
    c.fill(segment(24, 25, 24 + 14 * math.sin(math.pi / 3), 25 - 14 * math.cos(math.pi / 3), w * 0.8),
           (40, 52, 74))
    c.fill(circle(24, 25, 3.2 if small else 2.6), (222, 40, 30))
    return c


def draw_lock(size):
    c = Canvas(size)
    small = size <= 16
    c.fill(upper_arc(24, 20, 13.5, 8.5 if not small else 7.5, 26), (120, 128, 140))
    if not small:
        c.fill(upper_arc(24, 20, 12.0, 10.0, 26), (170, 178, 190))  # a lighter line along the shackle
    c.fill(round_rect(6, 21, 42, 46, 4), (150, 100, 10))             # the body's dark edge
    c.fill(round_rect(8, 23, 40, 44, 3), (245, 190, 40))
    if not small:
        c.fill(round_rect(9, 24, 39, 29, 2), (252, 222, 120))         # highlight
    c.fill(circle(24, 31.5, 4.2 if not small else 5), (50, 40, 20))  # keyhole
    c.fill(segment(24, 32, 24, 39.5, 4.0 if not small else 5.0), (50, 40, 20))
    return c


def icon_image(canvas):
    """The BITMAPINFOHEADER, the bottom-up BGRA pixels and the AND mask."""
    n = canvas.size
    xor = bytearray()
    mask = bytearray()
    mask_row_bytes = ((n + 31) // 32) * 4
    for py in range(n - 1, -1, -1):
        bits = bytearray(mask_row_bytes)
        for px in range(n):
            r, g, b, a = canvas.px[py][px]
            if a > 0:
                # Straight (not premultiplied) colour, as icons hold it.
                r, g, b = r / a, g / a, b / a
            to8 = lambda v: max(0, min(255, int(round(v * 255))))
            xor += bytes((to8(b), to8(g), to8(r), to8(a)))
            if a < 0.5:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_icon(path, draw):
    images = [(s, icon_image(draw(s))) for s in (16, 32, 48)]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def write_tape(path):
    width, height, stripe = 60, 8, 10
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            yellow = ((x + y) // stripe) % 2 == 0
            row += bytes((0, 255, 255)) if yellow else bytes((0, 0, 0))  # BGR
        rows.append(row)
    pixels = b''.join(bytes(r) for r in reversed(rows))  # bottom-up; 180 bytes a row, no padding
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, 'wb') as f:
        f.write(head + info + pixels)


# The pin pictures, one character a pixel: K black, D dark grey, L light
# grey (the button face), W white.
PINNED = [
    "LLLLLLLLLLLL",
    "LLLLKKKKLLLL",
    "LLLKWWWDKLLL",
    "LLKWWLLDDKLL",
    "LLKWLLLDDKLL",
    "LLKDDDDDDKLL",
    "LLLKDDDDKLLL",
    "LLLLKKKKLLLL",
    "LLLLLKKLLLLL",
    "LLLLLLLLLLLL",
]
UNPINNED = [
    "LLLLLLLLLLLL",
    "LLLLLLLKKLLL",
    "LLLLLLLKWKLL",
    "LLLLKKKKWDKL",
    "KKKKWWWWLDKL",
    "LLLLKDDDDDKL",
    "LLLLKKKKDDKL",
    "LLLLLLLKDKLL",
    "LLLLLLLKKLLL",
    "LLLLLLLLLLLL",
]


def write_pin(path, rows):
    palette = {'K': 0, 'D': 1, 'L': 2, 'W': 3}
    colours = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)]
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    pixels = b''
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        for x, ch in enumerate(row):
            v = palette[ch]
            line[x // 2] |= v << 4 if x % 2 == 0 else v
        pixels += bytes(line)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours) + bytes(4 * 12)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(table) + len(pixels), 0, 0,
                       14 + len(info) + len(table))
    with open(path, 'wb') as f:
        f.write(head + info + table + pixels)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'res')
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, 'alert.ico'), draw_alert)
    write_icon(os.path.join(out, 'lock.ico'), draw_lock)
    write_tape(os.path.join(out, 'tape.bmp'))
    write_pin(os.path.join(out, 'pinned.bmp'), PINNED)
    write_pin(os.path.join(out, 'unpinned.bmp'), UNPINNED)


if __name__ == '__main__':
    main()
