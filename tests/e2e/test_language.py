"""Every language: the program speaks the user's UI language (Chinese for any Chinese,
English for the rest) or the one chosen in the tray, at once and after a restart; a title
that code page 936 cannot hold keeps every character across a restart, stored as 936 bytes
where 936 has them and as GB18030's four-byte sequences where it does not; text files in
UTF-8 and UTF-16 come in whole through the real Open dialog, and the English program's
export writes UTF-8."""
import codecs
import os
import time
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND

NOTE_TITLE, NOTE_IMPORT, NOTE_EXPORT = 32776, 32806, 32807
LANGUAGE_SYSTEM, LANGUAGE_CHINESE, LANGUAGE_ENGLISH = 32859, 32860, 32861
TITLE = "Café ç ő 한국어 ☕"
TEXT = "中文 UTF-8 ça marche ☕ 한국어"
# What each language calls the title dialog, its label and the note's hide button.
WORDS = {"zh": ("改变标题", "笔记新标题是:", "隐匿笔记"), "en": ("Change Title", "New title for the note:", "Hide note")}
SYSTEMS = "zh" if e2e.CODE_PAGE == 936 else "en"
NOTICE = {"zh": e2e.NOTICE_CAPTION, "en": "Pinvel Is Already Running"}


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class Language(unittest.TestCase):
    """A program folder with one note; the tests are in the classes below."""
    language = "zh"

    def setUp(self):
        self.folder = e2e.ProgramFolder(language=self.language)
        self.addCleanup(self.folder.close)
        self.path = e2e.put_note(self.folder.path, "N021215 (1).pvl",
                                 e2e.note_file("购物", "anna", b"{\\rtf1\\ansi milk\\par}"))

    def start(self):
        proc = self.folder.start()
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertTrue(e2e.show_note(tray, 0))
        return proc, e2e.wait_window("PCN_NOTE")

    def exit(self, proc):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)


class Titles(Language):
    def test_a_title_in_any_script_survives_a_restart(self):
        proc, note = self.start()
        e2e.probe("post", note, WM_COMMAND, NOTE_TITLE, 0)
        self.assertTrue(e2e.wait_window("#32770", "改变标题"))
        e2e.probe("clip", TITLE)
        e2e.xdo("key", "ctrl+a", "ctrl+v", "Return")
        self.assertTrue(e2e.poll(lambda: e2e.text(note) == TITLE), e2e.text(note))
        self.exit(proc)
        with open(self.path, "rb") as f:
            stored = f.read()
        # "Café ç " in 936 where it has them (é is A8A6), the rest as four bytes.
        self.assertIn(TITLE.encode("gb18030"), stored)
        self.assertIn(b"Caf\xa8\xa6 \x81\x30\x8a\x34 \x81\x30\x93\x32 ", stored)

        proc, note = self.start()
        self.assertEqual(e2e.text(note), TITLE)
        self.exit(proc)


class Choice(Language):
    language = None

    def speaks(self, note, words):
        """The title dialog, opened and read from outside, and the hide button's name."""
        title, label, hide = WORDS[words]
        self.assertIn(hide, [c["text"] for c in e2e.children(note)])
        e2e.probe("post", note, WM_COMMAND, NOTE_TITLE, 0)
        dialog = e2e.wait_window("#32770", title)
        self.assertTrue(dialog, "the title dialog in %s" % words)
        self.assertIn(label, [c["text"] for c in e2e.children(dialog)])
        e2e.probe("post", dialog, WM_COMMAND, 2, 0)
        self.assertTrue(e2e.window_gone("#32770", title, 10000))

    def test_the_users_language_speaks_until_the_tray_chooses_another_at_once_and_for_good(self):
        proc, note = self.start()
        self.speaks(note, SYSTEMS)
        other = "en" if SYSTEMS == "zh" else "zh"
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        e2e.probe("post", tray, WM_COMMAND, LANGUAGE_ENGLISH if other == "en" else LANGUAGE_CHINESE, 0)
        self.speaks(note, other)
        # A second copy's notice speaks as the running copy does.
        second = self.folder.start()
        notice = e2e.wait_window("#32770", NOTICE[other], timeout_ms=30000)
        self.assertTrue(notice, "the notice in %s" % other)
        e2e.probe("command", notice, 1)
        self.assertEqual(second.wait(timeout=15), 0)
        self.exit(proc)
        with open(os.path.join(self.folder.path, e2e.NOTES, e2e.OPTIONS), "rb") as f:
            self.assertIn(b"\tlanguage=%s" % other.encode(), f.read())

        proc, note = self.start()
        self.speaks(note, other)
        e2e.probe("post", e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS)), WM_COMMAND, LANGUAGE_SYSTEM, 0)
        self.speaks(note, SYSTEMS)
        self.exit(proc)


class Files(Language):
    language = "en"

    def file_dialog(self, note, command, path):
        """The real common dialog, a full path typed into it."""
        e2e.probe("post", note, WM_COMMAND, command, 0)
        dialog = e2e.wait_window("#32770")
        self.assertTrue(dialog)
        time.sleep(0.5)
        e2e.xdo("type", "--delay", 30, "--", windows_path(path))
        e2e.xdo("key", "Return")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("#32770"), 15), "the dialog took the name")

    def test_unicode_text_files_come_in_whole_and_the_english_export_writes_utf8(self):
        proc, note = self.start()
        edit = e2e.editor(note)
        for name, data in (("plain.txt", TEXT.encode("utf-8")), ("marked.txt", codecs.BOM_UTF8 + TEXT.encode("utf-8")),
                           ("le.txt", codecs.BOM_UTF16_LE + TEXT.encode("utf-16-le")),
                           ("be.txt", codecs.BOM_UTF16_BE + TEXT.encode("utf-16-be"))):
            path = os.path.join(self.folder.path, name)
            with open(path, "wb") as f:
                f.write(data)
            self.file_dialog(note, NOTE_IMPORT, path)
            self.assertTrue(e2e.poll(lambda: e2e.text(edit) == TEXT), "%s: %r" % (name, e2e.text(edit)))
            e2e.probe("clip", "x")
            e2e.xdo("key", "ctrl+a", "ctrl+v")
            self.assertTrue(e2e.poll(lambda: e2e.text(edit) == "x"))

        e2e.probe("clip", TEXT)
        e2e.xdo("key", "ctrl+a", "ctrl+v")
        self.assertTrue(e2e.poll(lambda: e2e.text(edit) == TEXT))
        out = os.path.join(self.folder.path, "out")
        self.file_dialog(note, NOTE_EXPORT, out)
        self.assertTrue(e2e.poll(lambda: os.path.exists(out + ".txt")), self.folder.listing())
        with open(out + ".txt", "rb") as f:
            self.assertEqual(f.read(), codecs.BOM_UTF8 + TEXT.encode("utf-8"))
        self.exit(proc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
