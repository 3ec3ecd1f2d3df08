#!/usr/bin/python3
"""Show that check_pe_hardening.py turns away builds that lost a mitigation.

    test_pe_checker.py --x64 EXE [--x86 EXE] --weak EXE --work DIR

Copies of the built executables are patched in one place each; the weak
executable is linked with the mitigations switched off and against the shared
mingw run time.  Every case lists the complaints it expects, and the checker
must exit 1 with exactly those, so a checker that fails for some other reason,
or complains about everything, does not count as rejecting.
"""

import argparse
import shutil
import struct
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
CHECKER = HERE / "check_pe_hardening.py"
sys.path.insert(0, str(HERE))
from check_pe_hardening import DIR_BASERELOC, IMAGE_SCN_MEM_EXECUTE, IMAGE_SCN_MEM_WRITE, Pe  # noqa: E402


def headers(data):
    """Offsets of the fields the patches change."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    coff = pe + 4
    opt = coff + 20
    opt_size = struct.unpack_from("<H", data, coff + 16)[0]
    magic = struct.unpack_from("<H", data, opt)[0]
    return {
        "characteristics": coff + 18,
        "dll_characteristics": opt + 70,
        "dirs": opt + (96 if magic == 0x10B else 112),
        "sections": opt + opt_size,
    }


def clear_dll_characteristic(bit):
    def patch(data):
        at = headers(data)["dll_characteristics"]
        struct.pack_into("<H", data, at, struct.unpack_from("<H", data, at)[0] & ~bit)
    return patch


def add_section_flags(section, flags):
    def patch(data):
        names = [s[0] for s in Pe(bytes(data)).sections]
        at = headers(data)["sections"] + 40 * names.index(section) + 36
        struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] | flags)
    return patch


def mark_relocs_stripped(data):
    at = headers(data)["characteristics"]
    struct.pack_into("<H", data, at, struct.unpack_from("<H", data, at)[0] | 0x0001)


def drop_reloc_directory(data):
    struct.pack_into("<II", data, headers(data)["dirs"] + 8 * DIR_BASERELOC, 0, 0)


# (case, executable, patch or None, --arch, complaints expected)
CASES = [
    ("x64 without DYNAMIC_BASE", "x64", clear_dll_characteristic(0x0040), "x64", ["lacks DYNAMIC_BASE"]),
    ("x64 without NX_COMPAT", "x64", clear_dll_characteristic(0x0100), "x64", ["lacks NX_COMPAT"]),
    ("x64 without HIGH_ENTROPY_VA", "x64", clear_dll_characteristic(0x0020), "x64", ["lacks HIGH_ENTROPY_VA"]),
    ("x86 without NX_COMPAT", "x86", clear_dll_characteristic(0x0100), "x86", ["lacks NX_COMPAT"]),
    ("x86 without DYNAMIC_BASE", "x86", clear_dll_characteristic(0x0040), "x86", ["lacks DYNAMIC_BASE"]),
    ("x64 with writable code", "x64", add_section_flags(".text", IMAGE_SCN_MEM_WRITE), "x64",
     ["section .text is both writable and executable"]),
    ("x86 with executable data", "x86", add_section_flags(".data", IMAGE_SCN_MEM_EXECUTE), "x86",
     ["section .data is both writable and executable"]),
    ("x64 marked relocations stripped", "x64", mark_relocs_stripped, "x64", ["relocations stripped"]),
    ("x64 without a relocation directory", "x64", drop_reloc_directory, "x64", ["no base relocation table"]),
    ("x64 checked as x86", "x64", None, "x86", ["is not an x86 image"]),
    ("weak link", "weak", None, "x64",
     ["lacks DYNAMIC_BASE", "lacks NX_COMPAT", "lacks HIGH_ENTROPY_VA", "relocations stripped",
      "no base relocation table", "imports mingw run-time DLL libstdc++-6.dll",
      "imports mingw run-time DLL libgcc_s_"]),
]


def judge(name, rc, output, expected):
    """Print one line for the case and return whether it went as expected."""
    lines = [line for line in output.splitlines() if line.strip()]
    unmatched = [e for e in expected if not any(e in line for line in lines)]
    extra = [line for line in lines if not any(e in line for e in expected)]
    ok = rc == 1 and not unmatched and not extra
    why = ""
    if not ok:
        why = f"expected exit 1 with {expected!r}, got exit {rc}"
        if unmatched:
            why += f"; missing {unmatched!r}"
        if extra:
            why += f"; unexpected {extra!r}"
    print(f"{'ok  ' if ok else 'FAIL'} {name}" + (f"\n     {why}" if why else ""))
    return ok


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--x64", required=True)
    parser.add_argument("--x86")
    parser.add_argument("--weak", required=True)
    parser.add_argument("--work", required=True, type=Path)
    args = parser.parse_args(argv)
    sources = {"x64": args.x64, "x86": args.x86, "weak": args.weak}

    shutil.rmtree(args.work, ignore_errors=True)
    args.work.mkdir(parents=True)
    results = []
    for i, (name, source, patch, arch, expected) in enumerate(CASES):
        if not sources[source]:
            print(f"skip {name} (no {source} executable given)")
            continue
        exe = args.work / f"case{i}.exe"
        data = bytearray(Path(sources[source]).read_bytes())
        if patch:
            patch(data)
        exe.write_bytes(data)
        proc = subprocess.run([sys.executable, str(CHECKER), str(exe), "--arch", arch],
                              capture_output=True, text=True)
        results.append(judge(name, proc.returncode, proc.stdout + proc.stderr, expected))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
