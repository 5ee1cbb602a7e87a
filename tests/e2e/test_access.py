"""Pinvel for every user: what a screen reader reads of a note, its buttons and the tray;
the context menu, hiding and a new note from the keyboard alone; and high contrast, in
which a note takes the system's colours and gives its own back when it ends."""
import os
import tempfile
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND

NOTE_TITLE, NOTE_OPACITY_50 = 32776, 32849
NIN_SELECT, NIN_KEYSELECT, WM_CONTEXTMENU = 0x400, 0x401, 0x7B
SPI_SETHIGHCONTRAST = 0x43
# The caption buttons' names, as their tips say them.
BUTTONS = ["创建一个新笔记", "隐匿笔记", "删除笔记", "设置提示", "设置外观", "上卷/展开笔记"]
YELLOW_EDGE = bytes((0xFF, 0xDE, 0x7B))


class Access(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.path = e2e.put_note(self.folder.path, "N021215 (1).pvl",
                                 e2e.note_file("购物", "anna", b"{\\rtf1\\ansi\\f0\\fs24 milk\\par}"))
        self.contrast = os.path.join(self.folder.path, "high-contrast")
        env = dict(os.environ, PINVEL_TEST_HIGH_CONTRAST=self.contrast)
        self.proc = self.folder.start(env=env)
        self.tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertIsNotNone(self.tray)

    def note(self):
        self.assertTrue(e2e.show_note(self.tray, 0))
        return e2e.wait_window("PCN_NOTE")

    def name(self, hwnd):
        code, out = e2e.probe("accname", hwnd)
        return out[0] if code == 0 and out else (code, out)

    def layered(self, hwnd):
        return e2e.probe("layered", hwnd)[1]

    def menu_opens_near(self, keys, x, y):
        """The menu the keys open has its corner within a line of (x, y)."""
        e2e.xdo("key", *keys)
        menu = e2e.poll(lambda: e2e.visible("#32768"))
        self.assertTrue(menu, keys)
        left, top, _, _ = e2e.rect(menu[0]["hwnd"])
        e2e.xdo("key", "Escape")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("#32768")))
        self.assertLess(abs(left - x) + abs(top - y), 40, (keys, left, top, x, y))

    def test_names_and_the_keyboard_alone(self):
        note = self.note()
        self.assertEqual(e2e.text(note), "购物")
        self.assertEqual(self.name(note), "购物", "a screen reader says the title")
        buttons = [w for w in e2e.children(note) if w["cls"] == "Button"]
        self.assertEqual([w["text"] for w in buttons], BUTTONS)
        self.assertEqual(self.name(buttons[1]["hwnd"]), "隐匿笔记")

        # A new title, typed in its dialog, is the window's new name.
        e2e.probe("post", note, WM_COMMAND, NOTE_TITLE, 0)
        self.assertTrue(e2e.wait_window("#32770", "改变标题"))
        e2e.xdo("key", "ctrl+a")
        e2e.type_keys("Groceries")
        e2e.xdo("key", "Return")
        self.assertTrue(e2e.poll(lambda: e2e.text(note) == "Groceries"), e2e.text(note))
        self.assertEqual(self.name(note), "Groceries")

        # Shift+F10 and the menu key open the menu at the caret, at the end of the first
        # line, not at the middle of the note.
        left, top, right, bottom = e2e.rect(note)
        e2e.xdo("mousemove", left + 40, top + 60, "click", 1)
        e2e.keep_x_focus()
        e2e.xdo("key", "ctrl+Home")
        caret = self.caret(note)
        self.assertLess(caret[1], (top + bottom) // 2 - 20)
        self.menu_opens_near(["shift+F10"], *caret)
        self.menu_opens_near(["Menu"], *caret)
        # The menu's access letters work though the program draws its items: H hides.
        e2e.xdo("key", "shift+F10")
        self.assertTrue(e2e.poll(lambda: e2e.visible("#32768")))
        e2e.xdo("key", "h")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")), "the access letter hid the note")

        # Escape hides a note, saving what was typed first.
        note = self.note()
        self.assertTrue(e2e.type_into(note, "eggs"))
        e2e.xdo("key", "Escape")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")), "Escape hid the note")
        with open(self.path, "rb") as f:
            self.assertIn(b"eggs", f.read())

        # The tray icon: Enter makes a note, a single click's select does nothing, and the
        # menu key opens the menu at the point the shell gives.
        self.assertTrue(e2e.tray_event(self.tray, NIN_SELECT))
        self.assertTrue(e2e.tray_event(self.tray, NIN_KEYSELECT))
        self.assertTrue(e2e.poll(lambda: len(e2e.visible("PCN_NOTE")) == 1), "one new note")
        self.assertTrue(e2e.tray_event(self.tray, WM_CONTEXTMENU, 700, 500))
        menu = e2e.poll(lambda: e2e.visible("#32768"))
        self.assertTrue(menu, "the menu key opens the tray menu")
        self.assertEqual(e2e.rect(menu[0]["hwnd"])[2:], (700, 500))
        self.assertTrue(e2e.click_menu_away())
        self.assertEqual(len(e2e.visible("PCN_NOTE")), 1, "nothing made twice")

        # The next-note key, pressed for real, goes round the open notes, keys in the text.
        self.assertTrue(e2e.show_note(self.tray, 0))
        notes = e2e.poll(lambda: [w["hwnd"] for w in e2e.visible("PCN_NOTE")] if len(e2e.visible("PCN_NOTE")) == 2
                         else None)
        self.assertTrue(notes)
        front = lambda: int(e2e.probe("front")[1][0])
        first = front()
        self.assertIn(first, notes)
        e2e.keep_x_focus()
        e2e.xdo("key", "ctrl+alt+Next")
        self.assertTrue(e2e.poll(lambda: front() in notes and front() != first), "the other note came forward")
        e2e.xdo("key", "ctrl+alt+Next")
        self.assertTrue(e2e.poll(lambda: front() == first), "and round again")
        self.exit()

    def caret(self, note):
        """Where the caret of the note's text is on the screen: the editor's own answer
        for the first character, as another program can ask it."""
        edit = e2e.editor(note)
        code, out = e2e.probe("send", edit, 0x00D6, 0, 0)  # EM_POSFROMCHAR, old form
        self.assertEqual(code, 0)
        packed = int(out[0]) & 0xFFFFFFFF
        left, top, _, _ = e2e.rect(edit)
        return left + (packed & 0xFFFF), top + (packed >> 16)

    def test_high_contrast_draws_in_the_systems_colours_and_gives_the_notes_back(self):
        note = self.note()
        e2e.probe("post", note, WM_COMMAND, NOTE_OPACITY_50, 0)
        left, top, right, bottom = e2e.rect(note)
        caption = (left + 30, top + 4, left + 31, top + 5)
        text = (right - 30, bottom - 40, right - 29, bottom - 39)
        self.assertTrue(e2e.poll(lambda: e2e.colours(*caption) == {YELLOW_EDGE}), e2e.colours(*caption))

        open(self.contrast, "w").close()
        e2e.probe("setting", SPI_SETHIGHCONTRAST, "")
        grey = lambda: all(c[0] == c[1] == c[2] for c in e2e.colours(*caption))
        self.assertTrue(e2e.poll(grey), e2e.colours(*caption))
        self.assertEqual(e2e.colours(*text), {bytes((255, 255, 255))}, "the text on the window colour")
        self.assertEqual(self.layered(note), ["none"], "opaque while it lasts")
        e2e.screenshot(os.path.join(tempfile.gettempdir(), "pinvel-high-contrast.png"), left, top, right, bottom)

        os.remove(self.contrast)
        e2e.probe("setting", SPI_SETHIGHCONTRAST, "")
        self.assertTrue(e2e.poll(lambda: e2e.colours(*caption) == {YELLOW_EDGE}), e2e.colours(*caption))
        self.assertNotEqual(self.layered(note), ["none"], "see-through again")
        self.exit()
        with open(self.path, "rb") as f:
            self.assertNotIn(b"\\red240", f.read(), "the system's colours never reach the file")

    def exit(self):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(self.proc.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
