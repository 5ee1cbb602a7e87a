"""What writers ask of a note beyond typing: check lists and bullets made and ticked with
real keys and clicks, a lock that keeps its text as it is by every road, kept across a
restart, a paste that leaves the source's formatting behind, and a note made from the
clipboard by a key."""
import os
import subprocess
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import NOTES, WM_COMMAND

NOTE_DELETE = 32772
NOTE_LOCK = 32854
SIDE_FILE = "笔记设置.txt"
RED_RTF = r"{\rtf1\ansi{\colortbl;\red255\green0\blue0;}\cf1\b\fs48 pasted\par}"


class Lists(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.name = "N021215 (1).pvl"
        self.path = e2e.put_note(self.folder.path, self.name,
                                 e2e.note_file("购物", "anna", b"{\\rtf1\\ansi\\f0\\fs24 milk\\par}"))

    def start(self):
        proc = self.folder.start()
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertIsNotNone(tray)
        self.assertTrue(e2e.show_note(tray, 0))
        note = e2e.wait_window("PCN_NOTE")
        return proc, note, e2e.editor(note)

    def keys(self, note, *keys):
        """Real keys into the note's text, the caret at its end."""
        left, top, _, _ = e2e.rect(note)
        e2e.xdo("mousemove", left + 40, top + 60, "click", 1)
        e2e.keep_x_focus()
        e2e.xdo("key", "ctrl+End", *keys)

    def exit(self, proc):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def test_a_locked_note_keeps_its_text_by_every_road_and_across_a_restart(self):
        proc, note, edit = self.start()
        e2e.probe("post", note, WM_COMMAND, NOTE_LOCK, 0)
        e2e.probe("clip", "eggs")
        self.keys(note, "x", "y", "ctrl+v", "ctrl+shift+v", "BackSpace")
        # Deleting asks first; Enter takes the answer offered, which keeps the note.
        e2e.probe("post", note, WM_COMMAND, NOTE_DELETE, 0)
        self.assertTrue(e2e.poll(lambda: e2e.visible("#32770")), "deleting a locked note asks")
        e2e.xdo("key", "Return")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("#32770")))
        self.assertEqual(e2e.text(edit).strip(), "milk")
        self.assertTrue(os.path.exists(self.path), "kept")
        self.exit(proc)
        with open(os.path.join(self.folder.path, NOTES, SIDE_FILE), encoding="utf-8-sig") as f:
            self.assertIn("locked=1", f.read())

        # Still locked after a restart; unlocked, the same keys change the text, and the
        # plain paste brings the words without the source's red.
        proc, note, edit = self.start()
        self.keys(note, "x")
        self.assertEqual(e2e.text(edit).strip(), "milk")
        e2e.probe("post", note, WM_COMMAND, NOTE_LOCK, 0)
        e2e.probe("clip", "pasted", RED_RTF)
        self.keys(note, "space", "ctrl+shift+v")
        self.assertTrue(e2e.poll(lambda: "milk pasted" in (e2e.text(edit) or "")), e2e.text(edit))
        self.exit(proc)
        with open(self.path, "rb") as f:
            saved = f.read()
        self.assertIn(b"pasted", saved)
        self.assertNotIn(b"\\red255\\green0\\blue0", saved)
        self.assertNotIn(b"\\fs48", saved)


    def test_the_clipboard_key_makes_a_note_of_the_clipboards_text_or_says_there_is_none(self):
        proc = self.folder.start()
        self.assertIsNotNone(e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS)))

        def clip(text):
            subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(), env=e2e.on_machine([])[1],
                           timeout=10, check=True)
            # Wine takes the X clipboard over a moment later: the key waits until Windows
            # programs see the new text.
            words = "".join(text.split())
            self.assertTrue(e2e.poll(lambda: "".join("".join(e2e.probe("clipped")[1]).split()) == words))
            e2e.keep_x_focus()
            e2e.xdo("key", "ctrl+alt+v")

        clip("\n  Shopping list \nmilk 牛奶\n")
        note = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(note, "a note comes up")
        self.assertTrue(e2e.poll(lambda: "milk 牛奶" in (e2e.text(e2e.editor(note)) or "")))
        clip(" \n")
        self.assertTrue(e2e.poll(e2e.balloon), "an empty clipboard is told of")
        self.assertEqual(len(e2e.visible("PCN_NOTE")), 1, "and makes no note")
        self.exit(proc)
        made = [p for p in e2e.saved_notes(self.folder.path) if p != self.path]
        self.assertEqual(len(made), 1)
        with open(made[0], "rb") as f:
            saved = f.read()
        self.assertLess(saved.find(b"Shopping list"), saved.find(b"{\\rtf"), "the first line is its title")
        self.assertNotEqual(saved.find(b"Shopping list"), -1)


    def test_lists_are_typed_ticked_continued_and_ended_and_come_back_as_they_were(self):
        proc, note, edit = self.start()
        left, top, _, _ = e2e.rect(edit)
        self.keys(note, "ctrl+a", "Delete")
        for keys in (["[] milk"], ["Return", "eggs", "Return", "Return"], ["- one", "Return", "two", "Return", "Return"],
                     ["[ ] x"], ["Home", "Right", "Right", "BackSpace"]):
            for key in keys:
                e2e.type_keys(key) if " " in key or key.islower() else e2e.xdo("key", key)
        # The first line's box, at the text's left edge: a click ticks it and strikes its text.
        e2e.xdo("mousemove", left + 6, top + 10, "click", 1)
        # Enter on an empty item ends the list there: what is typed next is the next line.
        expected = "\u2611 milk\n\u2610 eggs\n\u2022 one\n\u2022 two\nx"
        self.assertTrue(e2e.poll(lambda: (e2e.text(edit) or "").strip() == expected), repr(e2e.text(edit)))
        self.exit(proc)
        with open(self.path, "rb") as f:
            saved = f.read()
        # A bullet the code page has is written in it (\\'95 in 1252); the boxes never are.
        for kept in (b"\\u9745", b"\\u9744", b"\\strike"):
            self.assertIn(kept, saved)

        # Read back, Ctrl+D unticks the first box again.
        proc, note, edit = self.start()
        self.assertEqual((e2e.text(edit) or "").strip(), expected)
        self.keys(note, "ctrl+Home", "ctrl+d")
        self.assertTrue(e2e.poll(lambda: (e2e.text(edit) or "").startswith("\u2610 milk")), repr(e2e.text(edit)))


if __name__ == "__main__":
    unittest.main(verbosity=2)
