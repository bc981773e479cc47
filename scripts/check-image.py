#!/usr/bin/env python3
"""Checks a linked PE image (exe or dll) before it is stripped.

Fails when any function the image calls resolves to no address:
  - an import, ordinary or delay-loaded, whose slot is empty (0);
  - a delay-loaded import whose slot points outside the image's code: the
    thunk that loads the DLL at the first call is missing (the link dropped
    it and left the symbol at absolute 0).
With --xp it also fails when the image imports, ordinarily or delay-loaded,
a DLL that Windows does not ship or a function that Windows XP lacks
(scripts/xp-missing.txt). With --delayed DLL,DLL,... it fails when one of
those DLLs is imported ordinarily, so mapped at start-up.

Delay imports are found through the data directory or, as the mingw-w64
linker leaves that entry empty, through the symbol table; an image without
either cannot be checked and fails.

usage: check-image.py [--xp] [--delayed LIST] [--delete-bad] IMAGE...
"""
import os
import re
import struct
import sys

ALLOWED = {"kernel32", "user32", "gdi32", "advapi32", "shell32", "shlwapi", "comctl32", "comdlg32",
           "ole32", "oleaut32", "winmm", "msimg32", "wininet", "version", "gdiplus", "msvcrt", "ws2_32"}
SCN_CODE, SCN_EXECUTE = 0x20, 0x20000000
SYM_ABSOLUTE = 0xFFFF  # section number -1


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        (_, nsec, _, self.symtab, self.nsyms, optsize, _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        self.wide = magic == 0x20B
        if self.wide:
            self.base = struct.unpack_from("<Q", data, opt + 24)[0]
            ndirs = struct.unpack_from("<I", data, opt + 108)[0]
            dirs = opt + 112
        else:
            self.base = struct.unpack_from("<I", data, opt + 28)[0]
            ndirs = struct.unpack_from("<I", data, opt + 92)[0]
            dirs = opt + 96
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(ndirs)]
        self.sections = []
        for i in range(nsec):
            off = opt + optsize + 40 * i
            name = data[off:off + 8].rstrip(b"\0").decode("latin-1")
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, off + 8)
            flags = struct.unpack_from("<I", data, off + 36)[0]
            self.sections.append((name, va, max(vsize, rawsize), rawsize, rawptr, flags))

    def section_of(self, rva):
        for s in self.sections:
            if s[1] <= rva < s[1] + s[2]:
                return s
        return None

    def offset(self, rva):
        s = self.section_of(rva)
        if s is None or rva - s[1] >= s[3]:
            return None
        return s[4] + rva - s[1]

    def u32(self, rva):
        off = self.offset(rva)
        return None if off is None else struct.unpack_from("<I", self.data, off)[0]

    def ptr(self, rva):
        off = self.offset(rva)
        if off is None:
            return None
        return struct.unpack_from("<Q" if self.wide else "<I", self.data, off)[0]

    def cstr(self, rva):
        off = self.offset(rva)
        if off is None:
            return None
        end = self.data.find(b"\0", off)
        return self.data[off:end].decode("latin-1") if end >= 0 else None

    def is_code(self, rva):
        s = self.section_of(rva)
        return s is not None and bool(s[5] & (SCN_CODE | SCN_EXECUTE))

    def symbols(self):
        """(name, section number, value) of every symbol; [] when stripped."""
        if not self.symtab or not self.nsyms:
            return []
        strtab = self.symtab + 18 * self.nsyms
        out, i = [], 0
        while i < self.nsyms:
            off = self.symtab + 18 * i
            raw = self.data[off:off + 8]
            if raw[:4] == b"\0\0\0\0":
                so = strtab + struct.unpack_from("<I", raw, 4)[0]
                name = self.data[so:self.data.find(b"\0", so)].decode("latin-1")
            else:
                name = raw.rstrip(b"\0").decode("latin-1")
            value, secnum, _, _, naux = struct.unpack_from("<IHHBB", self.data, off + 8)
            out.append((name, secnum, value))
            i += 1 + naux
        return out


def import_names(img, int_rva, ordinal_bit):
    """The names (or '#ordinal') of a thunk table, up to its terminating 0."""
    names, step = [], 8 if img.wide else 4
    while True:
        entry = img.ptr(int_rva + step * len(names))
        if entry is None:
            names.append(None)
            return names
        if entry == 0:
            return names
        if entry & ordinal_bit:
            names.append("#%d" % (entry & 0xFFFF))
        else:
            names.append(img.cstr((entry & 0x7FFFFFFF) + 2))


def ordinary_imports(img, problems):
    """{dll: [function names]}; empty slots are problems."""
    found = {}
    rva, size = img.dirs[1] if len(img.dirs) > 1 else (0, 0)
    ordinal_bit = 1 << (63 if img.wide else 31)
    step = 8 if img.wide else 4
    while rva and size:
        oft, _, _, name, ft = struct.unpack_from("<IIIII", img.data, img.offset(rva))
        if name == 0 and ft == 0:
            break
        dll = img.cstr(name) or "?"
        names = import_names(img, oft or ft, ordinal_bit)
        for i, fn in enumerate(names):
            if not img.ptr(ft + step * i):
                problems.append("%s!%s: empty import slot" % (dll, fn))
        found.setdefault(dll, []).extend(n for n in names if n)
        rva += 20
    return found


def delay_descriptors(img):
    """RVAs of the delay-import descriptors: the data directory's table, or
    the descriptors the symbol table names. None when neither can be read."""
    rva, size = img.dirs[13] if len(img.dirs) > 13 else (0, 0)
    if rva and size:
        out = []
        while img.u32(rva + 4):
            out.append(rva)
            rva += 32
        return out
    syms = img.symbols()
    if not syms:
        return None
    return sorted({img.sections[sec - 1][1] + value for name, sec, value in syms
                   if re.match(r"^_*DELAY_IMPORT_DESCRIPTOR_", name) and 0 < sec <= len(img.sections)})


def delay_imports(img, problems):
    found = {}
    descriptors = delay_descriptors(img)
    if descriptors is None:
        problems.append("no symbol table and no delay-import directory: delay imports cannot be seen "
                        "(check the image before it is stripped)")
        return found
    ordinal_bit = 1 << (63 if img.wide else 31)
    step = 8 if img.wide else 4
    for d in descriptors:
        off = img.offset(d)
        attrs, name, _, iat, int_, _, _, _ = struct.unpack_from("<8I", img.data, off)
        # Attribute bit 0 clear: the fields are addresses, not RVAs.
        fix = (lambda a: a) if attrs & 1 else (lambda a: a - img.base if a else 0)
        dll = img.cstr(fix(name)) or "?"
        names = import_names(img, fix(int_), ordinal_bit)
        for i, fn in enumerate(names):
            slot = img.ptr(fix(iat) + step * i)
            if not slot:
                problems.append("%s!%s: delay-import slot is empty (its thunk is missing)" % (dll, fn))
            elif not img.is_code(slot - img.base):
                problems.append("%s!%s: delay-import slot points outside the code (0x%x)" % (dll, fn, slot))
        found.setdefault(dll, []).extend(n for n in names if n)
    return found


def check(path, xp, delayed, xp_missing):
    problems = []
    img = Image(open(path, "rb").read())
    ordinary = ordinary_imports(img, problems)
    delay = delay_imports(img, problems)
    low = lambda dll: dll.lower()[:-4] if dll.lower().endswith(".dll") else dll.lower()
    for dll in ordinary:
        if low(dll) in delayed:
            problems.append("%s is imported at start-up; it is meant to be delay-loaded: %s"
                            % (dll, ", ".join(ordinary[dll][:8])))
    if xp:
        for kind, table in (("", ordinary), ("delay-", delay)):
            for dll, fns in table.items():
                if low(dll) not in ALLOWED:
                    problems.append("%simports %s, which Windows does not ship" % (kind, dll))
                for fn in fns:
                    if any(m in fn for m in xp_missing):
                        problems.append("%simports %s!%s, which Windows XP lacks" % (kind, dll, fn))
    return problems, ordinary, delay


def main(argv):
    xp, delete_bad, delayed, files = False, False, set(), []
    args = iter(argv)
    for a in args:
        if a == "--xp":
            xp = True
        elif a == "--delete-bad":
            delete_bad = True
        elif a == "--delayed":
            delayed = {d.strip().lower() for d in re.split(r"[,;]", next(args)) if d.strip()}
        else:
            files.append(a)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "xp-missing.txt")) as f:
        xp_missing = [l.strip() for l in f if l.strip()]
    bad = 0
    for path in files:
        try:
            problems, ordinary, delay = check(path, xp, delayed, xp_missing)
        except (ValueError, struct.error, TypeError, IndexError) as e:
            problems, ordinary, delay = ["unreadable image: %s" % e], {}, {}
        if problems:
            bad = 1
            for p in problems:
                print("%s: %s" % (path, p), file=sys.stderr)
            if delete_bad and os.path.exists(path):
                os.remove(path)
                print("%s: removed, so the next build links it again" % path, file=sys.stderr)
        elif os.environ.get("CHECK_IMAGE_VERBOSE"):
            print("%s: imports %s; delay-loaded %s" % (
                path, " ".join(sorted(ordinary)), " ".join("%s(%d)" % (d, len(f)) for d, f in sorted(delay.items()))))
    return bad


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
