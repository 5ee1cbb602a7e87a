#!/usr/bin/env python3
"""Prints the table of src/core/FourByteText.cpp: every run of characters of the Basic
Multilingual Plane that GB18030 gives four bytes, as its first character and the
sequence's number (its linear index) there. Python's own GB18030 codec is the source;
Wine has none, so the program cannot ask the system."""


def runs():
    found, last = [], None
    for u in range(0x80, 0x10000):
        if 0xD800 <= u <= 0xDFFF:
            continue
        b = chr(u).encode("gb18030")
        if len(b) != 4:
            continue
        linear = (((b[0] - 0x81) * 10 + (b[1] - 0x30)) * 126 + (b[2] - 0x81)) * 10 + (b[3] - 0x30)
        if last is None or (u, linear) != (last[0] + 1, last[1] + 1):
            found.append((u, linear))
        last = (u, linear)
    return found


if __name__ == "__main__":
    table = runs()
    for i in range(0, len(table), 4):
        print("    " + " ".join("{0x%04X, %d}," % r for r in table[i:i + 4]))
