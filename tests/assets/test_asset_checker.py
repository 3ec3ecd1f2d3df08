#!/usr/bin/python3
"""Show that the asset and resource checkers reject what they must reject.

    test_asset_checker.py assets --fixtures DIR
    test_asset_checker.py resources --exe X64_EXE --work DIR

assets: runs check_assets.py on the near-miss files that make_bad_fixtures.py
wrote into DIR.  resources: runs check_resources.py on the built x64
executable with the wrong --arch, and on copies of it patched in one place
each.  Every case names the complaint it expects, so a checker that fails for
some other reason (a crash, an unreadable file) does not count as rejecting.
"""

import argparse
import shutil
import struct
import subprocess
import sys
from pathlib import Path

TOOLS = Path(__file__).resolve().parent.parent.parent / "tools"

# (checker kind, fixture file, complaint expected in the output, or None for
# a file that must pass)
ASSET_CASES = [
    ("cover", "cover_reencoded.jpg", None),
    ("cover", "cover_progressive.jpg", "SOF2 progressive"),
    ("cover", "cover_444.jpg", "sampling factors are 1x1,1x1,1x1"),
    ("cover", "cover_wrong_size.jpg", "picture is 208x116"),
    ("cover", "cover_96dpi.jpg", "density is 96x96"),
    ("cover", "cover_truncated.jpg", "without EOI"),
    ("cover", "icon_rebuilt.ico", "not a JPEG file"),
    ("icon", "icon_rebuilt.ico", None),
    ("icon", "icon_24bit.ico", "DIB has 24 bits per pixel"),
    ("icon", "icon_translucent.ico", "not fully opaque"),
    ("icon", "icon_two_images.ico", "icon holds 2 images"),
    ("icon", "icon_png.ico", "stored as PNG"),
]


def run(args):
    proc = subprocess.run([sys.executable, *map(str, args)], capture_output=True, text=True)
    return proc.returncode, proc.stdout + proc.stderr


def judge(name, rc, output, expected):
    """Print one line for the case and return whether it went as expected."""
    if expected is None:
        ok = rc == 0
        why = "" if ok else f"expected to pass, exit {rc}: {output.strip()}"
    else:
        ok = rc == 1 and expected in output
        why = "" if ok else f"expected exit 1 mentioning {expected!r}, got exit {rc}: {output.strip() or '(no output)'}"
    print(f"{'ok  ' if ok else 'FAIL'} {name}" + (f"\n     {why}" if why else ""))
    return ok


def test_assets(fixtures):
    results = []
    for kind, fixture, expected in ASSET_CASES:
        rc, out = run([TOOLS / "check_assets.py", kind, fixtures / fixture])
        results.append(judge(f"{kind} {fixture}", rc, out, expected))
    return results


# Patches on a copy of the x64 executable.  Each takes the file's bytes and
# returns them changed in one respect.

def replace_all(old, new):
    assert len(old) == len(new), "patches must keep every offset in place"

    def patch(data):
        assert old in data, f"{old!r} not found in the executable"
        return data.replace(old, new)
    return patch


def console_subsystem(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    subsystem = pe + 4 + 20 + 68
    return data[:subsystem] + struct.pack("<H", 3) + data[subsystem + 2:]


def damaged_cover(cover):
    # Every copy in the file, so the one the resource tree points at is hit
    # whichever it is.
    flipped = cover[:len(cover) // 2] + bytes([cover[len(cover) // 2] ^ 0xFF]) + cover[len(cover) // 2 + 1:]
    return replace_all(cover, flipped)


def english_translation(data):
    key = "Translation\0".encode("utf-16-le")
    at = data.index(key)
    value = data.index(struct.pack("<HH", 0x0804, 1200), at)
    return data[:value] + struct.pack("<HH", 0x0409, 1200) + data[value + 4:]


def resource_cases(cover):
    utf16 = lambda s: s.encode("utf-16-le")
    return [
        # (case, --arch, patch or None, complaint expected or None)
        ("untouched copy", "x64", None, None),
        ("x64 executable checked as x86", "x86", None, "PE machine is 0x8664"),
        ("console subsystem", "x64", console_subsystem, "subsystem is 3"),
        ("cover bytes altered", "x64", damaged_cover(cover), "RCDATA 200"),
        ("manifest asks for x86 controls", "x64",
         replace_all(b'processorArchitecture="amd64"', b'processorArchitecture="x86"  '),
         "processorArchitecture='x86'"),
        ("garbled Chinese description", "x64",
         replace_all(utf16("砚川谣下载器"), utf16("砚川谣播放器")), "version string FileDescription"),
        ("string table for US English", "x64", replace_all(utf16("080404b0"), utf16("040904b0")),
         "StringFileInfo tables are ['040904b0']"),
        ("translation for US English", "x64", english_translation, "Translation is 0x0409 1200"),
    ]


def test_resources(exe, work, cover_path):
    work.mkdir(parents=True, exist_ok=True)
    original = exe.read_bytes()
    results = []
    for i, (name, arch, patch, expected) in enumerate(resource_cases(cover_path.read_bytes())):
        target = exe
        if patch is not None or expected is None:
            target = work / f"case{i}.exe"
            target.write_bytes(original if patch is None else patch(original))
        rc, out = run([TOOLS / "check_resources.py", "--arch", arch, target, "--cover", cover_path])
        results.append(judge(name, rc, out, expected))
    return results


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="what", required=True)
    a = sub.add_parser("assets")
    a.add_argument("--fixtures", type=Path, required=True)
    r = sub.add_parser("resources")
    r.add_argument("--exe", type=Path, required=True)
    r.add_argument("--work", type=Path, required=True)
    r.add_argument("--cover", type=Path, default=TOOLS.parent / "ui" / "assets" / "cover.jpg")
    args = parser.parse_args(argv)

    if args.what == "assets":
        results = test_assets(args.fixtures)
    else:
        results = test_resources(args.exe, args.work, args.cover)
        shutil.rmtree(args.work, ignore_errors=True)
    failed = results.count(False)
    print(f"{len(results) - failed} of {len(results)} cases as expected")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
