#!/usr/bin/env python3
"""Holds a release executable to its size budget (the cover and icon count too).

The budget is what a download of the program may weigh; going over it usually means
something new pulled a large part of the C++ or C run-time library into the executable.
"""
import argparse
import os
import sys


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("exe")
    ap.add_argument("--max-bytes", type=int, required=True)
    args = ap.parse_args()
    size = os.path.getsize(args.exe)
    print(f"{args.exe}: {size} bytes, budget {args.max_bytes}")
    if size > args.max_bytes:
        print("over budget: look at the link map for what came in", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
