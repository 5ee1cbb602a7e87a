"""The program on a display scaled to 150 % (144 dpi), as Wine gives it from the
prefix's LogPixels: the note's frame, buttons and menu at their scaled sizes, and the
About dialog's picture in the drawing made for that scale."""
import os
import struct
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, colours, poll, rect

RED, EDGE, PAPER, GREY = b"\xff\x00\x00", b"\xff\xde\x7b", b"\xff\xff\xbd", b"\x80\x80\x80"
# Red border, so that it cannot be mistaken for the grey separator.
LOOK = (0x00BDFFFF, 0x000000FF, 0x007BDEFF, 3, 9, 100, 120, 550, 420)
ABOUT = 32794
LOGO_CONTROL = 1143
SHOTS = os.environ.get("PINVEL_SHOTS")


def bitmap_size(name):
    with open(os.path.join(e2e.WIN_DIR, "art", name), "rb") as f:
        header = f.read(26)
    width, height = struct.unpack_from("<ii", header, 18)
    return width, abs(height)


class At144Dpi(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        e2e.put_note(self.folder.path, "note.pvl", e2e.note_file(title="购物清单 shopping list", look=LOOK))
        self.proc = self.folder.start()
        self.logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.tray = e2e.tray_window(self.logic)
        self.assertIsNotNone(self.tray)

    def test_frame_buttons_menu_and_about_follow_the_scale(self):
        e2e.show_note(self.tray, 0)
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note)
        self.assertIsNotNone(e2e.editor(note))
        # The stored rectangle is screen pixels, at any scale.
        self.assertEqual(rect(note), LOOK[5:])
        left, top = LOOK[5], LOOK[6]

        def at(box):
            return (left + box[0], top + box[1], left + box[2], top + box[3])

        kids = e2e.children(note)
        buttons = sorted(rect(c["hwnd"]) for c in kids if c["cls"] == "Button")
        self.assertEqual(buttons, [at((250 + 30 * i, 5, 280 + 30 * i, 35)) for i in range(6)])
        [edit] = [c for c in kids if c["cls"] == e2e.EDITOR_CLASS]
        self.assertEqual(rect(edit["hwnd"]), at((5, 36, 445, 268)))

        # Border two pixels wide, then the edge to the text; the separator two pixels
        # high over the info line (right of its text, whose cell covers it); the caption
        # band right of the buttons down to 36.
        frame = {
            (0, 150, 2, 151): {RED},
            (2, 150, 5, 151): {EDGE},
            (400, 268, 445, 270): {GREY},
            (5, 270, 11, 295): {EDGE},
            (431, 2, 445, 36): {EDGE},
            (300, 40, 440, 260): {PAPER},
        }
        if SHOTS:
            poll(lambda: colours(*at((300, 40, 440, 260))) == {PAPER})
            e2e.screenshot(os.path.join(SHOTS, "note-150.png"), *at((-20, -20, 470, 320)))
        for box, expected in frame.items():
            self.assertEqual(poll(lambda: colours(*at(box)) == expected and expected, 10) or colours(*at(box)),
                             expected, box)

        # Menu items are measured for the screen's DPI: 22-pixel text plus 6 of padding,
        # separators half the text.
        e2e.xdo("mousemove", left + 200, top + 150, "click", 1, "click", 3)
        menu = poll(lambda: e2e.visible("#32768"), 5)
        self.assertTrue(menu, "the menu opens")
        mleft, mtop, mright, mbottom = rect(menu[0]["hwnd"])
        border = 3
        self.assertEqual(mbottom - mtop - 2 * border, 22 * 28 + 3 * 11)
        if SHOTS:
            e2e.screenshot(os.path.join(SHOTS, "menu-150.png"), mleft, mtop, mright, mbottom)
        e2e.xdo("key", "Escape")
        self.assertTrue(poll(lambda: not e2e.visible("#32768"), 5))

        # A check list at this scale: typed, and ticked by a click on its box.
        edit = e2e.editor(note)
        eleft, etop, _, _ = rect(edit)
        e2e.xdo("mousemove", eleft + 100, etop + 60, "click", 1)
        e2e.keep_x_focus()
        e2e.xdo("key", "ctrl+a", "Delete")
        e2e.type_keys("[] milk")
        e2e.xdo("mousemove", eleft + 9, etop + 15, "click", 1)
        self.assertTrue(poll(lambda: (e2e.text(edit) or "").strip() == "\u2611 milk", 10), repr(e2e.text(edit)))

        # Shift+F10 opens the menu at the caret, where the editor puts its first character.
        e2e.xdo("key", "ctrl+Home")
        packed = int(e2e.probe("send", edit, 0x00D6, 0, 0)[1][0]) & 0xFFFFFFFF  # EM_POSFROMCHAR
        caret = (eleft + (packed & 0xFFFF), etop + (packed >> 16))
        e2e.xdo("key", "shift+F10")
        menu = poll(lambda: e2e.visible("#32768"), 5)
        self.assertTrue(menu, "Shift+F10 opens the menu")
        self.assertLess(sum(abs(a - b) for a, b in zip(rect(menu[0]["hwnd"])[:2], caret)), 40, caret)
        e2e.xdo("key", "Escape")
        self.assertTrue(poll(lambda: not e2e.visible("#32768"), 5))

        e2e.probe("post", self.tray, WM_COMMAND, ABOUT, 0)
        about = poll(lambda: [w for w in e2e.top_level_windows() if w["title"] == "关于Pinvel" and w["visible"]])
        self.assertTrue(about, "About comes up")
        [logo] = [c for c in e2e.children(about[0]["hwnd"]) if c["id"] == LOGO_CONTROL]
        lleft, ltop, lright, lbottom = rect(logo["hwnd"])
        self.assertEqual((lright - lleft, lbottom - ltop), bitmap_size("bitmap2208.bmp"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
