"""Damaged and hostile note files, made the same way every time: every truncation of a
real file, lengths that run past the end, dates that are not numbers, rectangles at the
ends of the 32-bit range, text that is no RTF, and ten megabytes of text."""
import struct

from test_store import note_file


def with_look(rect, stamp=27134.4375, info_kind=0):
    data = bytearray(note_file("look", "u", b"{\\rtf1 look}"))
    t, u = 4, 1
    struct.pack_into("<dd", data, 17 + t + u, stamp, stamp)
    struct.pack_into("<i", data, 45 + t + u, info_kind)
    struct.pack_into("<4i", data, 53 + t + u, *rect)
    return bytes(data)


def hostile_notes():
    """(file name, bytes, whether a reader may load it)."""
    real = note_file("real note", "tester", b"{\\rtf1\\ansi some {\\b bold} text\\par}")
    files = [("real.pvl", real, True)]
    for cut in range(len(real)):
        files.append(("cut%04d.pvl" % cut, real[:cut], False))
    huge = bytearray(real)
    struct.pack_into("<I", huge, 9, 0xFFFFFFFF)
    files.append(("huge-title.pvl", bytes(huge), False))
    huge = bytearray(real)
    struct.pack_into("<I", huge, len(real) - len(b"{\\rtf1\\ansi some {\\b bold} text\\par}") - 4, 0x7FFFFFFF)
    files.append(("huge-text.pvl", bytes(huge), False))
    files.append(("nan-dates.pvl", with_look((10, 10, 300, 200), float("nan")), True))
    files.append(("inf-dates.pvl", with_look((10, 10, 300, 200), float("inf"), 1), True))
    files.append(("huge-date.pvl", with_look((10, 10, 300, 200), 1e300), True))
    top = 2 ** 31 - 1
    files.append(("rect-min.pvl", with_look((-2 ** 31, -2 ** 31, top, top)), True))
    files.append(("rect-max.pvl", with_look((0, 0, top, top)), True))
    files.append(("rect-upside-down.pvl", with_look((500, 400, 100, 50)), True))
    files.append(("garbage-rtf.pvl", note_file("garbage", "u", b"{\\rtf1 {{{{\\'zz\\u-99999?\\bin999999 }"), True))
    files.append(("not-rtf.pvl", note_file("binary", "u", bytes(range(256)) * 4), True))
    files.append(("ten-mb.pvl", note_file("big", "u", b"{\\rtf1 " + b"0123456789abcdef " * 600000 + b"}"), True))
    return files
