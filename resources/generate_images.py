#!/usr/bin/env python3
"""Draws the plug-in's artwork: button skins, icons, knob, slider thumb, the
panel texture and the logo, into resources/images/.

Usage: generate_images.py [output-folder]

Needs Python 3 with Pillow and NumPy (Debian: python3-pil, python3-numpy) and
the fetched font resources/font/spartan-all-500-normal.woff (scripts/fetch-font)
for the letters and the product name. The output is committed; run this again
only to change the artwork.

Every shape is drawn from a signed distance (negative inside, in pixels), which
gives clean anti-aliased edges, rims and glows without supersampling. The PNGs
are written as 8-bit palette images with a transparency chunk, the logo as
8-bit RGBA, the panel texture as a baseline JPEG.

The window draws the skins and icons at a tenth to a twentieth of their size,
and the framework's high resampling quality takes a four-pixel (bilinear)
average there without filtering first: an edge that turns from outside to
inside within one image pixel comes out stair-stepped, and a stroke narrower
than a couple of window pixels breaks up. So every stroke, rim and letter is
at least about two window pixels wide in the smallest window, and the edges of
skins and icons are smoothed over about one window pixel of the smallest
window already here (the EDGE widths below), which the average then only
thins; the largest window still sees edges under two pixels soft.
"""

import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_PATH = os.path.join(HERE, "font", "spartan-all-500-normal.woff")

# Colours of the plug-in's palette that the artwork picks up.
ORANGE = (0xEC, 0xA0, 0x19)
ORANGE_LIGHT = (0xF6, 0xC0, 0x5A)
ORANGE_DARK = (0x8E, 0x5F, 0x23)
GREY_WHITE = (0xD2, 0xD3, 0xD3)
BLACK = (0x28, 0x29, 0x29)
BLACK_ULTRA = (0x19, 0x1A, 0x1A)
BLUE = (0x89, 0x94, 0xEC)

# Widths, in image pixels, over which the edges of skins and icons turn from
# outside to inside: about 0.7 of the image pixels that one window pixel covers
# where the smallest window draws the image (the square skin behind the A and
# B buttons, the 2:1 skin of the text buttons, the icons at 40 % of theirs).
EDGE_SKIN = 4.0
EDGE_LETTER = 11.0
EDGE_BLIND_TEST = 13.0
EDGE_POWER = 6.0


#==============================================================================
# Layers: float RGBA, premultiplied, composited front to back with "over".

class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.rgb = np.zeros((height, width, 3), np.float64)
        self.alpha = np.zeros((height, width), np.float64)

    def paint(self, colour, coverage):
        """Paints colour (an RGB triple, or an H x W x 3 array, 0..255) where
        coverage (H x W, 0..1) says, over what is already there."""
        colour = np.asarray(colour, np.float64) / 255.0
        coverage = np.clip(coverage, 0.0, 1.0)

        if colour.ndim == 1:
            colour = colour[None, None, :]

        self.rgb = colour * coverage[..., None] + self.rgb * (1.0 - coverage[..., None])
        self.alpha = coverage + self.alpha * (1.0 - coverage)

    def image(self):
        safe = np.where(self.alpha > 1.0e-6, self.alpha, 1.0)
        straight = np.clip(self.rgb / safe[..., None], 0.0, 1.0)
        rgba = np.dstack([straight, self.alpha[..., None]])
        return Image.fromarray(np.round(rgba * 255.0).astype(np.uint8), "RGBA")


def pixel_grid(width, height):
    """Pixel-centre coordinates."""
    y, x = np.mgrid[0:height, 0:width].astype(np.float64)
    return x + 0.5, y + 0.5


def inside(distance, edge=1.0):
    """Anti-aliased coverage of a shape from its signed distance, its edge
    ramped over edge pixels."""
    return np.clip(0.5 - distance / edge, 0.0, 1.0)


def glow(distance, reach, strength):
    """A soft light that falls off outside a shape."""
    return strength * np.exp(-np.maximum(distance, 0.0) / reach)


def vertical_gradient(height, width, top, bottom, start=0.0, end=1.0):
    t = (np.arange(height, dtype=np.float64) + 0.5) / height
    t = np.clip((t - start) / (end - start), 0.0, 1.0)[:, None, None]
    top = np.asarray(top, np.float64)
    bottom = np.asarray(bottom, np.float64)
    column = top * (1.0 - t) + bottom * t
    return np.broadcast_to(column, (height, width, 3))


#==============================================================================
# Signed distances.

def circle(x, y, cx, cy, radius):
    return np.hypot(x - cx, y - cy) - radius


def capsule(x, y, x0, x1, cy, radius):
    """A horizontal pill whose round ends are centred at x0 and x1. Between x0
    and x1 the distance depends on y alone, so any column of that stretch looks
    like any other: the three-slice skins rely on it."""
    dx = np.maximum(np.maximum(x0 - x, x - x1), 0.0)
    return np.hypot(dx, y - cy) - radius


def segment(x, y, ax, ay, bx, by, thickness):
    px, py = x - ax, y - ay
    vx, vy = bx - ax, by - ay
    t = np.clip((px * vx + py * vy) / (vx * vx + vy * vy), 0.0, 1.0)
    return np.hypot(px - t * vx, py - t * vy) - 0.5 * thickness


def arc(x, y, cx, cy, radius, thickness, gap_degrees):
    """A ring open at the top by gap_degrees, with round ends."""
    angle_from_top = np.degrees(np.abs(np.arctan2(x - cx, -(y - cy))))
    ring = np.abs(np.hypot(x - cx, y - cy) - radius) - 0.5 * thickness
    half_gap = np.radians(0.5 * gap_degrees)
    ends = np.minimum(
        np.hypot(x - (cx + radius * np.sin(half_gap)), y - (cy - radius * np.cos(half_gap))),
        np.hypot(x - (cx - radius * np.sin(half_gap)), y - (cy - radius * np.cos(half_gap)))) - 0.5 * thickness
    return np.where(angle_from_top >= 0.5 * gap_degrees, ring, ends)


def lens(x, y, cx, cy, half_width, half_height):
    """An eye outline: the intersection of two circles through the corners."""
    radius = (half_width ** 2 + half_height ** 2) / (2.0 * half_height)
    upper = circle(x, y, cx, cy + radius - half_height, radius)
    lower = circle(x, y, cx, cy - radius + half_height, radius)
    return np.maximum(upper, lower)


def shifted(distance_function, dx, dy):
    return lambda x, y: distance_function(x - dx, y - dy)


#==============================================================================
# Button skins: dark bodies with a bevel; the "on" look is pressed in, with a
# warm orange rim and glow. The rim is 6 % of the skin's height: about three
# window pixels round the A and B buttons and two round the text buttons in
# the smallest window.

def draw_skin(width, height, shape, on, sheen=False):
    x, y = pixel_grid(width, height)
    canvas = Canvas(width, height)
    d = shape(x, y)
    rim = 0.06 * height
    body = d + rim

    def covered(distance):
        return inside(distance, EDGE_SKIN)

    if on:
        canvas.paint(ORANGE, glow(d, 0.035 * height, 0.55))
        canvas.paint(ORANGE, covered(d))
        canvas.paint(ORANGE_DARK, covered(d + 0.6 * rim))
        canvas.paint(vertical_gradient(height, width, (0x2C, 0x28, 0x24), (0x3A, 0x33, 0x2B)), covered(body))
        # pressed in: a shadow under the top edge, warm light along the inside of the rim
        top_shadow = covered(body) * (1.0 - covered(shifted(shape, 0, 0.05 * height)(x, y) + rim))
        canvas.paint((0, 0, 0), 0.45 * top_shadow)
        canvas.paint(ORANGE, 0.35 * np.exp(np.minimum(body, 0.0) / (0.06 * height)) * covered(body))
    else:
        canvas.paint((0, 0, 0), glow(shifted(shape, 0, 0.02 * height)(x, y), 0.03 * height, 0.5))
        canvas.paint(BLACK_ULTRA, covered(d))
        canvas.paint(vertical_gradient(height, width, (0x58, 0x59, 0x5A), (0x2A, 0x2B, 0x2B)), covered(body))
        # raised: light along the top edge, shade along the bottom edge
        top_light = covered(body) * (1.0 - covered(shifted(shape, 0, 0.04 * height)(x, y) + rim))
        bottom_shade = covered(body) * (1.0 - covered(shifted(shape, 0, -0.04 * height)(x, y) + rim))
        canvas.paint((255, 255, 255), 0.22 * top_light)
        canvas.paint((0, 0, 0), 0.3 * bottom_shade)

    if sheen:
        # a soft reflection across the upper half; only for skins that are never sliced
        ellipse = np.hypot((x - 0.5 * width) / (0.36 * width), (y - 0.18 * height) / (0.2 * height))
        canvas.paint((255, 255, 255), 0.07 * np.clip(1.0 - ellipse, 0.0, 1.0) * covered(body))

    return canvas.image()


def pill_shape(width, height):
    margin = 0.06 * height
    radius = 0.5 * height - margin
    return lambda x, y: capsule(x, y, margin + radius, width - margin - radius, 0.5 * height, radius)


def round_shape(size):
    return lambda x, y: circle(x, y, 0.5 * size, 0.5 * size, 0.43 * size)


#==============================================================================
# Icons: light grey when off, orange with a glow when on.

def icon_from_coverage(coverage, on):
    height, width = coverage.shape
    canvas = Canvas(width, height)
    mask = Image.fromarray(np.round(coverage * 255.0).astype(np.uint8), "L")

    def blurred(radius, dy=0):
        shifted_mask = Image.new("L", mask.size, 0)
        shifted_mask.paste(mask, (0, int(round(dy))))
        return np.asarray(shifted_mask.filter(ImageFilter.GaussianBlur(radius)), np.float64) / 255.0

    if on:
        canvas.paint(ORANGE, 0.9 * blurred(0.05 * width))
        canvas.paint(ORANGE, coverage)
        canvas.paint(ORANGE_LIGHT, coverage * vertical_gradient(height, width, (1, 1, 1), (0, 0, 0), 0.2, 0.6)[..., 0])
    else:
        canvas.paint((0, 0, 0), 0.7 * blurred(0.02 * width, 0.02 * height))
        canvas.paint(GREY_WHITE, coverage)

    return canvas.image()


def letter_coverage(letter, size):
    """The letter in the product's font, centred, its cap height about 60 % of
    the image, drawn four times larger and reduced for smooth edges, then
    softened so that its edges ramp over about EDGE_LETTER pixels."""
    scale = 4
    big = size * scale
    font = ImageFont.truetype(FONT_PATH, int(0.78 * big))
    stroke = int(0.03 * big)
    mask = Image.new("L", (big, big), 0)
    draw = ImageDraw.Draw(mask)
    left, top, right, bottom = draw.textbbox((0, 0), letter, font=font, stroke_width=stroke)
    origin = (0.5 * (big - (right - left)) - left, 0.5 * (big - (bottom - top)) - top)
    draw.text(origin, letter, font=font, fill=255, stroke_width=stroke, stroke_fill=255)
    # A Gaussian of this radius rises from 10 % to 90 % over about 0.8 of the
    # edge width, as the linear ramp of inside() does.
    mask = mask.filter(ImageFilter.GaussianBlur(0.31 * EDGE_LETTER * scale))
    mask = mask.resize((size, size), Image.BOX)
    return np.asarray(mask, np.float64) / 255.0


def power_coverage(size):
    """Its strokes are 16 % of the image: under two window pixels only in the
    smallest window, where the whole icon is eleven pixels wide and the gaps
    beside the bar need the rest."""
    x, y = pixel_grid(size, size)
    c = 0.5 * size
    thickness = 0.16 * size
    ring = arc(x, y, c, c + 0.05 * size, 0.3 * size, thickness, 100.0)
    bar = segment(x, y, c, 0.14 * size, c, 0.47 * size, thickness)
    return inside(np.minimum(ring, bar), EDGE_POWER)


def blind_test_coverage(size):
    """An eye struck through: the source is hidden from the listener. Its
    outline and stroke are 8 % of the image, two window pixels in the smallest
    window."""
    x, y = pixel_grid(size, size)
    c = 0.5 * size
    outline = np.abs(lens(x, y, c, c, 0.42 * size, 0.24 * size)) - 0.04 * size
    pupil = circle(x, y, c, c, 0.11 * size)
    eye = np.minimum(outline, pupil)
    stroke = segment(x, y, 0.2 * size, 0.8 * size, 0.8 * size, 0.2 * size, 0.08 * size)
    cut = segment(x, y, 0.2 * size, 0.8 * size, 0.8 * size, 0.2 * size, 0.2 * size)
    return inside(np.minimum(np.maximum(eye, -cut), stroke), EDGE_BLIND_TEST)


#==============================================================================
# The rotary knob, its hover image and the linear-slider thumb.

def tick_marks(x, y, c, radius, length, thickness, count=11, sweep=270.0):
    distance = np.full(x.shape, np.inf)

    for i in range(count):
        angle = np.radians(-0.5 * sweep + sweep * i / (count - 1))
        sx, sy = np.sin(angle), -np.cos(angle)
        distance = np.minimum(distance, segment(x, y, c + radius * sx, c + radius * sy,
                                                c + (radius + length) * sx, c + (radius + length) * sy,
                                                thickness))
    return distance


def draw_knob(size, hover):
    """The knob is drawn over (0, -0.1 w, w, w) of a slider area w wide and
    turns about the area's centre, which for a square area lies at 60 % of the
    image's height: the body is centred there."""
    x, y = pixel_grid(size, size)
    canvas = Canvas(size, size)
    c = 0.5 * size
    y = y - 0.1 * size
    body = circle(x, y, c, c, 0.34 * size)
    ticks = tick_marks(x, y, c, 0.39 * size, 0.06 * size, 0.018 * size)

    if hover:
        # drawn over the pointer: a glowing rim and lit ticks, a clear face
        ring = np.abs(circle(x, y, c, c, 0.345 * size)) - 0.012 * size
        canvas.paint(ORANGE, glow(ring, 0.03 * size, 0.6))
        canvas.paint(ORANGE, inside(ring))
        canvas.paint(ORANGE, glow(ticks, 0.012 * size, 0.5))
        canvas.paint(ORANGE_LIGHT, inside(ticks))
        return canvas.image()

    canvas.paint(GREY_WHITE, 0.55 * inside(ticks))
    canvas.paint((0, 0, 0), glow(circle(x, y, c, c + 0.02 * size, 0.34 * size), 0.03 * size, 0.6))
    canvas.paint(BLACK_ULTRA, inside(body))
    canvas.paint(vertical_gradient(size, size, (0x62, 0x63, 0x64), (0x2A, 0x2B, 0x2B), 0.2, 0.8),
                 inside(body + 0.015 * size))
    face = circle(x, y, c, c, 0.28 * size)
    canvas.paint(vertical_gradient(size, size, (0x2E, 0x2F, 0x30), (0x46, 0x47, 0x48), 0.3, 0.7), inside(face))
    canvas.paint((255, 255, 255), 0.12 * inside(np.abs(face) - 0.006 * size) * (y < c))
    return canvas.image()


def draw_thumb(size):
    x, y = pixel_grid(size, size)
    canvas = Canvas(size, size)
    c = 0.5 * size
    cap = circle(x, y, c, c, 0.22 * size)
    canvas.paint((0, 0, 0), glow(circle(x, y, c, c + 0.03 * size, 0.22 * size), 0.04 * size, 0.6))
    canvas.paint(BLACK_ULTRA, inside(cap))
    canvas.paint(vertical_gradient(size, size, (0x6E, 0x6F, 0x70), (0x33, 0x34, 0x34), 0.3, 0.7),
                 inside(cap + 0.02 * size))
    grip = segment(x, y, c - 0.1 * size, c, c + 0.1 * size, c, 0.025 * size)
    canvas.paint(GREY_WHITE, 0.85 * inside(grip))
    return canvas.image()


#==============================================================================
# The panel texture: a fine carbon twill that repeats every 40 pixels, so a
# 200-pixel tile meets its neighbours without a seam.

def draw_tile(size):
    cell = 10
    assert size % (4 * cell) == 0
    x, y = pixel_grid(size, size)
    column = (x // cell).astype(int)
    row = (y // cell).astype(int)
    along_x = ((column - row) % 4) < 2
    across = np.where(along_x, (y % cell) / cell, (x % cell) / cell)
    along = np.where(along_x, (x % (2 * cell)) / (2 * cell), (y % (2 * cell)) / (2 * cell))

    shade = 0.5 + 0.5 * np.sin(np.pi * across) * (0.75 + 0.25 * np.sin(np.pi * along))
    level = 40.0 + 26.0 * shade + np.where(along_x, 4.0, -4.0)

    rng = np.random.default_rng(20241)
    grain = rng.normal(0.0, 3.0, (size, size))
    level = np.clip(level + grain, 0, 255)
    rgb = np.dstack([level, level + 1.0, level + 2.0])
    return Image.fromarray(np.round(np.clip(rgb, 0, 255)).astype(np.uint8), "RGB")


#==============================================================================
# The logo: two overlapping rings for the two sources, and the product name.

def draw_logo(width, height):
    x, y = pixel_grid(width, height)
    canvas = Canvas(width, height)
    cy = 0.5 * height
    radius = 0.3 * height
    thickness = 0.07 * height
    ring_a = np.abs(circle(x, y, 0.19 * height + radius, cy, radius)) - 0.5 * thickness
    ring_b = np.abs(circle(x, y, 0.19 * height + 1.9 * radius, cy, radius)) - 0.5 * thickness
    canvas.paint(ORANGE, inside(ring_a))
    canvas.paint(BLUE, inside(ring_b))

    scale = 4
    name = "QUORVANE"
    text_left = int(0.19 * height + 2.9 * radius + 0.12 * height)
    room = width - text_left - int(0.08 * height)
    font_size = int(0.6 * height) * scale
    tracking = int(0.06 * height) * scale

    while True:
        font = ImageFont.truetype(FONT_PATH, font_size)
        advances = [font.getlength(ch) for ch in name]
        total = sum(advances) + tracking * (len(name) - 1)
        if total <= room * scale:
            break
        font_size -= scale

    mask = Image.new("L", (width * scale, height * scale), 0)
    draw = ImageDraw.Draw(mask)
    stroke = int(0.012 * height * scale)
    _, top, _, bottom = draw.textbbox((0, 0), "Q", font=font, anchor="ls")
    cap_height = -draw.textbbox((0, 0), "O", font=font, anchor="ls")[1]
    baseline = 0.5 * (height * scale + cap_height)
    pen = text_left * scale

    for ch, advance in zip(name, advances):
        draw.text((pen, baseline), ch, font=font, fill=255, anchor="ls", stroke_width=stroke, stroke_fill=255)
        pen += advance + tracking

    text = np.asarray(mask.resize((width, height), Image.BOX), np.float64) / 255.0
    lifted = np.zeros_like(text)
    lifted[2:, :] = text[:-2, :]
    canvas.paint((255, 255, 255), 0.35 * lifted)
    canvas.paint(BLACK_ULTRA, text)
    return canvas.image()


#==============================================================================

def save_indexed(image, path):
    """8-bit palette PNG; the palette carries alpha, which Pillow writes as the
    transparency chunk."""
    image.quantize(256, method=Image.Quantize.LIBIMAGEQUANT, dither=Image.Dither.NONE) \
         .save(path, optimize=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "images")
    os.makedirs(out, exist_ok=True)

    def indexed(name, image):
        save_indexed(image, os.path.join(out, name))

    indexed("knob.png", draw_knob(300, hover=False))
    indexed("knob_hover.png", draw_knob(300, hover=True))
    indexed("slider_thumb.png", draw_thumb(200))

    indexed("skin_2to1.png", draw_skin(400, 200, pill_shape(400, 200), on=False, sheen=True))
    indexed("skin_2to1_on.png", draw_skin(400, 200, pill_shape(400, 200), on=True, sheen=True))
    indexed("skin_square.png", draw_skin(300, 300, round_shape(300), on=False))
    indexed("skin_square_on.png", draw_skin(300, 300, round_shape(300), on=True))
    indexed("skin_wide.png", draw_skin(400, 200, pill_shape(400, 200), on=False))
    indexed("skin_wide_on.png", draw_skin(400, 200, pill_shape(400, 200), on=True))

    indexed("icon_a.png", icon_from_coverage(letter_coverage("A", 300), on=False))
    indexed("icon_a_on.png", icon_from_coverage(letter_coverage("A", 300), on=True))
    indexed("icon_b.png", icon_from_coverage(letter_coverage("B", 300), on=False))
    indexed("icon_b_on.png", icon_from_coverage(letter_coverage("B", 300), on=True))
    indexed("icon_blind_test.png", icon_from_coverage(blind_test_coverage(500), on=False))
    indexed("icon_blind_test_on.png", icon_from_coverage(blind_test_coverage(500), on=True))
    indexed("icon_power.png", icon_from_coverage(power_coverage(100), on=False))
    indexed("icon_power_on.png", icon_from_coverage(power_coverage(100), on=True))

    draw_tile(200).save(os.path.join(out, "panel_tile.jpg"), quality=92, progressive=False, optimize=True)
    draw_logo(1200, 300).save(os.path.join(out, "logo.png"), optimize=True)


if __name__ == "__main__":
    main()
