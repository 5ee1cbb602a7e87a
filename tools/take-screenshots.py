"""Takes the README's pictures from the real program: notes in several colours, the
tray menu with its note list, the alarm sheet and the appearance dialog. Run through
`make screenshots`; the pictures go to docs/."""
import os
import shutil
import struct
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import pinvel_e2e as e2e  # noqa: E402
from pinvel_e2e import note_file  # noqa: E402

DOCS = os.path.join(HERE, "..", "docs")
TRAY_ICON = (1270, 790)
WM_COMMAND = 0x0111

# (title, text, edge, background, border, scheme, rect, info kind)
NOTES = [
    ("购物清单", b"milk\\par bread\\par \\'bc\\'a6\\'b5\\'b0", 0x007BDEFF, 0x00BDFFFF, 0x00808080, 9, (60, 60, 380, 280), 2),
    ("Meeting at 3", b"Room 4.12\\par bring the {\\b plans}", 0x00FDB14D, 0x00FFE0BD, 0x00808080, 1, (420, 80, 740, 260), 3),
    ("\\u20070?", b"call home", 0x0065CA00, 0x0099FFCE, 0x00808080, 5, (160, 330, 460, 500), 2),
]


def xdo(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True)


def styled_note(title, text, edge, background, border, scheme, rect, info):
    data = bytearray(note_file(title if not title.startswith("\\u") else "备忘", "pinvel",
                               b"{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\\f0\\fs22 " + text + b"}"))
    t = len((title if not title.startswith("\\u") else "备忘").encode("gbk"))
    base = 17 + t + 6
    struct.pack_into("<IIIii4i", data, base + 16, background, border, edge, info, scheme, *rect)
    return bytes(data)


def crop(shot, name, box):
    left, top, right, bottom = box
    subprocess.run(["convert", shot, "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top), "+repage",
                    os.path.join(DOCS, name)], check=True)


def visible(cls):
    return [w for w in e2e.top_level_windows() if w["visible"] and w["cls"] == cls]


def rect(hwnd):
    return tuple(map(int, e2e.probe("rect", hwnd)[1][0].split()))


def photograph_dialog(note, key, title, name):
    """Opens a dialog from the note's menu by its access key, photographs it, closes it."""
    left, top, _, _ = rect(note)
    xdo("mousemove", left + 60, top + 70, "click", 3)
    time.sleep(1)
    xdo("key", key)
    time.sleep(1.5)
    dialog = [w for w in e2e.top_level_windows() if w["visible"] and w["title"] == title][0]["hwnd"]
    crop(e2e.screenshot("readme-%s" % name), name, rect(dialog))
    xdo("key", "Escape")
    time.sleep(0.8)


def main():
    folder = e2e.ProgramFolder()
    try:
        notes = os.path.join(folder.path, "笔记")
        os.mkdir(notes)
        for i, note in enumerate(NOTES):
            with open(os.path.join(notes, "N261207 (%d).pvl" % (i + 1)), "wb") as f:
                f.write(styled_note(*note))
        folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        tray = [w for w in e2e.children(logic) if w["cls"] == "PCN_SYSTRAY"][0]["hwnd"]
        time.sleep(3)
        e2e.probe("post", tray, WM_COMMAND, 32791, 0)  # show all
        time.sleep(2)
        xdo("mousemove", 900, 600)
        shot = e2e.screenshot("readme-notes.png")
        crop(shot, "notes.png", (40, 40, 760, 520))

        xdo("mousemove", *TRAY_ICON, "click", 3)
        time.sleep(1)
        menu = visible("#32768")[0]["hwnd"]
        left, top, right, bottom = rect(menu)
        xdo("mousemove", (left + right) // 2, top + 3 + 19 + 7 + 9)
        time.sleep(1.5)
        shot = e2e.screenshot("readme-tray.png")
        crop(shot, "tray-menu.png", (left - 260, top - 20, 1280, 800))
        xdo("key", "Escape", "Escape")
        xdo("mousemove", 900, 650, "click", 1)
        time.sleep(0.5)

        note = visible("PCN_NOTE")[0]["hwnd"]
        photograph_dialog(note, "l", "设置提示", "alarm-sheet.png")
        photograph_dialog(note, "a", "设置外观", "appearance.png")
    finally:
        folder.close()


if __name__ == "__main__":
    main()
