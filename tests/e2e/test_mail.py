"""E-mail Note hands the note to the user's mail program. Under Wine the mail goes out
through xdg-email; a fake one first on PATH writes down what it was given."""
import os
import shutil
import stat
import tempfile
import unittest
import urllib.parse

import pinvel_e2e as e2e

NOTE_TEXT = (b"{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}"
             b"\\f0 first line\\par second \\'c4\\'e3\\'ba\\'c3\\par}")


def through_wine(text):
    """Wine's mail provider takes only the narrow call, so Wine hands on in the system's
    code page whatever the program passed wide: on 1252 Chinese arrives as '?'."""
    return text.encode("cp%d" % e2e.CODE_PAGE, "replace").decode("cp%d" % e2e.CODE_PAGE)


class MailNote(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.bin = tempfile.mkdtemp(prefix="pinvel-mail-")
        self.addCleanup(shutil.rmtree, self.bin, True)
        self.record = os.path.join(self.bin, "mail.txt")
        fake = os.path.join(self.bin, "xdg-email")
        with open(fake, "w") as f:
            # Renamed when complete, so that a reader never sees half of it.
            f.write('#!/bin/sh\nfor a in "$@"; do printf "%%s\\n" "$a"; done > "%s.new" && mv "%s.new" "%s"\n'
                    % (self.record, self.record, self.record))
        os.chmod(fake, stat.S_IRWXU)

    def mail_from_note(self, title):
        e2e.put_note(self.folder.path, "N021215 (1).pvl", e2e.note_file(title, "anna", NOTE_TEXT))
        env = dict(os.environ, PATH=self.bin + os.pathsep + os.environ["PATH"])
        self.folder.start(env=env)
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        tray = e2e.tray_window(logic)
        e2e.show_note(tray, 0)
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note)
        e2e.probe("post", note, e2e.WM_COMMAND, 32777, 0)
        self.assertTrue(e2e.poll(lambda: os.path.exists(self.record), 20), "the mail program was not reached")
        with open(self.record, encoding="utf-8", errors="replace") as f:
            args = f.read().splitlines()
        url = [a for a in args if a.startswith("mailto:")]
        self.assertEqual(len(url), 1, args)
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(url[0]).query, keep_blank_values=True)
        return query

    def test_title_is_the_subject_and_plain_text_the_body(self):
        query = self.mail_from_note("购物 list")
        self.assertEqual(query.get("subject"), [through_wine("购物 list")])
        self.assertEqual(query.get("body"), [through_wine("first line\r\nsecond 你好")])


if __name__ == "__main__":
    unittest.main(verbosity=2)
