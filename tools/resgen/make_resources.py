#!/usr/bin/env python3
"""Draws the program's cursors, glyphs, node images and icon, and synthesises
its two sound clips. Standard library only; the outputs are committed, so the
build never runs this. Run from anywhere:  python3 tools/resgen/make_resources.py
"""
import math
import os
import struct

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RES = os.path.join(ROOT, "app", "res")

KEY = (255, 0, 255)  # transparent colour of the bitmaps (glyphs and node images)


class Canvas:
    """RGBA pixels, top row first; alpha 0 is transparent."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0, 0, 0, 0)] * w for _ in range(h)]

    def set(self, x, y, rgb):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = (rgb[0], rgb[1], rgb[2], 255)

    def rect(self, x0, y0, x1, y1, rgb):  # inclusive
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1 + 1):
            self.set(x, y0, rgb)
            self.set(x, y1, rgb)
        for y in range(y0, y1 + 1):
            self.set(x0, y, rgb)
            self.set(x1, y, rgb)

    def shape(self, inside, rgb):
        """Sets every pixel whose centre satisfies inside(x, y)."""
        for y in range(self.h):
            for x in range(self.w):
                if inside(x + 0.5, y + 0.5):
                    self.set(x, y, rgb)

    def line(self, x0, y0, x1, y1, r, rgb):
        self.shape(lambda x, y: seg_dist(x, y, x0, y0, x1, y1) <= r, rgb)

    def disc(self, cx, cy, r, rgb):
        self.shape(lambda x, y: math.hypot(x - cx, y - cy) <= r, rgb)

    def ring(self, cx, cy, r0, r1, rgb):
        self.shape(lambda x, y: r0 <= math.hypot(x - cx, y - cy) <= r1, rgb)

    def outline(self, rgb):
        """A one-pixel border around every opaque area (for cursors)."""
        opaque = [[self.px[y][x][3] > 0 for x in range(self.w)] for y in range(self.h)]
        for y in range(self.h):
            for x in range(self.w):
                if opaque[y][x]:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < self.w and 0 <= ny < self.h and opaque[ny][nx]:
                        self.set(x, y, rgb)
                        break


def seg_dist(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = 0.0 if dx == dy == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


# ---- file formats -----------------------------------------------------------

def bmp24(c):
    """A bottom-up 24-bit BMP; transparent pixels get the key colour."""
    row = (c.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(c.h - 1, -1, -1):
        line = bytearray()
        for x in range(c.w):
            r, g, b, a = c.px[y][x]
            if a == 0:
                r, g, b = KEY
            line += bytes((b, g, r))
        data += line + b"\0" * (row - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data


def dib32(c):
    """The image part of an icon or cursor: 32-bit colour plus AND mask."""
    xor = bytearray()
    for y in range(c.h - 1, -1, -1):
        for x in range(c.w):
            r, g, b, a = c.px[y][x]
            xor += bytes((b, g, r, a))
    mrow = ((c.w + 31) // 32) * 4
    mask = bytearray()
    for y in range(c.h - 1, -1, -1):
        bits = bytearray(mrow)
        for x in range(c.w):
            if c.px[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def icon_file(images, kind=1, hotspots=None):
    """kind 1: .ico, kind 2: .cur (the planes/bpp fields hold the hot spot)."""
    out = struct.pack("<HHH", 0, kind, len(images))
    blobs = [dib32(c) for c in images]
    offset = 6 + 16 * len(images)
    for i, (c, blob) in enumerate(zip(images, blobs)):
        if kind == 2:
            a, b = hotspots[i]
        else:
            a, b = 1, 32
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, a, b, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def chunk(tag, payload):
    return tag + struct.pack("<I", len(payload)) + payload + (b"\0" if len(payload) % 2 else b"")


def ani_file(frames, hotspot, rate):
    """An animated cursor: RIFF "ACON" with one .cur per frame (AF_ICON)."""
    anih = struct.pack("<9I", 36, len(frames), len(frames), 0, 0, 0, 0, rate, 1)
    fram = b"fram" + b"".join(chunk(b"icon", icon_file([f], 2, [hotspot])) for f in frames)
    body = b"ACON" + chunk(b"anih", anih) + chunk(b"LIST", fram)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def wav(rate, bits, samples, with_fact):
    """A mono PCM WAV image; with_fact gives the 18-byte "fmt " and a "fact" chunk."""
    block = bits // 8
    if bits == 8:
        data = bytes(max(0, min(255, int(round(128 + s * 127)))) for s in samples)
    else:
        data = b"".join(struct.pack("<h", max(-32768, min(32767, int(round(s * 32767))))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block, block, bits)
    body = b"WAVE"
    if with_fact:
        body += chunk(b"fmt ", fmt + struct.pack("<H", 0)) + chunk(b"fact", struct.pack("<I", len(samples)))
    else:
        body += chunk(b"fmt ", fmt)
    body += chunk(b"data", data)
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---- pictures ---------------------------------------------------------------

BLACK, WHITE = (0, 0, 0), (255, 255, 255)
BLUE, DARKBLUE, RED = (30, 90, 220), (10, 40, 140), (210, 30, 30)
CARD, CARDEDGE, SKIN = (255, 244, 200), (120, 90, 40), (230, 170, 120)


def hand_cursor():
    c = Canvas(32, 32)
    c.rect(9, 1, 12, 14, WHITE)             # index finger
    for x0 in (13, 17, 21):                 # three bent fingers
        c.rect(x0, 10, x0 + 3, 17, WHITE)
    c.rect(5, 14, 8, 19, WHITE)             # thumb
    c.rect(6, 16, 24, 24, WHITE)            # palm
    c.rect(8, 25, 22, 28, WHITE)            # wrist
    for x in (13, 17, 21):                  # finger gaps
        c.line(x, 11, x, 16, 0.3, BLACK)
    c.outline(BLACK)
    return c, (10, 0)


def magnify_cursor():
    c = Canvas(32, 32)
    c.disc(12, 12, 8, (200, 230, 255))
    c.ring(12, 12, 8, 10.5, BLACK)
    c.line(19, 19, 28, 28, 2.2, BLACK)
    c.outline(WHITE)
    return c, (12, 12)


def move_cursor():
    c = Canvas(32, 32)
    c.line(16, 4, 16, 28, 1.2, BLACK)
    c.line(4, 16, 28, 16, 1.2, BLACK)
    for (tx, ty, dx, dy) in ((16, 2, 0, 1), (16, 30, 0, -1), (2, 16, 1, 0), (30, 16, -1, 0)):
        for i in range(6):  # arrow heads: widening rows
            for j in range(-i, i + 1):
                if dx == 0:
                    c.set(tx + j, ty + dy * i, BLACK)
                else:
                    c.set(tx + dx * i, ty + j, BLACK)
    c.outline(WHITE)
    return c, (16, 16)


def wait_frames():
    frames = []
    for k in range(8):
        c = Canvas(32, 32)
        for i in range(8):
            a = 2 * math.pi * i / 8
            shade = 40 + ((i - k) % 8) * 26
            c.disc(16 + 10 * math.sin(a), 16 - 10 * math.cos(a), 3.2, (shade, shade, 255 if i == k else 200))
        c.outline(WHITE)
        frames.append(c)
    return frames, (16, 16)


def print_frames():
    frames = []
    for k in range(4):
        c = Canvas(32, 32)
        c.rect(9, 4 + 2 * k, 22, 14, WHITE)        # paper coming out
        c.frame(9, 4 + 2 * k, 22, 14, BLACK)
        c.rect(4, 13, 27, 24, (150, 150, 160))    # printer body
        c.frame(4, 13, 27, 24, BLACK)
        c.rect(8, 20, 23, 22, (60, 60, 70))       # paper slot
        c.set(24, 16, (0, 200, 0) if k % 2 else (0, 90, 0))
        c.outline(WHITE)
        frames.append(c)
    return frames, (2, 2)


def pdf_frames():
    frames = []
    for k in range(4):
        c = Canvas(32, 32)
        c.rect(7, 2, 24, 29, WHITE)
        c.frame(7, 2, 24, 29, BLACK)
        for y in (6, 9, 12):
            c.rect(10, y, 21, y, (120, 120, 120))
        c.rect(9, 16, 22, 24, RED if k % 2 == 0 else (140, 20, 20))
        for x in range(11, 21, 3):                 # a row of "letters"
            c.rect(x, 18, x + 1, 22, WHITE)
        c.outline(WHITE)
        frames.append(c)
    return frames, (2, 2)


def address_card(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, CARD)
    c.frame(x0, y0, x1, y1, CARDEDGE)
    h = y1 - y0
    cx, cy = x0 + 2 + h * 0.22, y0 + h * 0.40
    c.disc(cx, cy, max(1.2, h * 0.16), SKIN)                                   # head
    c.shape(lambda x, y: y >= cy + h * 0.18 and y <= y1 - 1 and abs(x - cx) <= h * 0.26, BLUE)  # shoulders
    for i in range(3):
        y = y0 + 2 + i * max(2, h // 4)
        if y < y1 - 1:
            c.rect(int(cx + h * 0.35), y, x1 - 2, y, (110, 110, 110))


def glyph_close():
    c = Canvas(7, 7)
    c.line(0.5, 0.5, 6.5, 6.5, 0.75, BLACK)
    c.line(6.5, 0.5, 0.5, 6.5, 0.75, BLACK)
    return c


def glyph_details():
    c = Canvas(16, 16)
    address_card(c, 0, 2, 15, 13)
    return c


def glyph_remove():
    c = Canvas(16, 16)
    c.line(3, 3, 13, 13, 1.6, RED)
    c.line(13, 3, 3, 13, 1.6, RED)
    return c


def glyph_reload():
    c = Canvas(16, 16)

    def arc(x, y):
        d = math.hypot(x - 8, y - 8)
        ang = math.degrees(math.atan2(y - 8, x - 8)) % 360
        return 4 <= d <= 6.2 and not (300 <= ang <= 350)
    c.shape(arc, BLUE)
    # arrow head at the gap's end, pointing along the circle
    for i in range(5):
        for j in range(i + 1):
            c.set(14 - j, 2 + i, DARKBLUE)
            c.set(14 - i + j, 6, DARKBLUE)
    return c


def glyph_find():
    c = Canvas(16, 16)
    c.ring(6, 6, 3.2, 5, BLACK)
    c.disc(6, 6, 3.1, (200, 230, 255))
    c.line(9.5, 9.5, 14, 14, 1.3, BLACK)
    return c


def node_images():
    c = Canvas(32, 16)
    address_card(c, 0, 2, 15, 13)             # 0: owner node
    c.rect(16 + 4, 4, 16 + 11, 11, BLUE)      # 1: linked node
    c.frame(16 + 4, 4, 16 + 11, 11, DARKBLUE)
    return c


def app_icon(size):
    c = Canvas(size, size)
    s = size / 32.0
    address_card(c, int(1 * s), int(3 * s), int(20 * s), int(17 * s))
    address_card(c, int(11 * s), int(14 * s), int(30 * s), int(28 * s))
    c.line(16 * s, 10 * s, 22 * s, 16 * s, 1.3 * s, BLUE)
    return c


# ---- clips --------------------------------------------------------------------

def click_samples():
    n, rate = 624, 11025
    out = []
    for i in range(n):
        t = i / rate
        env = min(1.0, i / 12.0) * math.exp(-t * 90)
        out.append(0.85 * env * math.sin(2 * math.pi * 1750 * t))
    return out


def signal_samples():
    n, rate = 26910, 22050
    out = []
    for i in range(n):
        t = i / rate
        f = 660 if t < 0.5 else 440                     # two falling tones
        local = t if t < 0.5 else t - 0.55
        if 0.5 <= t < 0.55:
            out.append(0.0)
            continue
        length = 0.5 if t < 0.5 else n / rate - 0.55
        env = min(1.0, local / 0.01, (length - local) / 0.05)
        out.append(0.6 * max(0.0, env) * math.sin(2 * math.pi * f * t))
    return out


def c_array(name, data):
    lines = []
    for i in range(0, len(data), 20):
        lines.append("    " + ", ".join("0x%02X" % b for b in data[i:i + 20]) + ",")
    return "extern const unsigned char %s[%d] = {\n%s\n};\n" % (name, len(data), "\n".join(lines))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    for name, fn in (("x_hand", hand_cursor), ("x_magnify", magnify_cursor), ("x_move", move_cursor)):
        c, hot = fn()
        write(os.path.join(RES, name + ".cur"), icon_file([c], 2, [hot]))
    for name, fn, rate in (("crcursor_wait", wait_frames, 6), ("crcursor_print", print_frames, 12),
                           ("crcursor_pdf", pdf_frames, 15)):
        frames, hot = fn()
        write(os.path.join(RES, name + ".ani"), ani_file(frames, hot, rate))
    for name, fn in (("glyph_close", glyph_close), ("glyph_details", glyph_details),
                     ("glyph_remove", glyph_remove), ("glyph_reload", glyph_reload), ("glyph_find", glyph_find),
                     ("node_images", node_images)):
        write(os.path.join(RES, name + ".bmp"), bmp24(fn()))
    write(os.path.join(RES, "adresslinks.ico"), icon_file([app_icon(32), app_icon(16)], 1))

    click = wav(11025, 8, click_samples(), True)
    signal = wav(22050, 16, signal_samples(), False)
    assert len(click) == 682 and len(signal) == 53864, (len(click), len(signal))
    write(os.path.join(RES, "wave1_click.wav"), click)
    write(os.path.join(RES, "wave2_signal.wav"), signal)
    src = ("// Generated by tools/resgen/make_resources.py from app/res/wave1_click.wav and\n"
           "// app/res/wave2_signal.wav; do not edit.\n"
           "#include \"ui/wave_clips.h\"\n\nnamespace zs {\n\n" +
           c_array("kWave1Clip", click) + "\n" + c_array("kWave2Clip", signal) + "\n}  // namespace zs\n")
    write(os.path.join(ROOT, "ui", "wave_clips.cpp"), src.encode("ascii"))


if __name__ == "__main__":
    main()
