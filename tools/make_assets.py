#!/usr/bin/python3
"""Draw the cover picture and the application icon and write them to ui/assets/.

Run with Debian's python3 (python3-pil).  The output is deterministic: the
shapes come from fixed numbers and a seeded random generator, so running the
script again gives the same bytes and the committed files only change when
the drawing does.
"""

import argparse
import math
import random
import struct
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter, ImageFont

COVER_SIZE = (209, 116)
ICON_SIDE = 48
TITLE = "砚川谣"
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# Everything is drawn this many times larger and scaled down at the end,
# which gives the soft edges PIL's own primitives lack.
COVER_SCALE = 4
ICON_SCALE = 8


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(round(lerp(x, y, t)) for x, y in zip(c1, c2))


def vertical_gradient(size, stops):
    """An RGB image whose rows blend through (position 0..1, colour) stops."""
    w, h = size
    img = Image.new("RGB", size)
    draw = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(h - 1, 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                draw.line([(0, y), (w, y)], fill=mix(c0, c1, (t - p0) / (p1 - p0)))
                break
    return img


def ridge(width, base_y, amplitude, waves, phase, step, sharp=False):
    """Points along a hill line from left to right, rising from base_y.

    waves holds (crests across the width, share of the amplitude) pairs.
    sharp folds each wave so its crests come to a point, which reads as
    mountains; otherwise the line rolls like low hills.
    """
    pts = []
    for x in range(0, width + step, step):
        y = base_y
        for i, (crests, share) in enumerate(waves):
            angle = math.pi * crests * x / width + phase * (i + 1)
            wave = 1 - abs(math.cos(angle)) if sharp else 0.5 + 0.5 * math.sin(2 * angle)
            y -= amplitude * share * wave
        pts.append((x, y))
    return pts


# --------------------------------------------------------------------------
# Cover
# --------------------------------------------------------------------------

def draw_leaf(draw, cx, cy, length, angle, colour, vein):
    """A pointed leaf: two arcs meeting at the tip and the stalk."""
    ca, sa = math.cos(angle), math.sin(angle)
    pts = []
    n = 10
    for side in (1, -1):
        rng = range(n + 1) if side == 1 else range(n, -1, -1)
        for i in rng:
            t = i / n
            along = (t - 0.5) * length
            across = side * math.sin(t * math.pi) * length * 0.28
            pts.append((cx + along * ca - across * sa, cy + along * sa + across * ca))
    draw.polygon(pts, fill=colour)
    if vein is not None:
        h = length * 0.45
        draw.line([(cx - h * ca, cy - h * sa), (cx + h * ca, cy + h * sa)],
                  fill=vein, width=max(1, round(length / 10)))


def draw_seated_figure(img, s, x, y, robe, robe_dark, sash, collar, hair_style, lean):
    """One figure sitting on the ground, seen from the front.

    (x, y) is the middle of the seat on the ground line, in cover pixels;
    s is the drawing scale.  lean tilts the head towards the other figure.
    """
    d = ImageDraw.Draw(img)
    P = lambda px, py: (round((x + px) * s), round((y + py) * s))

    # The robe spreads on the ground as a wide skirt around the folded legs.
    d.polygon([P(-21, 0), P(-15, -14), P(-9, -19), P(9, -19), P(15, -14), P(21, 0)], fill=robe)
    d.ellipse([P(-23, -4), P(23, 3)], fill=robe_dark)
    d.ellipse([P(-21, -6), P(21, 1)], fill=robe)
    # Folds of the skirt.
    for fx in (-12, -5, 4, 11):
        d.line([P(fx * 0.6, -15), P(fx, -1)], fill=robe_dark, width=max(1, s // 2))

    # Upper body: narrow shoulders widening into long hanging sleeves.
    d.polygon([P(-7, -34), P(7, -34), P(10, -22), P(9, -17), P(-9, -17), P(-10, -22)], fill=robe)
    d.polygon([P(-7, -33), P(-13, -22), P(-15, -10), P(-6, -12), P(-4, -24)], fill=robe_dark)
    d.polygon([P(7, -33), P(13, -22), P(15, -10), P(6, -12), P(4, -24)], fill=robe_dark)
    d.polygon([P(-6, -32), P(-12, -22), P(-13, -11), P(-6, -13), P(-4, -24)], fill=robe)
    d.polygon([P(6, -32), P(12, -22), P(13, -11), P(6, -13), P(4, -24)], fill=robe)
    # Hands folded in the lap, half hidden by the sleeves.
    d.ellipse([P(-5, -15), P(5, -10)], fill=(238, 205, 176))
    d.polygon([P(-13, -12), P(-4, -13), P(-4, -9), P(-13, -9)], fill=robe_dark)
    d.polygon([P(13, -12), P(4, -13), P(4, -9), P(13, -9)], fill=robe_dark)
    # Crossed collar and sash, the marks of the old-style robe.
    d.polygon([P(-4, -34), P(0, -27), P(4, -34), P(2, -34), P(0, -30), P(-2, -34)], fill=collar)
    d.line([P(-4, -34), P(3, -24)], fill=collar, width=max(1, s))
    d.rectangle([P(-9, -21), P(9, -18)], fill=sash)

    # Head, tilted a little by moving it sideways.
    hx, hy = lean, -40
    skin = (242, 212, 184)
    hair = (28, 22, 24)
    d.rectangle([P(hx * 0.5 - 2, -36), P(hx * 0.5 + 2, -33)], fill=skin)  # neck
    d.ellipse([P(hx - 5, hy - 6), P(hx + 5, hy + 6)], fill=skin)
    if hair_style == "topknot":
        d.chord([P(hx - 5.4, hy - 7), P(hx + 5.4, hy + 5)], 180, 360, fill=hair)
        d.ellipse([P(hx - 2.5, hy - 11), P(hx + 2.5, hy - 6)], fill=hair)
        d.rectangle([P(hx - 3, hy - 9), P(hx + 3, hy - 8)], fill=(200, 170, 90))  # crown pin
        d.polygon([P(hx - 5.4, hy - 1), P(hx - 4.5, hy + 5), P(hx - 6, hy + 8), P(hx - 6.5, hy)], fill=hair)
        d.polygon([P(hx + 5.4, hy - 1), P(hx + 4.5, hy + 5), P(hx + 6, hy + 8), P(hx + 6.5, hy)], fill=hair)
    else:
        # Long hair falling over the shoulders, with a bun and a hairpin.
        d.chord([P(hx - 5.6, hy - 7), P(hx + 5.6, hy + 6)], 170, 370, fill=hair)
        d.polygon([P(hx - 5.6, hy - 1), P(hx - 5, hy + 10), P(hx - 9, hy + 20), P(hx - 8, hy + 3)], fill=hair)
        d.polygon([P(hx + 5.6, hy - 1), P(hx + 5, hy + 10), P(hx + 9, hy + 20), P(hx + 8, hy + 3)], fill=hair)
        d.ellipse([P(hx - 1, hy - 12), P(hx + 7, hy - 5)], fill=hair)
        d.line([P(hx + 7, hy - 12), P(hx + 11, hy - 7)], fill=(210, 180, 80), width=max(1, s // 2))
        d.ellipse([P(hx + 9.5, hy - 8.5), P(hx + 11.5, hy - 6.5)], fill=(200, 60, 60))
    # Eyes closed in a calm line, and a hint of colour on the cheeks.
    d.line([P(hx - 3, hy + 1), P(hx - 1, hy + 1)], fill=(60, 40, 40), width=max(1, s // 2))
    d.line([P(hx + 1, hy + 1), P(hx + 3, hy + 1)], fill=(60, 40, 40), width=max(1, s // 2))
    d.ellipse([P(hx - 1, hy + 3.4), P(hx + 1, hy + 4.2)], fill=(200, 110, 110))


def make_cover():
    s = COVER_SCALE
    w, h = COVER_SIZE
    W, H = w * s, h * s
    rnd = random.Random(20240517)

    # Late-afternoon autumn sky, warm near the horizon.
    img = vertical_gradient((W, H), [
        (0.0, (120, 158, 190)),
        (0.35, (186, 200, 206)),
        (0.60, (240, 214, 160)),
        (1.0, (240, 214, 160)),
    ])
    d = ImageDraw.Draw(img)

    # Sun glow behind the hills.
    glow = Image.new("L", (W, H), 0)
    ImageDraw.Draw(glow).ellipse([W * 0.62, H * 0.18, W * 0.86, H * 0.56], fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(18 * s))
    img.paste((255, 236, 190), (0, 0), glow)

    # Distant mountains in layers of ink wash: each layer is darkest at its
    # crests and fades into the mist at its foot.
    for base, amp, crests, top_col, foot_col, phase in [
        (0.60, 0.36, 1.7, (128, 146, 162), (214, 214, 204), 0.4),
        (0.64, 0.24, 2.6, (104, 116, 122), (200, 194, 176), 1.9),
        (0.68, 0.12, 4.1, (96, 98, 88), (184, 170, 130), 2.8),
    ]:
        pts = ridge(W, H * base, H * amp, [(crests, 0.65), (crests * 2.7, 0.25), (crests * 7.3, 0.10)],
                    phase, s, sharp=True)
        mask = Image.new("L", (W, H), 0)
        ImageDraw.Draw(mask).polygon(pts + [(W, H), (0, H)], fill=255)
        top = H * (base - amp)
        wash = vertical_gradient((W, H), [(0.0, top_col), (top / H, top_col), (base, foot_col), (1.0, foot_col)])
        img.paste(wash, (0, 0), mask)

    # A ginkgo tree on the right: trunk, branches and a golden crown.
    trunk = (82, 58, 40)
    d.polygon([(W * 0.905, H * 0.70), (W * 0.94, H * 0.70), (W * 0.93, H * 0.28), (W * 0.915, H * 0.28)], fill=trunk)
    d.line([(W * 0.92, H * 0.45), (W * 0.84, H * 0.30)], fill=trunk, width=2 * s)
    d.line([(W * 0.925, H * 0.38), (W * 0.99, H * 0.25)], fill=trunk, width=2 * s)
    for _ in range(160):
        cx = rnd.gauss(W * 0.91, W * 0.065)
        cy = rnd.gauss(H * 0.26, H * 0.09)
        r = rnd.uniform(3, 7) * s
        col = mix((214, 160, 30), (250, 214, 80), rnd.random())
        d.ellipse([cx - r, cy - r * 0.8, cx + r, cy + r * 0.8], fill=col)

    # Ground carpeted with fallen leaves.
    ground_top = H * 0.66
    ground = ridge(W, ground_top, H * 0.025, [(1.2, 1.0)], 0.5, s)
    d.polygon(ground + [(W, H), (0, H)], fill=(206, 158, 52))
    leaf_cols = [(236, 190, 52), (246, 206, 74), (222, 164, 40), (250, 222, 110),
                 (210, 140, 36), (238, 178, 60), (196, 120, 40)]
    for _ in range(900):
        cx = rnd.uniform(0, W)
        cy = rnd.uniform(ground_top - 2 * s, H + 4 * s)
        depth = (cy - ground_top) / (H - ground_top)
        length = (2.2 + 3.5 * depth) * s * rnd.uniform(0.8, 1.2)
        col = rnd.choice(leaf_cols)
        draw_leaf(d, cx, cy, length, rnd.uniform(0, math.pi), col, mix(col, (150, 100, 30), 0.45))

    # The pair, sitting side by side and leaning together.
    draw_seated_figure(img, s, 112, 96, robe=(70, 96, 120), robe_dark=(46, 66, 88),
                       sash=(150, 60, 50), collar=(236, 232, 220), hair_style="topknot", lean=1.6)
    draw_seated_figure(img, s, 136, 97, robe=(226, 150, 150), robe_dark=(190, 104, 110),
                       sash=(110, 150, 130), collar=(250, 240, 230), hair_style="long", lean=-1.8)

    # A few leaves on the robes and a few still falling.
    d = ImageDraw.Draw(img)
    for cx, cy in [(104, 95), (150, 96), (126, 93), (95, 97), (160, 93)]:
        draw_leaf(d, cx * s, cy * s, 3.6 * s, rnd.uniform(0, math.pi), rnd.choice(leaf_cols), (170, 120, 40))
    for _ in range(16):
        cx = rnd.uniform(W * 0.30, W)
        cy = rnd.uniform(H * 0.08, H * 0.62)
        draw_leaf(d, cx, cy, rnd.uniform(2.6, 4) * s, rnd.uniform(0, math.pi), rnd.choice(leaf_cols[:4]), None)

    img = img.resize(COVER_SIZE, Image.LANCZOS)

    # The title is lettered at the final size so the strokes stay crisp.
    d = ImageDraw.Draw(img)
    font = ImageFont.truetype(CJK_FONT, 22, index=0)
    left, top, right, bottom = d.textbbox((0, 0), TITLE, font=font, stroke_width=2)
    d.text((5 - left, h - 4 - bottom), TITLE, font=font, fill=(252, 246, 232),
           stroke_width=2, stroke_fill=(70, 36, 24))
    return img


def write_cover(img, path):
    # Baseline with 4:2:0 chroma is what the program's decoder is built for;
    # PIL's encoder writes a JFIF 1.01 header with the density given here.
    img.save(path, "JPEG", quality=92, subsampling=2, progressive=False,
             optimize=False, dpi=(72, 72))


# --------------------------------------------------------------------------
# Icon
# --------------------------------------------------------------------------

def make_sword_layer(size):
    """A straight sword, point down, drawn upright on a transparent layer."""
    layer = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    cx = size / 2
    u = size / 48  # one icon pixel

    blade_top, blade_bottom = 19 * u, 45.5 * u
    half = 2.2 * u
    # Blade with a lit and a shaded half either side of the ridge.
    d.polygon([(cx - half, blade_top), (cx, blade_top), (cx, blade_bottom), (cx - half, blade_bottom - 4 * u)],
              fill=(236, 242, 248, 255))
    d.polygon([(cx, blade_top), (cx + half, blade_top), (cx + half, blade_bottom - 4 * u), (cx, blade_bottom)],
              fill=(150, 166, 184, 255))
    d.line([(cx, blade_top + 1 * u), (cx, blade_bottom - 1.5 * u)], fill=(104, 118, 138, 255), width=round(0.6 * u))
    # A dark rim keeps the pale blade apart from the pale sky.
    d.polygon([(cx - half, blade_top), (cx + half, blade_top), (cx + half, blade_bottom - 4 * u),
               (cx, blade_bottom), (cx - half, blade_bottom - 4 * u)], outline=(70, 82, 102, 255), width=round(0.6 * u))
    # Guard.
    d.rounded_rectangle([cx - 6.5 * u, 16.5 * u, cx + 6.5 * u, 19.5 * u], radius=1.2 * u,
                        fill=(206, 162, 48, 255), outline=(120, 84, 20, 255), width=round(0.5 * u))
    # Grip bound with cord.
    d.rectangle([cx - 1.6 * u, 7.5 * u, cx + 1.6 * u, 16.5 * u], fill=(120, 34, 30, 255))
    for i in range(5):
        y = 8.3 * u + i * 1.8 * u
        d.line([(cx - 1.6 * u, y), (cx + 1.6 * u, y + 1 * u)], fill=(64, 16, 16, 255), width=round(0.5 * u))
    # Pommel.
    d.ellipse([cx - 2.8 * u, 3 * u, cx + 2.8 * u, 8.3 * u], fill=(214, 172, 60, 255),
              outline=(120, 84, 20, 255), width=round(0.5 * u))
    # Tassel hanging from the pommel.
    d.line([(cx, 5 * u), (cx - 3.5 * u, 9.5 * u)], fill=(196, 40, 40, 255), width=round(0.8 * u))
    d.polygon([(cx - 3.5 * u, 9.5 * u), (cx - 5 * u, 13.5 * u), (cx - 2.2 * u, 13.2 * u)], fill=(196, 40, 40, 255))
    return layer


def make_icon():
    s = ICON_SCALE
    S = ICON_SIDE * s

    img = vertical_gradient((S, S), [(0.0, (168, 208, 238)), (1.0, (222, 240, 252))]).convert("RGBA")
    d = ImageDraw.Draw(img)
    # Snowy hills: a far bluish range and a nearer white one with a shaded side.
    far = ridge(S, S * 0.74, S * 0.24, [(2.2, 0.8), (5.0, 0.2)], 0.6, s, sharp=True)
    mountains = Image.new("L", (S, S), 0)
    ImageDraw.Draw(mountains).polygon(far + [(S, S), (0, S)], fill=255)
    img.paste((170, 190, 214), (0, 0), mountains)
    # Snow caps: the part of the range above the snow line, lit from the left.
    snow_line = Image.new("L", (S, S), 0)
    ImageDraw.Draw(snow_line).rectangle([0, 0, S, S * 0.64], fill=255)
    caps = Image.new("L", (S, S), 0)
    caps.paste(mountains, (0, 0), snow_line)
    img.paste((244, 248, 253), (0, 0), caps)
    near = ridge(S, S * 0.84, S * 0.10, [(0.9, 0.8), (2.1, 0.2)], 2.4, s)
    d.polygon(near + [(S, S), (0, S)], fill=(250, 252, 255))
    shade = ridge(S, S * 0.92, S * 0.06, [(1.3, 1.0)], 0.2, s)
    d.polygon(shade + [(S, S), (0, S)], fill=(222, 232, 246))

    sword = make_sword_layer(S).rotate(-32, resample=Image.BICUBIC, center=(S / 2, S / 2))
    img.alpha_composite(sword)

    img = img.resize((ICON_SIDE, ICON_SIDE), Image.LANCZOS)
    # An icon with any see-through pixel would show the desktop through it.
    return img.convert("RGB")


def icon_bytes(img):
    """A one-image .ico with a 32-bit BMP (not PNG) image and an all-zero mask."""
    w, h = img.size
    assert (w, h) == (ICON_SIDE, ICON_SIDE) and img.mode == "RGB"
    mask_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    for y in range(h - 1, -1, -1):  # DIB rows are stored bottom-up
        for x in range(w):
            r, g, b = img.getpixel((x, y))
            xor += bytes((b, g, r, 255))
    and_mask = bytes(mask_stride * h)
    dib_header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = dib_header + bytes(xor) + and_mask
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return icondir + entry + image


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", type=Path, default=Path(__file__).resolve().parent.parent / "ui" / "assets",
                        help="directory to write cover.jpg and app.ico into")
    args = parser.parse_args(argv)
    args.out.mkdir(parents=True, exist_ok=True)
    write_cover(make_cover(), args.out / "cover.jpg")
    (args.out / "app.ico").write_bytes(icon_bytes(make_icon()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
