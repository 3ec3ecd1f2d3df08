#!/usr/bin/env python3
"""Copies the program with its embedded cover picture damaged in place.

usage: damage_cover.py EXE COVER_JPEG OUT_EXE

The second half of the picture's bytes, scan data and end marker included, is zeroed,
as a picture cut short in transit would leave it; the resource keeps its size, so only
the decoder can tell.
"""
import pathlib
import sys

exe, cover, out = (pathlib.Path(p) for p in sys.argv[1:4])
data = bytearray(exe.read_bytes())
picture = cover.read_bytes()
at = data.find(picture)
if at < 0 or data.find(picture, at + 1) >= 0:
    sys.exit(f"{exe}: the cover picture is not embedded exactly once")
half = len(picture) // 2
data[at + half:at + len(picture)] = bytes(len(picture) - half)
out.parent.mkdir(parents=True, exist_ok=True)
out.write_bytes(data)
