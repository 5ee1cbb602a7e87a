"""Notes on a Western Windows: with the ANSI code page 1252 the program still shows and
keeps its Chinese. The notes folder is still "笔记", a new note's title is stored in
code page 936, a note written on a Chinese system is read and written again unchanged,
and titles, menus, dialogs and messages show Chinese, not '?'."""
import os
import re
import struct
import unittest

import pinvel_e2e as e2e

WM_PASTE = 0x0302
IDCANCEL = 2
ID_EDIT_FIND = 32786
CHINESE = dict(os.environ, LANG="zh_CN.UTF-8", LC_ALL="zh_CN.UTF-8")


def system_words(rtf):
    return re.sub(rb"\\(ansicpg|deflangfe|deflang|lang)\d+", rb"\\\1", rtf)


def stored_title(data):
    length = struct.unpack_from("<I", data, 9)[0]
    return data[13:13 + length]


@unittest.skipUnless(e2e.CODE_PAGE == 1252, "a Western Windows only: this runs as program-1252.codepage")
class WesternCodePage(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def start(self, env=None, drawn=False):
        proc = self.folder.start(env=env, drawn=drawn)
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        tray = e2e.tray_window(logic)
        self.assertIsNotNone(tray)
        return proc, logic, tray

    def stop(self, proc):
        self.assertEqual(self.folder.run("-exit", timeout=60), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def new_note_with(self, tray, text):
        note = e2e.new_note(tray)
        self.assertIsNotNone(note)
        e2e.probe("clip", text)
        e2e.probe("send", e2e.editor(note), WM_PASTE, 0, 0)
        return note

    def drawn(self, text):
        return e2e.poll(lambda: text in self.folder.drawn_texts(), 10)

    def dialog(self, title):
        found = e2e.poll(lambda: [w for w in e2e.visible("#32770") if w["title"] == title], 10)
        self.assertTrue(found, title + " opens")
        return found[0]["hwnd"]

    def notes(self):
        return e2e.saved_notes(self.folder.path)

    def test_a_note_made_on_1252_has_its_title_in_936_and_comes_back(self):
        proc, _, tray = self.start(drawn=True)
        self.new_note_with(tray, "kept on a Western Windows")
        self.assertTrue(self.drawn("笔记 1"), "the caption shows the Chinese title")
        self.stop(proc)
        saved = self.notes()
        self.assertEqual(len(saved), 1, self.folder.listing())
        with open(saved[0], "rb") as f:
            data = f.read()
        self.assertEqual(stored_title(data), "笔记 1".encode("gbk"))
        self.assertIn(b"kept on a Western Windows", data)

        proc, logic, _ = self.start()
        self.assertTrue(e2e.lists_notes(logic, 1), "listed again at the next start")
        self.stop(proc)

    def test_a_note_written_on_936_is_rewritten_unchanged_on_1252(self):
        proc, _, tray = self.start(CHINESE)
        self.new_note_with(tray, "中文笔记 written on 936")
        self.stop(proc)
        [path] = self.notes()
        with open(path, "rb") as f:
            before = f.read()

        proc, _, tray = self.start()
        e2e.show_note(tray, 0)
        self.assertIsNotNone(e2e.wait_window("PCN_NOTE"), "shown, so its text is loaded and saved again")
        self.stop(proc)
        with open(path, "rb") as f:
            after = f.read()
        # Title, user name, dates, look and alarms keep every byte. The text keeps every
        # character and format; the editor notes the system's code page and language in
        # the header of the RTF it writes, and only those words differ.
        text_at = before.index(b"{\\rtf1") - 4
        self.assertEqual(after[:text_at], before[:text_at])
        self.assertEqual(system_words(after[text_at + 4:]), system_words(before[text_at + 4:]))

    def test_menu_title_dialog_and_find_message_show_chinese(self):
        e2e.put_note(self.folder.path, "note.pvl", e2e.note_file(title="购物清单"))
        proc, _, tray = self.start(drawn=True)
        e2e.show_note(tray, 0)
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note)
        self.assertIsNotNone(e2e.editor(note))

        # The menu is owner-drawn: what it shows is what the program draws. A click first
        # makes the note the active window, which takes the menu's keys.
        left, top, _, _ = e2e.rect(note)
        e2e.xdo("mousemove", left + 60, top + 70, "click", 1, "click", 3)
        self.assertTrue(e2e.poll(lambda: e2e.visible("#32768"), 5), "the menu opens")
        self.assertTrue(self.drawn("隐匿笔记(&H)"), [t for t in self.folder.drawn_texts() if "(&" in t])
        e2e.xdo("key", "t")
        dialog = self.dialog("改变标题")
        [edit] = [c for c in e2e.children(dialog) if c["cls"] == "Edit"]
        self.assertEqual(e2e.text(edit["hwnd"]), "购物清单")
        e2e.probe("command", dialog, IDCANCEL)
        self.assertTrue(e2e.window_gone("#32770", "改变标题", 10000))

        # Typed with real keys into the find dialog, and quoted back by the message.
        e2e.probe("post", note, e2e.WM_COMMAND, ID_EDIT_FIND, 0)
        self.dialog("查找文本")
        e2e.type_keys("你好")
        e2e.xdo("key", "Return")

        def message():
            for box in e2e.visible("#32770"):
                texts = [c["text"] for c in e2e.children(box["hwnd"]) if c["id"] == 0xFFFF]
                if texts:
                    return texts[0]
            return None
        self.assertEqual(e2e.poll(message, 10), '不能查找字符串 "你好"')
        e2e.xdo("key", "Return")
        self.assertTrue(e2e.poll(lambda: message() is None, 10), "the message closes")
        self.stop(proc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
