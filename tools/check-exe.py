"""Checks a built Pinvel.exe as Windows will load it, from the file alone: no Wine, so it
runs for a build this machine cannot run too.

    check-exe.py path/to/Pinvel.exe win32|win64

The machine type and optional-header kind match the build; the program is a GUI
program; it imports only from the system's own libraries (no compiler run-time DLL
that a bare Windows lacks), and loads at start only those its start calls, the others
being bound at their first call; its manifest names an architecture that lets Windows start
it on this machine type; every resource the program loads is in it; every image of its
icons is a bitmap or a PNG that agrees with its icon's directory; every dialog, menu and
string block is there in Chinese and in English; and the file stays
under 1,500,000 bytes.
"""
import re
import struct
import sys

MACHINES = {"win32": (0x014C, 0x10B, "x86"), "win64": (0x8664, 0x20B, "amd64")}
SYSTEM_LIBRARIES = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "shell32.dll",
                    "winmm.dll", "oleaut32.dll", "ole32.dll", "advapi32.dll", "msvcrt.dll"}
# Loaded at their first call, after the program answers: loading them before the first
# line cost the start as much as all of Pinvel's own work before its loop.
DELAYED_LIBRARIES = {"comctl32.dll", "comdlg32.dll", "winmm.dll"}
RT_BITMAP, RT_ICON, RT_MENU, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_MANIFEST = 2, 3, 4, 5, 6, 14, 24
# The resources the program loads by number, by type.
EXPECTED = {
    RT_DIALOG: [100, 133, 134, 135, 136, 137, 142, 144, 155, 211, 220, 232],
    RT_MENU: [143, 146],
    RT_BITMAP: [141, 142, 143, *range(193, 205), 208, 213, 216, 217, 218],
    RT_GROUP_ICON: [128, 140, 147, 148, 150, 152, 157, 159, *range(164, 173), *range(174, 180), 181,
                    *range(183, 188), 209, 210, 215, *range(221, 232), 233, 234, 235],
    RT_MANIFEST: [1],
    "WAVE": [158],
}
# The string table's blocks of sixteen that hold the entries the program shows first.
STRING_BLOCKS = [2000 // 16 + 1, 2100 // 16 + 1, 2120 // 16 + 1, 2300 // 16 + 1, 20000 // 16 + 1]
MAX_BYTES = 1500000
# Every text the user reads is in both languages: a dialog, menu or string block in one
# only would show the other language's text, or none, in the middle of the program.
LANGUAGES = {0x0804: "Chinese", 0x0409: "English"}
TEXT_RESOURCES = {RT_DIALOG: "dialog", RT_MENU: "menu", RT_STRING: "string block"}
PNG = b"\x89PNG\r\n\x1a\n"


class Image:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            _, virtual_size, address, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((address, max(virtual_size, raw_size), raw_at))

    def at(self, rva):
        for address, size, raw_at in self.sections:
            if address <= rva < address + size:
                return raw_at + rva - address
        raise ValueError("address %#x is in no section" % rva)

    def c_string(self, rva):
        start = self.at(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        rva = self.directory[1][0]
        names = []
        while rva:
            entry = struct.unpack_from("<IIIII", self.data, self.at(rva))
            if not any(entry):
                break
            names.append(self.c_string(entry[3]).lower())
            rva += 20
        return names

    def resources(self):
        """{type: {id: bytes of the first language}}; named types by their name."""
        return {kind: {number: next(iter(languages.values())) for number, languages in numbers.items()}
                for kind, numbers in self.languages().items()}

    def languages(self):
        """{type: {id: {language: bytes}}}; named types by their name."""
        base = self.directory[2][0]

        def entries(offset):
            _, _, _, _, named, numbered = struct.unpack_from("<IIHHHH", self.data, self.at(base + offset))
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, self.at(base + offset + 16 + 8 * i))
                if key & 0x80000000:
                    at = self.at(base + (key & 0x7FFFFFFF))
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        found = {}
        for kind, types in entries(0):
            found[kind] = {}
            for number, languages in entries(types & 0x7FFFFFFF):
                found[kind][number] = {}
                for language, leaf in entries(languages & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, self.at(base + leaf))
                    found[kind][number][language] = self.data[self.at(rva):self.at(rva) + size]
        return found


def icon_image_fault(image, width, height, bpp):
    """What Windows would trip over in one icon image, or None. A PNG is read from
    Vista on: its header must give the directory's size, 8-bit RGBA. A bitmap is
    twice the height (colours, then the AND mask) and adds up to its size."""
    if image[:8] == PNG:
        header = struct.unpack_from(">4sIIBB", image, 12) if len(image) >= 26 else ()
        return None if header == (b"IHDR", width, height, 8, 6) and bpp == 32 else "PNG header %s" % (header,)
    if len(image) < 40:
        return "%d bytes" % len(image)
    size, w, h, planes, depth, compression, _, _, _, used = struct.unpack_from("<IiiHHIIiiI", image)
    palette = 4 * (used or 1 << depth) if depth <= 8 else 0

    def rows(bits):
        return (width * bits + 31) // 32 * 4 * height
    if (size, w, h, planes, depth, compression) != (40, width, 2 * height, 1, bpp, 0):
        return "bitmap header %s" % ((size, w, h, planes, depth, compression),)
    if 40 + palette + rows(depth) + rows(1) != len(image):
        return "bitmap of %d bytes, not %d" % (len(image), 40 + palette + rows(depth) + rows(1))
    return None


def icon_faults(resources):
    faults = []
    for number, group in resources.get(RT_GROUP_ICON, {}).items():
        for i in range(struct.unpack_from("<H", group, 4)[0]):
            w, h, _, _, _, bpp, _, image_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            image = resources.get(RT_ICON, {}).get(image_id)
            fault = "missing" if image is None else icon_image_fault(image, w or 256, h or 256, bpp)
            if fault:
                faults.append("icon %s, image %d (%d x %d): %s" % (number, image_id, w, h, fault))
    return faults


def language_faults(found):
    faults = []
    for kind, what in TEXT_RESOURCES.items():
        for number, languages in sorted(found.get(kind, {}).items()):
            for language, name in LANGUAGES.items():
                if language not in languages:
                    faults.append("%s %s has no %s" % (what, number, name))
    return faults


def check(path, build):
    with open(path, "rb") as f:
        data = f.read()
    machine, magic, architecture = MACHINES[build]
    image = Image(data)
    faults = []
    if image.machine != machine or image.magic != magic:
        faults.append("machine %#x, optional header %#x; %s needs %#x, %#x" %
                      (image.machine, image.magic, build, machine, magic))
    if image.subsystem != 2:
        faults.append("subsystem %d, not a GUI program" % image.subsystem)
    foreign = sorted(set(image.imports()) - SYSTEM_LIBRARIES)
    if foreign:
        faults.append("imports from libraries a bare Windows lacks: " + ", ".join(foreign))
    early = sorted(set(image.imports()) & DELAYED_LIBRARIES)
    if early:
        faults.append("loads at start what it binds at first call: " + ", ".join(early))
    resources = image.resources()
    for kind, numbers in EXPECTED.items():
        missing = [n for n in numbers if n not in resources.get(kind, {})]
        if missing:
            faults.append("resources of type %s missing: %s" % (kind, missing))
    missing = [b for b in STRING_BLOCKS if b not in resources.get(RT_STRING, {})]
    if missing:
        faults.append("string-table blocks missing: %s" % missing)
    faults += icon_faults(resources)
    faults += language_faults(image.languages())
    manifest = resources.get(RT_MANIFEST, {}).get(1, b"").decode("utf-8", "replace")
    identity = re.search(r'<assemblyIdentity[^>]*name="Pinvel"[^>]*>', manifest)
    named = re.search(r'processorArchitecture="([^"]*)"', identity.group(0)) if identity else None
    if not named or named.group(1) not in ("*", architecture):
        # Windows refuses to start a program whose manifest names another machine.
        faults.append("manifest architecture %s on a %s program" %
                      (named.group(1) if named else "missing", architecture))
    if len(data) > MAX_BYTES:
        faults.append("%d bytes, more than %d" % (len(data), MAX_BYTES))
    return faults


def main():
    path, build = sys.argv[1], sys.argv[2]
    faults = check(path, build)
    for fault in faults:
        print("%s: %s" % (path, fault))
    if not faults:
        print("%s: a %s program with its resources, system imports only, %d bytes" %
              (path, build, len(open(path, "rb").read())))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
