"""The file check finds a text resource that one language lacks: an English dialog made
German in a copy of the program is reported, and the program as built is not."""
import os
import runpy
import struct
import sys
import tempfile
import types

HERE = os.path.dirname(os.path.abspath(__file__))
# The check's file name has a hyphen: it is run as a script and its names taken.
check_exe = types.SimpleNamespace(**runpy.run_path(os.path.join(HERE, "..", "..", "tools", "check-exe.py")))


def without_english_dialog(data):
    """The bytes with the language of one English dialog's entry changed to German."""
    image = check_exe.Image(data)
    base = image.directory[2][0]

    def entries(offset):
        at = image.at(base + offset)
        _, _, _, _, named, numbered = struct.unpack_from("<IIHHHH", data, at)
        return [(at + 16 + 8 * i, *struct.unpack_from("<II", data, at + 16 + 8 * i)) for i in range(named + numbered)]

    for _, kind, types in entries(0):
        if kind != check_exe.RT_DIALOG:
            continue
        for _, number, languages in entries(types & 0x7FFFFFFF):
            for at, language, _ in entries(languages & 0x7FFFFFFF):
                if language == 0x0409:
                    patched = bytearray(data)
                    struct.pack_into("<I", patched, at, 0x0407)
                    return bytes(patched), number
    raise AssertionError("no English dialog")


def main():
    path, build = sys.argv[1], sys.argv[2]
    with open(path, "rb") as f:
        data = f.read()
    assert not check_exe.language_faults(check_exe.Image(data).languages()), "the program as built"
    patched, number = without_english_dialog(data)
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, "Pinvel.exe")
        with open(copy, "wb") as f:
            f.write(patched)
        faults = check_exe.check(copy, build)
    assert "dialog %d has no English" % number in faults, faults
    print("a dialog in Chinese only is found: dialog %d" % number)
    return 0


if __name__ == "__main__":
    sys.exit(main())
