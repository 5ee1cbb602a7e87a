"""Messages from other programs: the program's private messages, posted with junk
arguments by anyone on the desktop, never crash it; the taskbar's restart is heard."""
import unittest

import pinvel_e2e as e2e

WM_NULL = 0x0000
WM_CLOSE = 0x0010
WM_RBUTTONDOWN = 0x0204
WM_PASTE = 0x0302
PRIVATE = [0x7E8, 0x7E9, 0x7EA, 0x7EB, 0x1788]  # WM_LOGIC_EXIT would only end it


class HostileMessages(unittest.TestCase):
    def start(self):
        """The program in a fresh folder: the folder, the process, its logic and tray windows."""
        folder = e2e.ProgramFolder()
        self.addCleanup(folder.close)
        proc = folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        tray = e2e.tray_window(logic)
        self.assertIsNotNone(tray)
        return folder, proc, logic, tray

    def test_junk_private_messages_to_every_window_change_nothing(self):
        folder, proc, logic, tray = self.start()
        note = e2e.new_note(tray)
        self.assertIsNotNone(note)
        e2e.probe("clip", "written before the flood")
        e2e.probe("send", e2e.editor(note), WM_PASTE, 0, 0)

        code, lines = e2e.probe("flood", logic, *PRIVATE, timeout=60)
        self.assertEqual(code, 0)
        windows, posted = map(int, lines[0].split())
        self.assertGreater(windows, 10, "the logic, tray, note, editor, buttons and dummy windows")
        self.assertEqual(posted, windows * len(PRIVATE) * 16)

        # Still answering: a sent message comes back once every posted one is handled.
        code, lines = e2e.probe("send", logic, WM_NULL, 0, 0, timeout=30)
        self.assertEqual(code, 0)
        self.assertIsNone(proc.poll(), "still running")
        self.assertEqual(folder.run("-exit", timeout=60), 0)
        self.assertEqual(proc.wait(timeout=30), 0)
        saved = e2e.saved_notes(folder.path)
        self.assertEqual(len(saved), 1)
        with open(saved[0], "rb") as f:
            self.assertIn(b"written before the flood", f.read())

    def test_owner_draw_messages_with_foreign_item_data_while_the_menu_is_open(self):
        folder, proc, _, tray = self.start()
        e2e.tray_event(tray, WM_RBUTTONDOWN)
        self.assertTrue(e2e.poll(lambda: e2e.visible("#32768")), "the tray menu opens")
        # Measured as an item without a record: a read of the data would fault, which the
        # system swallows in a window procedure, and the measure would answer 0.
        for data in (1, 0x12345678, 0xDEADBEEF):
            self.assertEqual(e2e.probe("ownerdraw", tray, e2e.SHOW_ALL, data)[1], ["1"], hex(data))
        # Still the menu's own: a click away closes it, given again if the first was lost.
        self.assertTrue(e2e.click_menu_away(10, 10))
        self.assertEqual(folder.run("-exit", timeout=60), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def test_close_from_outside_saves_and_alt_f4_hides_a_note(self):
        folder, proc, logic, tray = self.start()
        note = e2e.new_note(tray)
        self.assertTrue(e2e.type_into(note, "closed with alt f4"))

        # Alt+F4 is the note's hide: saved, and shown again from the tray like any other.
        e2e.xdo("key", "alt+F4")
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")), "Alt+F4 hides the note")
        self.assertTrue(e2e.poll(lambda: any(b"closed with alt f4" in open(p, "rb").read()
                                             for p in e2e.saved_notes(folder.path))), "saved when hidden")
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.SHOW_ALL, 0)
        shown = e2e.poll(lambda: e2e.visible("PCN_NOTE"))
        self.assertEqual(len(shown), 1)
        self.assertIn("closed with alt f4", e2e.text(e2e.editor(shown[0]["hwnd"])))

        # What taskkill without /F sends: the program saves and ends as with -exit.
        self.assertTrue(e2e.type_into(shown[0]["hwnd"], " and then closed"))
        e2e.probe("post", logic, WM_CLOSE, 0, 0)
        self.assertEqual(proc.wait(timeout=30), 0)
        with open(e2e.saved_notes(folder.path)[0], "rb") as f:
            self.assertIn(b"and then closed", f.read())


if __name__ == "__main__":
    unittest.main(verbosity=2)
