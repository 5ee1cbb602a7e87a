"""Notes on a Western Windows: with the ANSI code page 1252 the notes folder is still
"笔记", a note made there is saved and comes back, and a note written on a Chinese
system is read and written again unchanged."""
import os
import re
import unittest

import pinvel_e2e as e2e

WM_PASTE = 0x0302
FIRST_NOTE_COMMAND = 50000
WESTERN = dict(os.environ, LANG="en_US.UTF-8", LC_ALL="en_US.UTF-8")


def system_words(rtf):
    return re.sub(rb"\\(ansicpg|deflangfe|deflang|lang)\d+", rb"\\\1", rtf)


class WesternCodePage(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def start(self, env=None):
        proc = self.folder.start(env=env)
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

    def notes(self):
        return e2e.saved_notes(self.folder.path)

    def test_a_note_made_on_1252_is_kept_in_the_notes_folder_and_comes_back(self):
        proc, _, tray = self.start(WESTERN)
        self.new_note_with(tray, "kept on a Western Windows")
        self.stop(proc)
        saved = self.notes()
        self.assertEqual(len(saved), 1, self.folder.listing())
        with open(saved[0], "rb") as f:
            self.assertIn(b"kept on a Western Windows", f.read())

        proc, logic, _ = self.start(WESTERN)
        self.assertTrue(e2e.lists_notes(logic, 1), "listed again at the next start")
        self.stop(proc)

    def test_a_note_written_on_936_is_rewritten_unchanged_on_1252(self):
        proc, _, tray = self.start()
        self.new_note_with(tray, "中文笔记 written on 936")
        self.stop(proc)
        [path] = self.notes()
        with open(path, "rb") as f:
            before = f.read()
        self.assertIn("笔记 1".encode("gbk"), before, "the default title in code page 936")

        proc, _, tray = self.start(WESTERN)
        e2e.probe("post", tray, e2e.WM_COMMAND, FIRST_NOTE_COMMAND, 0)
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


if __name__ == "__main__":
    unittest.main(verbosity=2)
