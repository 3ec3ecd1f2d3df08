#!/usr/bin/python3
"""Check the resources compiled into a built yanchuan.exe.

    check_resources.py --arch x86|x64 EXE [--cover ui/assets/cover.jpg] [--icon ui/assets/app.ico]

Reads the PE file directly (headers, section table, resource tree) and
checks the machine and subsystem, the default icon, the version resource,
the manifest and the embedded cover picture.  Exit status 0 when all is
well; 1 with one line per problem otherwise.
"""

import argparse
import struct
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

RT_ICON, RT_RCDATA, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 10, 14, 16, 24
IDR_COVER_JPEG = 200
LANG_ZH_CN = 0x0804
CP_UNICODE = 1200

ARCHES = {
    # --arch: (COFF machine, optional header magic, manifest processorArchitecture)
    "x86": (0x014C, 0x10B, "x86"),
    "x64": (0x8664, 0x20B, "amd64"),
}
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_DIRECTORY_ENTRY_RESOURCE = 2

VERSION_STRINGS = {
    "FileDescription": "砚川谣下载器",
    "ProductName": "砚川谣下载器",
    "FileVersion": "1.0.0.0",
    "ProductVersion": "1.0.0.0",
    "OriginalFilename": "yanchuan.exe",
    "InternalName": "yanchuan",
}

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
COMMON_CONTROLS = {
    "type": "win32",
    "name": "Microsoft.Windows.Common-Controls",
    "version": "6.0.0.0",
    "publicKeyToken": "6595b64144ccf1df",
}


class PeError(Exception):
    pass


def u16(data, off):
    return struct.unpack_from("<H", data, off)[0]


def u32(data, off):
    return struct.unpack_from("<I", data, off)[0]


class PeFile:
    """The parts of a PE image this checker looks at."""

    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise PeError("not a PE file: no MZ header")
        pe = u32(data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("not a PE file: no PE signature where the DOS header points")
        coff = pe + 4
        self.machine = u16(data, coff)
        nsections = u16(data, coff + 2)
        opt_size = u16(data, coff + 16)
        opt = coff + 20
        self.magic = u16(data, opt)
        if self.magic not in (0x10B, 0x20B):
            raise PeError(f"unknown optional header magic 0x{self.magic:X}")
        self.subsystem = u16(data, opt + 68)
        dirs = opt + (96 if self.magic == 0x10B else 112)
        ndirs = u32(data, dirs - 4)
        if ndirs > IMAGE_DIRECTORY_ENTRY_RESOURCE:
            self.resource_rva, self.resource_size = struct.unpack_from("<II", data, dirs + 8 * IMAGE_DIRECTORY_ENTRY_RESOURCE)
        else:
            self.resource_rva = self.resource_size = 0
        self.sections = []
        table = opt + opt_size
        for i in range(nsections):
            s = table + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("ascii", "replace")
            vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((name, vaddr, max(vsize, rawsize), rawptr, rawsize))

    def offset(self, rva, size=0):
        """File offset of an RVA, checking that size bytes lie in the file."""
        for _name, vaddr, vsize, rawptr, rawsize in self.sections:
            if vaddr <= rva < vaddr + vsize:
                off = rawptr + rva - vaddr
                if rva - vaddr + size > rawsize or off + size > len(self.data):
                    raise PeError(f"RVA 0x{rva:X} + {size} runs past its section's data")
                return off
        raise PeError(f"RVA 0x{rva:X} lies in no section")

    def resources(self):
        """All resources as (type, name, language, data), in directory order.

        Types and names are ints for numeric ids and strs for string names;
        named entries precede numbered ones, as the directory stores them.
        """
        if not self.resource_rva:
            return []
        base = self.offset(self.resource_rva)
        data = self.data
        out = []

        def entries(dir_off, depth):
            if depth > 2:
                raise PeError("resource tree is deeper than type/name/language")
            named, ided = struct.unpack_from("<HH", data, base + dir_off + 12)
            for i in range(named + ided):
                e = base + dir_off + 16 + 8 * i
                name_field, target = struct.unpack_from("<II", data, e)
                if name_field & 0x80000000:
                    s = base + (name_field & 0x7FFFFFFF)
                    n = u16(data, s)
                    key = data[s + 2:s + 2 + 2 * n].decode("utf-16-le")
                else:
                    key = name_field & 0xFFFF
                yield key, target

        def leaf(target):
            if target & 0x80000000:
                raise PeError("resource tree has a directory where a data entry belongs")
            rva, size = struct.unpack_from("<II", data, base + target)
            off = self.offset(rva, size)
            return data[off:off + size]

        for rtype, t in entries(0, 0):
            for rname, n in entries(t & 0x7FFFFFFF, 1):
                for lang, leaf_target in entries(n & 0x7FFFFFFF, 2):
                    out.append((rtype, rname, lang, leaf(leaf_target)))
        return out


def icon_image(ico):
    """The one image of a .ico file as (width, height, bits, DIB bytes)."""
    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    if reserved != 0 or kind != 1 or count != 1:
        raise PeError("the icon file to compare with is not a one-image icon")
    w, h, _, _, _, bits, size, offset = struct.unpack_from("<BBBBHHII", ico, 6)
    return w or 256, h or 256, bits, ico[offset:offset + size]


def check_headers(pe, arch):
    machine, magic, _ = ARCHES[arch]
    problems = []
    if pe.machine != machine:
        problems.append(f"PE machine is 0x{pe.machine:04X}, expected 0x{machine:04X} for {arch}")
    if pe.magic != magic:
        kind = {0x10B: "PE32", 0x20B: "PE32+"}[pe.magic]
        problems.append(f"image is {kind}, which does not fit {arch}")
    if pe.subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        problems.append(f"subsystem is {pe.subsystem}, expected {IMAGE_SUBSYSTEM_WINDOWS_GUI} (Windows GUI)")
    return problems


def check_icon(res, ico):
    groups = [r for r in res if r[0] == RT_GROUP_ICON]
    if not groups:
        return ["no icon group (RT_GROUP_ICON) resource"]
    _, name, _, grp = groups[0]
    problems = []
    if name != "DEFAULT_ICON":
        problems.append(f"first icon group is named {name!r}, expected 'DEFAULT_ICON'")
    if len(grp) < 6:
        return problems + ["icon group is cut off"]
    reserved, kind, count = struct.unpack_from("<HHH", grp, 0)
    if reserved != 0 or kind != 1 or count != 1 or len(grp) < 6 + 14 * count:
        return problems + [f"icon group holds {count} images (type {kind}), expected one icon image"]
    bw, bh, _, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", grp, 6)
    want_w, want_h, want_bits, want_dib = icon_image(ico)
    if (bw or 256, bh or 256, bits) != (want_w, want_h, want_bits):
        problems.append(f"icon group entry is {bw}x{bh} at {bits} bpp, expected {want_w}x{want_h} at {want_bits} bpp")
    images = [r for r in res if r[0] == RT_ICON and r[1] == icon_id]
    if len(images) != 1:
        return problems + [f"icon group points at icon {icon_id}, found {len(images)} such RT_ICON resources"]
    dib = images[0][3]
    if size != len(dib):
        problems.append(f"icon group says the image has {size} bytes, the RT_ICON resource has {len(dib)}")
    if dib != want_dib:
        problems.append(f"RT_ICON {icon_id} differs from the image in the icon file")
    return problems


class VersionNode:
    """One block of a version resource: key, value bytes, text flag, children."""

    def __init__(self, data, off):
        length, value_len, vtype = struct.unpack_from("<HHH", data, off)
        if length < 6 or off + length > len(data):
            raise PeError(f"version block at {off} has a bad length {length}")
        end = off + length
        p = off + 6
        k = p
        while data[k:k + 2] != b"\0\0":
            k += 2
            if k >= end:
                raise PeError(f"version block at {off} has an unterminated key")
        self.key = data[p:k].decode("utf-16-le")
        p = (k + 2 + 3) & ~3
        self.text = vtype == 1
        nbytes = value_len * 2 if self.text else value_len
        self.value = data[p:p + nbytes]
        p = (p + nbytes + 3) & ~3
        self.children = []
        while p < end:
            child = VersionNode(data, p)
            self.children.append(child)
            p = (p + child.length + 3) & ~3
        self.length = length

    def string(self):
        return self.value.decode("utf-16-le").rstrip("\0")


def check_version(res):
    found = [r for r in res if r[0] == RT_VERSION]
    if not found:
        return ["no version resource (RT_VERSION)"]
    problems = []
    if len(found) != 1:
        problems.append(f"{len(found)} version resources, expected one: "
                        + ", ".join(f"name {n} language 0x{l:04X}" for _, n, l, _ in found))
    _, _, lang, data = found[0]
    if lang != LANG_ZH_CN:
        problems.append(f"version resource language is 0x{lang:04X}, expected 0x{LANG_ZH_CN:04X}")
    root = VersionNode(data, 0)
    if root.key != "VS_VERSION_INFO" or len(root.value) < 52:
        return problems + ["version resource does not start with VS_VERSION_INFO and a fixed file info"]
    sig, _, fv_ms, fv_ls, pv_ms, pv_ls = struct.unpack_from("<IIIIII", root.value, 0)
    if sig != 0xFEEF04BD:
        problems.append(f"VS_FIXEDFILEINFO signature is 0x{sig:08X}")
    for what, ms, ls in (("file", fv_ms, fv_ls), ("product", pv_ms, pv_ls)):
        v = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        if v != (1, 0, 0, 0):
            problems.append(f"fixed {what} version is {'.'.join(map(str, v))}, expected 1.0.0.0")

    by_key = {c.key: c for c in root.children}
    sfi = by_key.get("StringFileInfo")
    if sfi is None:
        problems.append("no StringFileInfo block")
    else:
        tables = [t.key for t in sfi.children]
        if tables != ["080404b0"]:
            problems.append(f"StringFileInfo tables are {tables}, expected ['080404b0']")
        if sfi.children:
            strings = {s.key: s.string() for s in sfi.children[0].children}
            for key, want in VERSION_STRINGS.items():
                got = strings.get(key)
                if got != want:
                    problems.append(f"version string {key} is {got!r}, expected {want!r}")
    vfi = by_key.get("VarFileInfo")
    translation = None
    if vfi is not None:
        for var in vfi.children:
            if var.key == "Translation":
                translation = [struct.unpack_from("<HH", var.value, i) for i in range(0, len(var.value) - 3, 4)]
    if translation != [(LANG_ZH_CN, CP_UNICODE)]:
        shown = "missing" if translation is None else ", ".join(f"0x{l:04X} {c}" for l, c in translation)
        problems.append(f"VarFileInfo Translation is {shown}, expected 0x0804 1200")
    return problems


def check_manifest(res, arch):
    found = [r for r in res if r[0] == RT_MANIFEST and r[1] == 1]
    if len(found) != 1:
        return [f"{len(found)} manifests with id 1 (RT_MANIFEST), expected one"]
    try:
        root = ET.fromstring(found[0][3])
    except ET.ParseError as e:
        return [f"manifest is not well-formed XML: {e}"]
    want_arch = ARCHES[arch][2]
    problems = []
    if root.tag != ASM_V1 + "assembly":
        problems.append(f"manifest root element is {root.tag}, expected assembly")
    own = root.find(ASM_V1 + "assemblyIdentity")
    if own is not None and own.get("processorArchitecture") != want_arch:
        problems.append(f"application processorArchitecture is {own.get('processorArchitecture')!r}, "
                        f"expected {want_arch!r}")
    deps = [a for a in root.iterfind(f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/{ASM_V1}assemblyIdentity")
            if a.get("name") == COMMON_CONTROLS["name"]]
    if len(deps) != 1:
        return problems + [f"manifest has {len(deps)} dependencies on {COMMON_CONTROLS['name']}, expected one"]
    want = dict(COMMON_CONTROLS, processorArchitecture=want_arch)
    for attr, value in want.items():
        got = deps[0].get(attr)
        if got is None or got.lower() != value.lower():
            problems.append(f"Common-Controls dependency has {attr}={got!r}, expected {value!r}")
    return problems


def check_cover(res, cover):
    problems = []
    rcdata = [r for r in res if r[0] == RT_RCDATA and r[1] == IDR_COVER_JPEG]
    if len(rcdata) != 1:
        problems.append(f"{len(rcdata)} RCDATA resources with id {IDR_COVER_JPEG}, expected one")
    elif rcdata[0][3] != cover:
        problems.append(f"RCDATA {IDR_COVER_JPEG} ({len(rcdata[0][3])} bytes) differs from the cover "
                        f"picture ({len(cover)} bytes)")
    for rtype, name, lang, data in res:
        if (rtype, name) != (RT_RCDATA, IDR_COVER_JPEG) and cover in data:
            problems.append(f"resource type {rtype} name {name} language 0x{lang:04X} holds another copy "
                            "of the cover picture")
    return problems


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--arch", choices=sorted(ARCHES), required=True)
    parser.add_argument("exe", type=Path)
    parser.add_argument("--cover", type=Path, default=REPO / "ui" / "assets" / "cover.jpg")
    parser.add_argument("--icon", type=Path, default=REPO / "ui" / "assets" / "app.ico")
    args = parser.parse_args(argv)
    try:
        pe = PeFile(args.exe.read_bytes())
        res = pe.resources()
        problems = check_headers(pe, args.arch)
        problems += check_icon(res, args.icon.read_bytes())
        problems += check_version(res)
        problems += check_manifest(res, args.arch)
        problems += check_cover(res, args.cover.read_bytes())
    except OSError as e:
        problems = [f"cannot read {e.filename}: {e.strerror}"]
    except (PeError, struct.error) as e:
        problems = [f"cannot parse: {e}"]
    for p in problems:
        print(f"{args.exe}: {p}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
