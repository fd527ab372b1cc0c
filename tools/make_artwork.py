#!/usr/bin/env python3
"""Draws the setup wizard's pictures and writes them as Windows resource files.

Usage: make_artwork.py --out DIR

Not part of the build: the pictures it draws are committed under res/ (welcome.bmp, header.bmp,
setup.ico), where the resource scripts name them. Run it by hand to redraw them:
    python3 tools/make_artwork.py --out res

Writes into DIR:
  welcome.bmp  164 x 314, the picture on the left of the welcome page
  header.bmp   53 x 53, the icon at the right end of the white header band
  setup.ico    32 x 32 and 16 x 16, the application's icon

Shapes are signed distance functions, so every edge is anti-aliased at the picture's own size
and the small icons can be laid out on whole pixels. Each picture is reduced to at most 256
colours by a median cut and stored at 8 bits per pixel, which every Windows from 2000 on shows.
Nothing depends on the clock or on chance: the same script always writes the same bytes.
"""
import argparse
import math
import os
import struct
import sys
from collections import namedtuple

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# The printer's colours: a dark slate body, a teal accent that matches the welcome panel.
BODY_TOP = (84, 99, 118)
BODY_BOTTOM = (44, 54, 68)
LID_TOP = (104, 121, 141)
LID_BOTTOM = (76, 91, 110)
RIM = (146, 162, 181)
SEAM = (30, 37, 47)
SLOT = (14, 18, 24)
FOOT = (26, 31, 39)
BUTTON = (108, 124, 144)
LED = (64, 230, 196)
PAPER_TOP = (255, 255, 255)
PAPER_BOTTOM = (226, 231, 236)
PAPER_EDGE = (120, 134, 150)
PAPER_SHADE = (150, 160, 172)
INK = (92, 104, 120)
INK_STRONG = (44, 54, 68)


# ---------------------------------------------------------------------------------------------
# Shapes: a signed distance in pixels (negative inside) and the box outside which it is empty.

class Shape:
    def __init__(self, distance, box):
        self.distance, self.box = distance, box

    def __and__(self, other):
        a, b = self.distance, other.distance
        box = (max(self.box[0], other.box[0]), max(self.box[1], other.box[1]),
               min(self.box[2], other.box[2]), min(self.box[3], other.box[3]))
        return Shape(lambda x, y: max(a(x, y), b(x, y)), box)

    def moved(self, dx, dy):
        d = self.distance
        x0, y0, x1, y1 = self.box
        return Shape(lambda x, y: d(x - dx, y - dy), (x0 + dx, y0 + dy, x1 + dx, y1 + dy))


def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def distance(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r
    return Shape(distance, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry):
    # Not an exact distance away from the outline, but exact on it, which is all the edge needs.
    scale = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * scale,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def above(y_limit):
    """Everything above the line y = y_limit, to cut shapes in two."""
    return Shape(lambda x, y: y - y_limit, (-1e9, -1e9, 1e9, y_limit))


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def distance(x, y):
        nearest, inside = float("inf"), False
        for (ax, ay), (bx, by) in edges:
            ex, ey, wx, wy = bx - ax, by - ay, x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            nearest = min(nearest, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        return -nearest if inside else nearest
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape(distance, (min(xs), min(ys), max(xs), max(ys)))


# ---------------------------------------------------------------------------------------------
# Paints: a colour or a function of the pixel centre that gives one.

def mix(c0, c1, t):
    t = max(0.0, min(1.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def gradient(p0, c0, p1, c1):
    """A linear gradient from colour c0 at point p0 to c1 at p1."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    length2 = dx * dx + dy * dy
    return lambda x, y: mix(c0, c1, ((x - p0[0]) * dx + (y - p0[1]) * dy) / length2)


def vertical(y0, c0, y1, c1):
    return gradient((0, y0), c0, (0, y1), c1)


class Canvas:
    """Straight (not premultiplied) RGB in 0..255 with a coverage alpha in 0..1."""

    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        self.rgb = [background or BLACK] * (width * height)
        self.alpha = [1.0 if background else 0.0] * (width * height)

    def paint(self, shape, paint, opacity=1.0, blur=0.0):
        """Lays paint over the canvas where the shape is; blur softens its edge over that width."""
        colour_at = paint if callable(paint) else (lambda x, y: paint)
        margin = blur + 1
        x0, y0, x1, y1 = shape.box
        rows = range(max(0, math.floor(y0 - margin)), min(self.height, math.ceil(y1 + margin)))
        columns = range(max(0, math.floor(x0 - margin)), min(self.width, math.ceil(x1 + margin)))
        for py in rows:
            for px in columns:
                x, y = px + 0.5, py + 0.5
                cover = coverage(shape.distance(x, y), blur) * opacity
                if cover > 0:
                    self.blend(py * self.width + px, colour_at(x, y), cover)

    def blend(self, i, colour, a):
        under = self.alpha[i] * (1 - a)
        total = a + under
        self.rgb[i] = tuple((c * a + d * under) / total for c, d in zip(colour, self.rgb[i]))
        self.alpha[i] = total

    def fill(self, paint):
        self.paint(rounded_rect(0, 0, self.width, self.height, 0), paint)

    def pixels(self):
        return [tuple(min(255, max(0, round(c))) for c in rgb) for rgb in self.rgb]


def coverage(distance, blur):
    if blur <= 0:
        return max(0.0, min(1.0, 0.5 - distance))
    t = max(0.0, min(1.0, 0.5 - distance / (2 * blur)))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------------------------------------
# The printer. Its geometry is in its own units; a Frame places it on a canvas.

Printer = namedtuple("Printer", [
    "body", "radius", "split", "slot", "slot_radius", "paper", "tooth", "outline",
    "lines", "barcode", "led", "button", "feet", "detail"])
# body, slot, paper, led, button: (x0, y0, x1, y1); the paper's bottom ends inside the slot.
# tooth: the width of one tooth of the torn top edge. outline: the width of a darker edge
# round the paper, which small icons need on light desktops (0 for none).
# lines: printed lines as (x0, x1, y, thickness, strong); barcode: (x0, y0, y1) or None.
# detail: the shadow, the LED's glow, rounded print and the slot's shading, which only the
# larger pictures have room for.

RECEIPT_LINES = [
    (30, 70, -18, 3.6, True),
    (26, 64, -10, 2.2, False),
    (26, 56, -4, 2.2, False),
    (26, 60, 4, 2.2, False), (66, 74, 4, 2.2, False),
    (26, 52, 10, 2.2, False), (66, 74, 10, 2.2, False),
    (26, 58, 16, 2.2, False), (66, 74, 16, 2.2, False),
    (26, 74, 23, 1.0, False),
    (26, 44, 29, 3.2, True), (60, 74, 29, 3.2, True),
]

# Widths of the barcode's bars and the gaps between them, in turn, in printer units.
BARCODE = [1.4, 1, 0.7, 1, 2.1, 0.7, 0.7, 1.4, 1.4, 0.7, 0.7, 1, 2.1, 1, 0.7, 0.7,
           1.4, 1.4, 0.7, 1, 2.1, 0.7, 0.7, 1.4, 0.7, 1, 1.4, 0.7, 2.1, 1, 0.7]

WELCOME_PRINTER = Printer(
    body=(0, 46, 100, 100), radius=9, split=68, slot=(12, 51, 88, 58), slot_radius=3.5,
    paper=(20, -34, 80, 54.5), tooth=6, outline=0, lines=RECEIPT_LINES, barcode=(34, 35, 44),
    led=(82.4, 79.4, 87.6, 84.6), button=(66, 79, 77, 85), feet=True, detail=True)

# The header's and the icon's printers are laid out on whole pixels so their edges stay sharp.
HEADER_PRINTER = Printer(
    body=(5, 27, 48, 46), radius=4, split=36, slot=(10, 29, 43, 32), slot_radius=1.5,
    paper=(14, 5, 39, 30.5), tooth=3.125, outline=0,
    lines=[(19, 34, 11, 2, True), (17, 32, 15.5, 1, False), (17, 29, 18.5, 1, False),
           (17, 30, 21.5, 1, False), (33, 36, 21.5, 1, False),
           (17, 24, 25, 2, True), (30, 36, 25, 2, True)],
    barcode=None, led=(41, 39, 43, 41), button=(35, 39, 39, 41), feet=True, detail=True)

ICON_PRINTER = Printer(
    body=(1, 15, 31, 30), radius=3, split=22, slot=(5, 16, 27, 19), slot_radius=1,
    paper=(7, 1, 25, 17.5), tooth=6, outline=1,
    lines=[(10, 22, 7.5, 1, False), (10, 19, 10.5, 1, False), (10, 22, 13.5, 1, False)],
    barcode=None, led=(24, 25, 26, 27), button=None, feet=False, detail=False)

# At 16 x 16 pixels every pixel is placed by hand.
ICON16_PIXELS = [
    "................",
    "...oooooooooo...",
    "...owwwwwwwwo...",
    "...owiiiiiiwo...",
    "...owwwwwwwwo...",
    "...owiiiiwwwo...",
    "...owwwwwwwwo...",
    ".rrowwwwwwwworr.",
    "llsppppppppppsll",
    "llssssssssssssll",
    "llllllllllllllll",
    "kkkkkkkkkkkkkkkk",
    "bbbbbbbbbbbbggbb",
    "mmmmmmmmmmmmmmmm",
    ".dddddddddddddd.",
    "................",
]
ICON16_COLOURS = {
    "o": PAPER_EDGE, "w": PAPER_TOP, "p": PAPER_BOTTOM, "i": INK, "r": RIM, "l": LID_BOTTOM,
    "s": SLOT, "k": SEAM, "b": BODY_TOP, "m": mix(BODY_TOP, BODY_BOTTOM, 0.5), "d": BODY_BOTTOM,
    "g": LED,
}


class Frame:
    """Maps printer units to canvas pixels: x' = left + scale * x, likewise for y."""

    def __init__(self, left, top, scale):
        self.left, self.top, self.scale = left, top, scale

    def point(self, x, y):
        return self.left + self.scale * x, self.top + self.scale * y

    def y(self, y):
        return self.top + self.scale * y

    def rect(self, x0, y0, x1, y1, r=0.0):
        (a, b), (c, d) = self.point(x0, y0), self.point(x1, y1)
        return rounded_rect(a, b, c, d, r * self.scale)

    def ellipse(self, cx, cy, rx, ry):
        x, y = self.point(cx, cy)
        return ellipse(x, y, rx * self.scale, ry * self.scale)

    def polygon(self, points):
        return polygon([self.point(x, y) for x, y in points])


def draw_printer(canvas, p, frame):
    if p.detail:
        draw_shadow(canvas, p, frame)
    if p.feet:
        draw_feet(canvas, p, frame)
    draw_body(canvas, p, frame)
    draw_slot(canvas, p, frame)
    draw_paper(canvas, p, frame)
    draw_print(canvas, p, frame)
    draw_controls(canvas, p, frame)


def draw_shadow(canvas, p, frame):
    x0, _, x1, y1 = p.body
    shape = frame.ellipse((x0 + x1) / 2, y1 + 0.03 * (x1 - x0), (x1 - x0) * 0.52, 0.05 * (x1 - x0))
    canvas.paint(shape, BLACK, opacity=0.35, blur=0.03 * (x1 - x0) * frame.scale)


def draw_feet(canvas, p, frame):
    x0, _, x1, y1 = p.body
    width, drop = (x1 - x0) * 0.14, (x1 - x0) * 0.03
    for left in (x0 + width * 0.6, x1 - width * 1.6):
        canvas.paint(frame.rect(left, y1 - 2 * drop, left + width, y1 + drop, drop / 2), FOOT)


def draw_body(canvas, p, frame):
    x0, y0, x1, y1 = p.body
    body = frame.rect(x0, y0, x1, y1, p.radius)
    # A light rim along the top edge: the body, then all of it but the rim's width on top.
    canvas.paint(body, RIM)
    inner = body & body.moved(0, max(1.0, frame.scale))
    canvas.paint(inner, vertical(frame.y(p.split), BODY_TOP, frame.y(y1), BODY_BOTTOM))
    canvas.paint(inner & above(frame.y(p.split)),
                 vertical(frame.y(y0), LID_TOP, frame.y(p.split), LID_BOTTOM))
    # The seam between lid and base; on larger pictures, a lighter lip below it.
    seam = frame.y(p.split)
    canvas.paint(body & band(canvas, seam - 0.5, 1), SEAM)
    if p.detail:
        canvas.paint(body & band(canvas, seam + 0.5, 1), RIM, opacity=0.35)


def draw_slot(canvas, p, frame):
    x0, y0, x1, y1 = p.slot
    canvas.paint(frame.rect(x0, y0, x1, y1, p.slot_radius), SLOT)
    if p.detail:
        # The tear bar's bright edge along the slot's lower lip.
        lip = frame.rect(x0 + p.slot_radius, y1, x1 - p.slot_radius, y1 + 1 / frame.scale)
        canvas.paint(lip, RIM, opacity=0.6)


def band(canvas, top, height):
    """A horizontal strip across the whole canvas, to cut lines out of other shapes."""
    return rounded_rect(0, top, canvas.width, top + height, 0)


def draw_paper(canvas, p, frame):
    x0, y0, x1, y1 = p.paper
    sheet = frame.polygon(torn_outline(x0, y0, x1, y1, p.tooth))
    if p.detail:
        # A faint shadow down and to the right lifts the sheet off what is behind it.
        lift = 0.02 * (x1 - x0) * frame.scale
        canvas.paint(sheet.moved(lift, lift) & above(frame.y(p.slot[1])), BLACK,
                     opacity=0.18, blur=lift)
    if p.outline:
        canvas.paint(sheet, PAPER_EDGE)
        # The white is the sheet moved down and narrowed by the edge's width, which keeps the
        # teeth's diagonal edges thin and no edge at the bottom, where the sheet enters the slot.
        narrowed = frame.rect(x0 + p.outline, y0, x1 - p.outline, y1)
        sheet = sheet.moved(0, p.outline * frame.scale) & narrowed
    canvas.paint(sheet, vertical(frame.y(y0), PAPER_TOP, frame.y(y1), PAPER_BOTTOM))
    if p.detail:
        # The sheet darkens where it goes into the slot.
        top = p.slot[1] - (p.slot[3] - p.slot[1]) * 1.5
        canvas.paint(sheet & frame.rect(x0, top, x1, y1),
                     vertical(frame.y(top), PAPER_BOTTOM, frame.y(y1), PAPER_SHADE), opacity=0.6)


def torn_outline(x0, y0, x1, y1, tooth):
    """The receipt's outline, its top edge torn into a zigzag of teeth about tooth wide."""
    count = max(1, round((x1 - x0) / tooth))
    step = (x1 - x0) / count
    points = [(x1, y1), (x0, y1), (x0, y0 + step / 2)]
    for i in range(count):
        points += [(x0 + (i + 0.5) * step, y0), (x0 + (i + 1) * step, y0 + step / 2)]
    return points


def draw_print(canvas, p, frame):
    for x0, x1, y, thickness, strong in p.lines:
        r = thickness / 2 if p.detail else 0
        canvas.paint(frame.rect(x0, y - thickness / 2, x1, y + thickness / 2, r),
                     INK_STRONG if strong else INK)
    if p.barcode:
        x, top, bottom = p.barcode
        for i, width in enumerate(BARCODE):
            if i % 2 == 0:
                canvas.paint(frame.rect(x, top, x + width, bottom), INK_STRONG)
            x += width


def draw_controls(canvas, p, frame):
    if p.button:
        x0, y0, x1, y1 = p.button
        canvas.paint(frame.rect(x0, y0, x1, y1, (y1 - y0) / 2), BUTTON)
    x0, y0, x1, y1 = p.led
    round_led = (x1 - x0) / 2 if p.detail else 0
    if p.detail:
        glow = frame.ellipse((x0 + x1) / 2, (y0 + y1) / 2, x1 - x0, y1 - y0)
        canvas.paint(glow, LED, opacity=0.3, blur=(x1 - x0) / 2 * frame.scale)
    canvas.paint(frame.rect(x0, y0, x1, y1, round_led), LED)


def pixel_art(rows, colours):
    """A canvas from rows of letters, each a colour from colours; any other letter is clear."""
    canvas = Canvas(len(rows[0]), len(rows))
    for y, row in enumerate(rows):
        for x, letter in enumerate(row):
            if letter in colours:
                canvas.blend(y * canvas.width + x, colours[letter], 1.0)
    return canvas


# ---------------------------------------------------------------------------------------------
# The three pictures.

PANEL_TOP = (10, 36, 84)
PANEL_MIDDLE = (14, 78, 122)
PANEL_BOTTOM = (16, 124, 128)

def welcome():
    canvas = Canvas(164, 314, PANEL_TOP)
    canvas.fill(panel_gradient)
    draw_soft_shapes(canvas)
    draw_printer(canvas, WELCOME_PRINTER, Frame(left=21, top=134, scale=1.22))
    return canvas


def panel_gradient(x, y):
    # Deep blue at the top through to teal at the bottom, turning slightly across the width.
    # No dither: the picture control squeezes the bitmap inside its border by dropping rows and
    # columns, which turns any fine pattern into visible lines.
    t = (y + (x - 82) * 0.25) / 314
    if t < 0.5:
        base = mix(PANEL_TOP, PANEL_MIDDLE, t * 2)
    else:
        base = mix(PANEL_MIDDLE, PANEL_BOTTOM, t * 2 - 1)
    return base


def draw_soft_shapes(canvas):
    """Large pale circles and a glow behind the printer: depth that does not draw the eye."""
    canvas.paint(ellipse(150, 40, 95, 95), WHITE, opacity=0.05)
    canvas.paint(ellipse(-10, 120, 70, 70), WHITE, opacity=0.04)
    canvas.paint(ellipse(120, 330, 120, 120), (40, 200, 190), opacity=0.08)
    canvas.paint(ellipse(82, 190, 80, 80), (120, 220, 230), opacity=0.12, blur=40)


def header():
    canvas = Canvas(53, 53, WHITE)
    # A pale disc sets the printer off the band; it stays clear of the edge so the border is white.
    canvas.paint(ellipse(26.5, 24, 22, 22), vertical(2, (234, 245, 248), 46, (204, 227, 234)))
    draw_printer(canvas, HEADER_PRINTER, Frame(0, 0, 1))
    return canvas


def icons():
    large = Canvas(32, 32)
    draw_printer(large, ICON_PRINTER, Frame(0, 0, 1))
    return [large, pixel_art(ICON16_PIXELS, ICON16_COLOURS)]


# ---------------------------------------------------------------------------------------------
# Palette reduction.

def median_cut(histogram, count):
    """Splits the colours into at most count boxes; returns the palette and colour -> index.

    histogram is a sorted list of (colour, pixels). The box to split next is the one whose
    widest channel, weighted by the square root of its pixels, is largest, so large smooth
    areas and small bright details both get colours. Ties go to the earlier box."""
    boxes = [histogram] if histogram else []
    while len(boxes) < count:
        best, score = None, 0.0
        for i, box in enumerate(boxes):
            s = spread(box)[1] * math.sqrt(sum(n for _, n in box))
            if len(box) > 1 and s > score:
                best, score = i, s
        if best is None:
            break
        boxes[best:best + 1] = split(boxes[best])
    palette, lookup = [], {}
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[k] * n for c, n in box) / total) for k in range(3)))
        for colour, _ in box:
            lookup[colour] = len(palette) - 1
    return palette, lookup


def spread(box):
    """The channel with the widest range in the box, and that range."""
    ranges = [max(c[k] for c, _ in box) - min(c[k] for c, _ in box) for k in range(3)]
    widest = max(range(3), key=lambda k: (ranges[k], -k))
    return widest, ranges[widest]


def split(box):
    channel = spread(box)[0]
    ordered = sorted(box, key=lambda item: (item[0][channel], item[0]))
    half, running = sum(n for _, n in ordered) / 2, 0
    for cut, (_, n) in enumerate(ordered[:-1], 1):
        running += n
        if running >= half:
            break
    return [ordered[:cut], ordered[cut:]]


def quantize(pixels, reserved=()):
    """Gives (palette, indices). Reserved colours keep exact entries of their own, first."""
    counts = {}
    for colour in pixels:
        if colour not in reserved:
            counts[colour] = counts.get(colour, 0) + 1
    palette, lookup = median_cut(sorted(counts.items()), 256 - len(reserved))
    palette = list(reserved) + palette
    lookup = {colour: i + len(reserved) for colour, i in lookup.items()}
    lookup.update({colour: i for i, colour in enumerate(reserved)})
    return palette, [lookup[colour] for colour in pixels]


# ---------------------------------------------------------------------------------------------
# Windows file formats. Rows are stored bottom-up and padded to 4 bytes.

def info_header(width, height, image_size, colours, pixels_per_metre=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, image_size,
                       pixels_per_metre, pixels_per_metre, colours, 0)


def palette_bytes(palette):
    return b"".join(bytes((b, g, r, 0)) for r, g, b in palette)


def stride(bits):
    return (bits + 31) // 32 * 4


def pixel_rows(width, height, indices):
    pad = bytes(stride(width * 8) - width)
    return b"".join(bytes(indices[y * width:(y + 1) * width]) + pad
                    for y in reversed(range(height)))


def mask_rows(width, height, opaque):
    """The AND mask: a set bit lets the screen show through."""
    rows = []
    for y in reversed(range(height)):
        bits = 0
        for x in range(width):
            bits = bits << 1 | (0 if opaque[y * width + x] else 1)
        rows.append((bits << (stride(width) * 8 - width)).to_bytes(stride(width), "big"))
    return b"".join(rows)


def bmp_file(canvas, reserved=()):
    palette, indices = quantize(canvas.pixels(), reserved)
    data = pixel_rows(canvas.width, canvas.height, indices)
    offset = 14 + 40 + 4 * len(palette)
    return (struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
            + info_header(canvas.width, canvas.height, len(data), len(palette), 3780)
            + palette_bytes(palette) + data)


def icon_image(canvas):
    """One icon image: header of twice the height, full palette, colour rows, AND mask.

    Transparent pixels are black in the colour rows, so that the XOR over the masked screen
    leaves it unchanged on systems that draw icons with the two masks."""
    opaque = [a >= 0.5 for a in canvas.alpha]
    pixels = [c if o else BLACK for c, o in zip(canvas.pixels(), opaque)]
    palette, indices = quantize(pixels, reserved=(BLACK,))
    palette += [BLACK] * (256 - len(palette))
    w, h = canvas.width, canvas.height
    colour, mask = pixel_rows(w, h, indices), mask_rows(w, h, opaque)
    return (info_header(w, 2 * h, len(colour) + len(mask), 0)
            + palette_bytes(palette) + colour + mask)


def ico_file(canvases):
    images = [icon_image(c) for c in canvases]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        directory += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0,
                                 1, 8, len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


# ---------------------------------------------------------------------------------------------

def build():
    """The files to write, by name."""
    return [
        ("welcome.bmp", bmp_file(welcome())),
        ("header.bmp", bmp_file(header(), reserved=(WHITE,))),
        ("setup.ico", ico_file(icons())),
    ]


def main(argv):
    parser = argparse.ArgumentParser(description="Draws the setup wizard's pictures.")
    parser.add_argument("--out", required=True, help="folder to write the pictures into")
    args = parser.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    for name, data in build():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
