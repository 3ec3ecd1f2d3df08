#!/usr/bin/python3
"""Check that a built executable keeps the exploit mitigations Windows offers it.

    check_pe_hardening.py EXE --arch x86|x64

Reads the PE headers, the section table and the import tables directly and
requires: ASLR (DYNAMIC_BASE, plus a base relocation table so the loader can
actually move the image, plus HIGH_ENTROPY_VA on x64), DEP (NX_COMPAT), no
section that is both writable and executable, and no import of a mingw run-time
DLL.  The program is linked statically; an imported run-time DLL would be looked
up beside the exe, the one place a planted copy can sit.  Exit status 0 when all
is well; 1 with one line per problem otherwise.
"""

import argparse
import re
import struct
import sys

ARCHES = {
    # --arch: (COFF machine, optional header magic)
    "x86": (0x014C, 0x10B),
    "x64": (0x8664, 0x20B),
}

IMAGE_FILE_RELOCS_STRIPPED = 0x0001

# DllCharacteristics bits: (name, why it matters, required for these arches)
DLL_CHARACTERISTICS = [
    (0x0040, "DYNAMIC_BASE", "the image always loads at its preferred base (no ASLR)", {"x86", "x64"}),
    (0x0100, "NX_COMPAT", "its data is executable (no DEP)", {"x86", "x64"}),
    (0x0020, "HIGH_ENTROPY_VA", "ASLR picks from low addresses only", {"x64"}),
]

IMAGE_SCN_MEM_EXECUTE = 0x20000000
IMAGE_SCN_MEM_WRITE = 0x80000000

DIR_IMPORT, DIR_BASERELOC, DIR_DELAY_IMPORT = 1, 5, 13

# What mingw-w64's g++ links against when it is not told -static.
MINGW_RUNTIME = re.compile(r"^(libstdc\+\+-6|libgcc_s_.*|libwinpthread-1)\.dll$", re.IGNORECASE)


class PeError(Exception):
    pass


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        coff = pe + 4
        self.machine, nsections = struct.unpack_from("<HH", data, coff)
        opt_size, self.characteristics = struct.unpack_from("<HH", data, coff + 16)
        opt = coff + 20
        self.magic = self.u16(opt)
        if self.magic == 0x10B:
            self.image_base = self.u32(opt + 28)
            ndirs_at = opt + 92
        elif self.magic == 0x20B:
            self.image_base = struct.unpack_from("<Q", data, opt + 24)[0]
            ndirs_at = opt + 108
        else:
            raise PeError(f"unknown optional header magic 0x{self.magic:x}")
        self.dll_characteristics = self.u16(opt + 70)
        ndirs = self.u32(ndirs_at)
        self.dirs = [struct.unpack_from("<II", data, ndirs_at + 4 + 8 * i) for i in range(min(ndirs, 16))]
        self.sections = []
        for i in range(nsections):
            s = opt + opt_size + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("latin-1")
            vsize, va, raw_size, raw_ptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((name, va, max(vsize, raw_size), raw_ptr, raw_size, self.u32(s + 36)))

    def u16(self, off):
        return struct.unpack_from("<H", self.data, off)[0]

    def u32(self, off):
        return struct.unpack_from("<I", self.data, off)[0]

    def directory(self, index):
        return self.dirs[index] if index < len(self.dirs) else (0, 0)

    def section_of(self, rva):
        for sec in self.sections:
            if sec[1] <= rva < sec[1] + sec[2]:
                return sec
        return None

    def offset(self, rva):
        sec = self.section_of(rva)
        if not sec or rva - sec[1] >= sec[4]:
            raise PeError(f"RVA 0x{rva:x} is not backed by the file")
        return sec[3] + rva - sec[1]

    def c_string(self, rva):
        off = self.offset(rva)
        end = self.data.index(b"\0", off)
        return self.data[off:end].decode("latin-1")

    def imported_dlls(self):
        """Names of the DLLs in the import and the delay-load import tables."""
        names = []
        rva, size = self.directory(DIR_IMPORT)
        if rva and size:
            off = self.offset(rva)
            while True:
                desc = struct.unpack_from("<5I", self.data, off)
                if not any(desc):
                    break
                names.append(self.c_string(desc[3]))
                off += 20
        rva, size = self.directory(DIR_DELAY_IMPORT)
        if rva and size:
            off = self.offset(rva)
            while True:
                attributes, name = struct.unpack_from("<II", self.data, off)
                if not name:
                    break
                # Descriptors without the RVA bit hold virtual addresses.
                names.append(self.c_string(name if attributes & 1 else name - self.image_base))
                off += 32
        return names


def problems(pe, arch):
    found = []
    machine, magic = ARCHES[arch]
    if pe.machine != machine or pe.magic != magic:
        found.append(f"machine 0x{pe.machine:04x} / magic 0x{pe.magic:x} is not an {arch} image")

    for bit, name, why, arches in DLL_CHARACTERISTICS:
        if arch in arches and not pe.dll_characteristics & bit:
            found.append(f"DllCharacteristics 0x{pe.dll_characteristics:04x} lacks {name} (0x{bit:04x}): {why}")

    for name, _va, _size, _ptr, _raw, flags in pe.sections:
        if flags & IMAGE_SCN_MEM_WRITE and flags & IMAGE_SCN_MEM_EXECUTE:
            found.append(f"section {name} is both writable and executable (characteristics 0x{flags:08x})")

    reloc_rva, reloc_size = pe.directory(DIR_BASERELOC)
    reloc_section = pe.section_of(reloc_rva) if reloc_size else None
    if pe.characteristics & IMAGE_FILE_RELOCS_STRIPPED:
        found.append("relocations stripped (IMAGE_FILE_RELOCS_STRIPPED): the loader cannot move the image")
    if not reloc_section:
        found.append("no base relocation table (.reloc): the loader cannot move the image")

    for dll in pe.imported_dlls():
        if MINGW_RUNTIME.match(dll):
            found.append(f"imports mingw run-time DLL {dll}: link the run time statically")
    return found


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("exe")
    parser.add_argument("--arch", choices=sorted(ARCHES), required=True)
    args = parser.parse_args(argv)
    try:
        with open(args.exe, "rb") as f:
            found = problems(Pe(f.read()), args.arch)
    except (OSError, PeError, struct.error, ValueError) as e:
        found = [f"not a readable PE image: {e}"]
    for p in found:
        print(f"{args.exe}: {p}", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
