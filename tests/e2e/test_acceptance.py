"""A user's session with the real program, through real mouse and keyboard input only:
make a note from the notification area, type into it, use its menu, hide it and bring
it back from the tray, roll it up and back, move and size it, rename it, colour it, set
an alarm, exit from the tray, and find everything again at the next start."""
import struct
import time
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import poll, rect, visible, xdo

TRAY_ICON = (1270, 790)  # the only icon in the notification area of the 1280 x 800 desktop
ITEM, SEPARATOR, MENU_BORDER = 19, 7, 3


def read_note_file(path):
    with open(path, "rb") as f:
        data = f.read()
    t = struct.unpack_from("<I", data, 9)[0]
    title = data[13:13 + t]
    u = struct.unpack_from("<I", data, 13 + t)[0]
    base = 17 + t + u
    background, border, edge, info, scheme = struct.unpack_from("<IIIii", data, base + 16)
    rect = struct.unpack_from("<4i", data, base + 36)
    daily0_enabled = data[base + 52 + 60 + 1]
    text = data[base + 52 + 396 + 4:]
    return {"title": title, "scheme": scheme, "edge": edge, "rect": rect, "daily0": daily0_enabled, "text": text}


class UserSession(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def note(self):
        notes = poll(lambda: visible("PCN_NOTE"))
        self.assertEqual(len(notes), 1)
        return notes[0]["hwnd"]

    def drag(self, start, end):
        # Pauses only pace the input: Wine's move/size loop must take the button before
        # the pointer moves on, and see each move.
        xdo("mousemove", *start)
        time.sleep(0.2)
        xdo("mousedown", 1)
        time.sleep(0.3)
        middle = ((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
        for point in (middle, end):
            xdo("mousemove", *point)
            time.sleep(0.2)
        xdo("mouseup", 1)

    def context_menu(self, hwnd, key):
        left, top, _, _ = rect(hwnd)
        xdo("mousemove", left + 60, top + 70, "click", 3)
        self.assertTrue(poll(lambda: visible("#32768"), 5), "the context menu opens")
        time.sleep(0.3)  # paces the input: the menu shows a moment before its loop takes keys
        xdo("key", key)
        self.assertTrue(poll(lambda: not visible("#32768"), 5), "the menu took the key")

    def dialog(self, title):
        found = poll(lambda: [w for w in visible("#32770") if w["title"] == title], 10)
        self.assertTrue(found, title + " opens")
        return found[0]["hwnd"]

    def closes(self, dialog):
        self.assertTrue(poll(lambda: not [w for w in visible("#32770") if w["hwnd"] == dialog], 10), "closed")

    def test_a_day_with_a_note(self):
        proc = self.folder.start()
        self.assertIsNotNone(e2e.wait_window(e2e.LOGIC_CLASS))
        # The taskbar shows the icon a moment after the program made it.
        x, y = TRAY_ICON
        self.assertTrue(poll(lambda: len(e2e.colours(x - 8, y - 8, x + 8, y + 8)) > 2, 15), "the icon shows")

        # A double click on the icon makes a note, which takes typed text.
        xdo("mousemove", *TRAY_ICON, "click", "--repeat", 2, "--delay", 80, 1)
        hwnd = self.note()
        # Chinese keys as well: the editor is a wide window, which takes any character
        # the keyboard sends, whatever the system's code page.
        self.assertTrue(e2e.type_into(hwnd, "hello 你好"), e2e.text(e2e.editor(hwnd)))

        # Hide it from its menu; the tray's show-note submenu brings it back.
        self.context_menu(hwnd, "h")
        self.assertTrue(poll(lambda: not visible("PCN_NOTE"), 5), "hidden")
        xdo("mousemove", *TRAY_ICON, "click", 3)
        menu = poll(lambda: visible("#32768"), 5)
        self.assertTrue(menu, "the tray menu opens")
        mleft, mtop, mright, _ = rect(menu[0]["hwnd"])
        # Past "新建笔记", "查找笔记", "从剪贴板新建笔记" and a separator.
        xdo("mousemove", (mleft + mright) // 2, mtop + MENU_BORDER + 3 * ITEM + SEPARATOR + ITEM // 2)
        sub = poll(lambda: [w for w in visible("#32768") if w["hwnd"] != menu[0]["hwnd"]], 5)
        self.assertTrue(sub, "the show-note submenu opens")
        sleft, stop, sright, _ = rect(sub[0]["hwnd"])
        xdo("mousemove", (sleft + sright) // 2, stop + MENU_BORDER + ITEM // 2, "click", 1)
        hwnd = self.note()

        # Roll up and back with the last caption button.
        left, top, right, bottom = rect(hwnd)
        roll = (right - 133 + 5 * 20 + 10, top + 13)
        xdo("mousemove", *roll, "click", 1)
        self.assertEqual(poll(lambda: rect(hwnd)[3] - rect(hwnd)[1] == 45 and rect(hwnd)), (left, top, left + 225, top + 45))
        xdo("mousemove", left + 225 - 133 + 5 * 20 + 10, top + 13, "click", 1)
        self.assertEqual(poll(lambda: rect(hwnd)[3] - rect(hwnd)[1] > 45 and rect(hwnd)), (left, top, right, bottom))

        # Move by the caption, size by the grip.
        # The note starts at a random place, maybe at the screen's edge: move it to one
        # where the grip can be pulled further. The window follows the pointer during the
        # drag, so only the end position tells that the move loop is over.
        self.drag((left + 30, top + 12), (200 + 30, 150 + 12))
        left, top, right, bottom = 200, 150, 200 + right - left, 150 + bottom - top
        self.assertEqual(poll(lambda: rect(hwnd) == (left, top, right, bottom) and rect(hwnd)),
                         (left, top, right, bottom), "the caption moves the note")
        self.drag((right - 10, bottom - 10), (right + 50, bottom + 30))
        self.assertEqual(poll(lambda: rect(hwnd) == (left, top, right + 60, bottom + 40) and rect(hwnd)),
                         (left, top, right + 60, bottom + 40), "the grip sizes the note")

        # A new title, a colour scheme and a daily alarm, all from the menu.
        self.context_menu(hwnd, "t")
        dialog = self.dialog("改变标题")
        xdo("key", "ctrl+a")
        xdo("type", "--delay", 40, "Shopping")
        xdo("key", "Return")
        self.closes(dialog)
        self.context_menu(hwnd, "a")
        dialog = self.dialog("设置外观")
        xdo("key", "Tab", "Tab", "Tab", "Down", "Return")
        self.closes(dialog)
        self.context_menu(hwnd, "l")
        sheet = self.dialog("设置提示")

        def daily_first_row():
            """Clicks the second tab, "每日", until its page is on top: a click that comes
            while the sheet is still coming up is lost."""
            tabs = [c for c in e2e.children(sheet) if c["cls"] == "SysTabControl32"]
            for page in e2e.children(sheet):
                if page["cls"] == "#32770" and page["visible"]:
                    rows = [c for c in e2e.children(page["hwnd"]) if c["id"] == 1056 and c["visible"]]
                    if rows:
                        return rows[0]
            if tabs:
                tl, tt, _, _ = rect(tabs[0]["hwnd"])
                xdo("mousemove", tl + 84, tt + 10, "click", 1)
            return None
        row = poll(daily_first_row, 10)
        self.assertIsNotNone(row, "the daily page is on top")
        bl, bt, br, bb = rect(row["hwnd"])
        xdo("mousemove", bl + 6, (bt + bb) // 2, "click", 1)
        xdo("key", "Return")
        self.closes(sheet)
        final = rect(hwnd)

        # Exit from the tray menu: its last item.
        xdo("mousemove", *TRAY_ICON, "click", 3)
        menu = poll(lambda: visible("#32768"), 5)
        mleft, _, mright, mbottom = rect(menu[0]["hwnd"])
        xdo("mousemove", (mleft + mright) // 2, mbottom - MENU_BORDER - ITEM // 2, "click", 1)
        self.assertEqual(proc.wait(timeout=30), 0)

        files = e2e.saved_notes(self.folder.path)
        self.assertEqual(len(files), 1)
        saved = read_note_file(files[0])
        self.assertIn(b"hello", saved["text"])
        self.assertTrue(b"\\'c4\\'e3\\'ba\\'c3" in saved["text"] or b"\\u20320?\\u22909?" in saved["text"],
                        "the Chinese text")
        self.assertEqual(saved["title"], b"Shopping")
        self.assertEqual(saved["scheme"], 10, "the scheme after the note's own 9")
        self.assertEqual(saved["rect"], final)
        self.assertEqual(saved["daily0"], 1)

        # The next start lists it hidden, as it was.
        proc = self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertTrue(e2e.lists_notes(logic, 1))
        self.assertFalse(visible("PCN_NOTE"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
