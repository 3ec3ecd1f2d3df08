#!/usr/bin/python3
"""Check that the cover picture and the icon have the form the program needs.

    check_assets.py cover PATH
    check_assets.py icon PATH

The files are read byte by byte rather than through an image library, so
that what is checked is what the file says about itself, not what a lenient
decoder makes of it.  Exit status 0 when the file is fine; 1 with one line
per problem otherwise.
"""

import struct
import sys

COVER_WIDTH, COVER_HEIGHT = 209, 116
ICON_SIDE = 48
ICON_FILE_SIZE = 9662

# Start-of-frame markers.  0xC4 (DHT), 0xC8 (JPG) and 0xCC (DAC) share the
# range but are not frames.
SOF_NAMES = {
    0xC0: "SOF0 baseline", 0xC1: "SOF1 extended sequential", 0xC2: "SOF2 progressive",
    0xC3: "SOF3 lossless", 0xC5: "SOF5", 0xC6: "SOF6", 0xC7: "SOF7", 0xC9: "SOF9 arithmetic",
    0xCA: "SOF10 arithmetic progressive", 0xCB: "SOF11", 0xCD: "SOF13", 0xCE: "SOF14", 0xCF: "SOF15",
}
SOI, EOI, SOS, APP0 = 0xD8, 0xD9, 0xDA, 0xE0
STANDALONE = set(range(0xD0, 0xD8)) | {0x01}  # RSTn and TEM carry no length


class FormError(Exception):
    pass


def jpeg_segments(data):
    """List (marker, payload) for every marker in the file, in order, and
    return it with the offset just past EOI.

    The entropy-coded data after each SOS is skipped by looking for the next
    0xFF that is neither a stuffed 0xFF00 nor a restart marker, so frames and
    scans after the first scan (as a progressive file has) are seen too.
    """
    if data[:2] != b"\xff\xd8":
        raise FormError("not a JPEG file: it does not start with SOI (FF D8)")
    segments = [(SOI, b"")]
    pos = 2
    while True:
        if pos >= len(data):
            raise FormError("file ends without EOI (FF D9)")
        if data[pos] != 0xFF:
            raise FormError(f"expected a marker at offset {pos}, found byte 0x{data[pos]:02X}")
        while pos < len(data) and data[pos] == 0xFF:  # fill bytes
            pos += 1
        if pos >= len(data):
            raise FormError("file ends inside a marker")
        marker = data[pos]
        pos += 1
        if marker == EOI:
            segments.append((EOI, b""))
            return segments, pos
        if marker in STANDALONE:
            segments.append((marker, b""))
            continue
        if pos + 2 > len(data):
            raise FormError(f"segment FF {marker:02X} at offset {pos - 2} is cut off")
        (length,) = struct.unpack_from(">H", data, pos)
        if length < 2 or pos + length > len(data):
            raise FormError(f"segment FF {marker:02X} at offset {pos - 2} has a bad length {length}")
        segments.append((marker, data[pos + 2:pos + length]))
        pos += length
        if marker == SOS:
            while True:
                nxt = data.find(b"\xff", pos)
                if nxt < 0 or nxt + 1 >= len(data):
                    raise FormError("scan data runs to the end of the file without EOI")
                follower = data[nxt + 1]
                if follower == 0x00 or 0xD0 <= follower <= 0xD7:
                    pos = nxt + 2
                    continue
                pos = nxt
                break


def check_cover(data):
    problems = []
    segments, end = jpeg_segments(data)
    markers = [m for m, _ in segments]
    if end != len(data):
        problems.append(f"{len(data) - end} bytes follow the EOI marker")

    # JFIF requires its APP0 to follow SOI directly.
    if len(segments) < 2 or segments[1][0] != APP0 or not segments[1][1].startswith(b"JFIF\0"):
        problems.append("no JFIF APP0 segment right after SOI")
    else:
        app0 = segments[1][1]
        if len(app0) < 14:
            problems.append("JFIF APP0 segment is too short")
        else:
            major, minor, units, xd, yd = struct.unpack_from(">BBBHH", app0, 5)
            if (major, minor) != (1, 1):
                problems.append(f"JFIF version is {major}.{minor:02d}, expected 1.01")
            if units != 1:
                problems.append(f"JFIF density units are {units}, expected 1 (dots per inch)")
            if (xd, yd) != (72, 72):
                problems.append(f"JFIF density is {xd}x{yd}, expected 72x72")

    frames = [(m, p) for m, p in segments if m in SOF_NAMES]
    if not frames:
        problems.append("no start-of-frame (SOF) segment")
    elif len(frames) > 1:
        problems.append(f"{len(frames)} start-of-frame segments, expected exactly one")
    for marker, payload in frames:
        if marker != 0xC0:
            problems.append(f"frame is {SOF_NAMES[marker]} (FF {marker:02X}), expected SOF0 baseline")
    if frames:
        problems += check_frame(frames[0][1])

    if SOS not in markers:
        problems.append("no start-of-scan (SOS) segment")
    return problems


def check_frame(sof):
    if len(sof) < 6:
        return ["SOF segment is too short"]
    precision, height, width, count = struct.unpack_from(">BHHB", sof, 0)
    problems = []
    if precision != 8:
        problems.append(f"sample precision is {precision} bits, expected 8")
    if (width, height) != (COVER_WIDTH, COVER_HEIGHT):
        problems.append(f"picture is {width}x{height}, expected {COVER_WIDTH}x{COVER_HEIGHT}")
    if count != 3 or len(sof) < 6 + 3 * count:
        return problems + [f"frame has {count} components, expected 3 (Y, Cb, Cr)"]
    comps = [struct.unpack_from(">BBB", sof, 6 + 3 * i) for i in range(count)]
    ids = [c[0] for c in comps]
    if ids != [1, 2, 3]:
        problems.append(f"component ids are {ids}, expected [1, 2, 3] (YCbCr)")
    sampling = [f"{c[1] >> 4}x{c[1] & 15}" for c in comps]
    if sampling != ["2x2", "1x1", "1x1"]:
        problems.append(f"sampling factors are {','.join(sampling)}, expected 2x2,1x1,1x1 (4:2:0)")
    return problems


def check_icon(data):
    if len(data) < 6:
        raise FormError(f"icon file is only {len(data)} bytes")
    problems = []
    if len(data) != ICON_FILE_SIZE:
        problems.append(f"icon file is {len(data)} bytes, expected {ICON_FILE_SIZE}")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0:
        problems.append(f"ICONDIR reserved field is {reserved}, expected 0")
    if kind != 1:
        problems.append(f"ICONDIR type is {kind}, expected 1 (icon)")
    if count != 1:
        problems.append(f"icon holds {count} images, expected exactly one")
    if count < 1 or len(data) < 6 + 16 * count:
        return problems + ["icon directory is cut off"]

    bw, bh, colours, res, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6)
    width, height = bw or 256, bh or 256
    if (width, height) != (ICON_SIDE, ICON_SIDE):
        problems.append(f"directory entry says {width}x{height}, expected {ICON_SIDE}x{ICON_SIDE}")
    if bits != 32:
        problems.append(f"directory entry says {bits} bits per pixel, expected 32")
    if colours != 0 or res != 0 or planes not in (0, 1):
        problems.append(f"directory entry has colour count {colours}, reserved {res}, planes {planes}")
    if offset + size > len(data) or offset < 6 + 16 * count:
        return problems + [f"image at offset {offset} with size {size} lies outside the file"]
    image = data[offset:offset + size]
    if image.startswith(b"\x89PNG"):
        return problems + ["image is stored as PNG, expected a BMP (DIB) image"]
    return problems + check_dib(image)


def check_dib(image):
    if len(image) < 40:
        return ["DIB header is cut off"]
    (hsize, width, height, planes, bits, compression, size_image,
     _xppm, _yppm, clr_used, _clr_important) = struct.unpack_from("<IiiHHIIiiII", image, 0)
    problems = []
    if hsize != 40:
        problems.append(f"DIB header size is {hsize}, expected 40 (BITMAPINFOHEADER)")
    if width != ICON_SIDE or height != 2 * ICON_SIDE:
        problems.append(f"DIB is {width}x{height}, expected {ICON_SIDE}x{2 * ICON_SIDE} (image plus mask)")
    if planes != 1:
        problems.append(f"DIB planes is {planes}, expected 1")
    if bits != 32:
        problems.append(f"DIB has {bits} bits per pixel, expected 32")
    if compression != 0:
        problems.append(f"DIB compression is {compression}, expected 0 (BI_RGB)")
    if clr_used != 0:
        problems.append(f"DIB declares a palette of {clr_used} colours, expected none")
    if problems:
        return problems

    xor_size = ICON_SIDE * ICON_SIDE * 4
    and_size = ((ICON_SIDE + 31) // 32) * 4 * ICON_SIDE
    if size_image not in (0, xor_size, xor_size + and_size):
        problems.append(f"DIB image size field is {size_image}, expected {xor_size + and_size}")
    if len(image) != 40 + xor_size + and_size:
        return problems + [f"DIB is {len(image)} bytes, expected {40 + xor_size + and_size}"]
    pixels = image[40:40 + xor_size]
    see_through = [i // 4 for i in range(3, xor_size, 4) if pixels[i] != 255]
    if see_through:
        first = see_through[0]
        # DIB rows run bottom-up; report the pixel as it appears on screen.
        x, y = first % ICON_SIDE, ICON_SIDE - 1 - first // ICON_SIDE
        problems.append(f"not fully opaque: {len(see_through)} pixel(s) with alpha below 255, "
                        f"the first at x={x}, y={y} with alpha {pixels[first * 4 + 3]}")
    return problems


CHECKS = {"cover": check_cover, "icon": check_icon}


def main(argv):
    if len(argv) != 2 or argv[0] not in CHECKS:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    kind, path = argv
    try:
        with open(path, "rb") as f:
            data = f.read()
        problems = CHECKS[kind](data)
    except OSError as e:
        problems = [f"cannot read: {e.strerror}"]
    except FormError as e:
        problems = [str(e)]
    for p in problems:
        print(f"{path}: {p}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
