#!/usr/bin/python3
"""Write near-miss copies of the cover and the icon for the asset checker tests.

    make_bad_fixtures.py --cover ui/assets/cover.jpg --icon ui/assets/app.ico --out DIR

Each copy differs from the real asset in one respect only, so a checker that
rejects it has rejected it for that reason.  Two copies that keep the real
form are written too, to show that the way the copies are made is not itself
what the checker objects to.
"""

import argparse
import io
import struct
import sys
from pathlib import Path

from PIL import Image

ICONDIR = struct.Struct("<HHH")
ICONDIRENTRY = struct.Struct("<BBBBHHII")


def save_jpeg(img, **overrides):
    options = dict(quality=92, subsampling=2, progressive=False, dpi=(72, 72))
    options.update(overrides)
    out = io.BytesIO()
    img.save(out, "JPEG", **options)
    return out.getvalue()


def cover_fixtures(cover_bytes):
    img = Image.open(io.BytesIO(cover_bytes))
    img.load()
    return {
        "cover_reencoded.jpg": save_jpeg(img),
        "cover_progressive.jpg": save_jpeg(img, progressive=True),
        "cover_444.jpg": save_jpeg(img, subsampling=0),
        "cover_wrong_size.jpg": save_jpeg(img.resize((208, 116), Image.LANCZOS)),
        "cover_96dpi.jpg": save_jpeg(img, dpi=(96, 96)),
        # Cut inside the scan data: a decoder would show a half-grey picture.
        "cover_truncated.jpg": cover_bytes[:len(cover_bytes) // 2],
    }


def split_icon(ico):
    """The one image of the real icon as (width, height, rows of BGRA pixels)."""
    _, _, count = ICONDIR.unpack_from(ico, 0)
    assert count == 1, "the real icon is expected to hold one image"
    w, h, _, _, _, bits, size, offset = ICONDIRENTRY.unpack_from(ico, ICONDIR.size)
    assert bits == 32
    dib = ico[offset:offset + size]
    stride = w * 4
    rows = [dib[40 + y * stride:40 + (y + 1) * stride] for y in range(h)]  # bottom-up
    return w, h, rows


def dib_image(w, h, rows, bits):
    """A BITMAPINFOHEADER image with pixel rows (bottom-up) and a zero mask."""
    pixel_bytes = b"".join(rows)
    mask = bytes(((w + 31) // 32) * 4 * h)
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, len(pixel_bytes) + len(mask), 0, 0, 0, 0)
    return header + pixel_bytes + mask


def icon_file(images):
    """An .ico holding (width, height, bits, image bytes) entries in order."""
    offset = ICONDIR.size + ICONDIRENTRY.size * len(images)
    head = ICONDIR.pack(0, 1, len(images))
    body = b""
    for w, h, bits, image in images:
        head += ICONDIRENTRY.pack(w, h, 0, 0, 1, bits, len(image), offset + len(body))
        body += image
    return head + body


def icon_fixtures(ico):
    w, h, rows = split_icon(ico)
    real = dib_image(w, h, rows, 32)

    rgb_rows = [b"".join(row[i:i + 3] for i in range(0, len(row), 4)) for row in rows]
    assert all(len(r) % 4 == 0 for r in rgb_rows), "24-bit rows would need padding"

    translucent = [bytearray(r) for r in rows]
    translucent[h // 2][(w // 2) * 4 + 3] = 0x80

    png = io.BytesIO()
    Image.frombytes("RGBA", (w, h), b"".join(reversed(rows)), "raw", "BGRA").save(png, "ICO", sizes=[(w, h)])

    return {
        "icon_rebuilt.ico": icon_file([(w, h, 32, real)]),
        "icon_24bit.ico": icon_file([(w, h, 24, dib_image(w, h, rgb_rows, 24))]),
        "icon_translucent.ico": icon_file([(w, h, 32, dib_image(w, h, [bytes(r) for r in translucent], 32))]),
        "icon_two_images.ico": icon_file([(w, h, 32, real), (w, h, 32, real)]),
        "icon_png.ico": png.getvalue(),
    }


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cover", type=Path, required=True)
    parser.add_argument("--icon", type=Path, required=True)
    parser.add_argument("--out", type=Path, required=True)
    args = parser.parse_args(argv)
    args.out.mkdir(parents=True, exist_ok=True)
    fixtures = {**cover_fixtures(args.cover.read_bytes()), **icon_fixtures(args.icon.read_bytes())}
    for name, data in fixtures.items():
        (args.out / name).write_bytes(data)
        print(f"wrote {args.out / name} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
