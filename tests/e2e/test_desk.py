"""How notes sit on the desk, driven with real keys and the mouse: typing reaches a new
note at once, the three hotkeys, a key another program holds, the window levels read in
the z-order from outside, see-through notes opaque under the pointer, Ctrl+wheel zoom
kept across a restart, and the side file that keeps all of it."""
import os
import subprocess
import time
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import NOTES, poll, probe, rect, visible, xdo

TRAY_ICON = (1270, 790)
SIDE_FILE = "笔记设置.txt"
HOTKEYS = 32852
CTRL_ALT = 3  # RegisterHotKey's MOD_ALT | MOD_CONTROL
HKM_SETHOTKEY = 0x0401
IDC_HOTKEY_NEW = 1150
IDOK = 1
IDCANCEL = 2
NOTE = "N021215 (1).pvl"


def probe_in_background(*args):
    """A probe that keeps running (holding a key, showing a window); its first line says
    it is ready."""
    return subprocess.Popen(["wine", e2e.PROBE, *map(str, args)], stdout=subprocess.PIPE)


class Desk(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def start(self, side=None, notes=(NOTE,), drawn=False):
        for i, name in enumerate(notes):
            # Side by side, each at its own place, their captions above y 250.
            look = e2e.DEFAULT_LOOK[:5] + (20 + 390 * i, 100, 320 + 390 * i, 400)
            e2e.put_note(self.folder.path, name, e2e.note_file(name[:-4], "tester", b"{\\rtf1 text}", look))
        if side is not None:
            with open(os.path.join(self.folder.path, NOTES, SIDE_FILE), "wb") as f:
                f.write(side)
        proc = self.folder.start(drawn=drawn)
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        self.tray = e2e.tray_window(logic)
        self.assertTrue(not notes or e2e.lists_notes(logic, len(notes)), "every note loads")
        return proc

    def side_file(self):
        with open(os.path.join(self.folder.path, NOTES, SIDE_FILE), "rb") as f:
            return f.read().decode("utf-8", "replace")

    def show_all(self, count):
        """The notes' windows, left to right."""
        probe("post", self.tray, e2e.WM_COMMAND, e2e.SHOW_ALL, 0)
        notes = poll(lambda: len(visible("PCN_NOTE")) == count and visible("PCN_NOTE"))
        self.assertTrue(notes, "the notes show")
        return sorted((n["hwnd"] for n in notes), key=lambda hwnd: rect(hwnd)[0])

    def exit(self, proc):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def alpha(self, hwnd):
        # A probe that stalled under Wine prints nothing: it is asked again.
        return poll(lambda: (probe("layered", hwnd)[1] or [None])[0], 10)

    def dialogs(self, title):
        return [w for w in visible("#32770") if w["title"] == title]

    def test_keys_go_to_the_text_and_the_hotkeys_work(self):
        self.start(notes=())
        # A new user's first steps: a double click on the icon, then typing, no click.
        xdo("mousemove", *TRAY_ICON, "click", "--repeat", 2, "--delay", 80, 1)
        first = e2e.wait_window("PCN_NOTE")
        self.assertIsNotNone(first)
        time.sleep(0.5)
        e2e.type_keys("typed at once")
        edit = e2e.editor(first)
        self.assertTrue(poll(lambda: e2e.text(edit) == "typed at once"), e2e.text(edit))

        xdo("key", "ctrl+alt+n")
        notes = poll(lambda: len(visible("PCN_NOTE")) == 2 and visible("PCN_NOTE"))
        self.assertTrue(notes, "Ctrl+Alt+N makes a note")
        second = next(n["hwnd"] for n in notes if n["hwnd"] != first)
        time.sleep(0.5)
        e2e.type_keys("second")
        self.assertTrue(poll(lambda: e2e.text(e2e.editor(second)) == "second"))

        xdo("key", "ctrl+alt+s")
        self.assertTrue(poll(lambda: not visible("PCN_NOTE")), "Ctrl+Alt+S hides every note")
        xdo("key", "ctrl+alt+s")
        self.assertTrue(poll(lambda: len(visible("PCN_NOTE")) == 2), "and shows them again")
        xdo("key", "ctrl+alt+f")
        self.assertTrue(poll(lambda: self.dialogs("查找笔记")), "Ctrl+Alt+F finds notes")

    def test_a_key_another_program_holds_is_told_once_and_refused_in_the_dialog(self):
        with probe_in_background("hotkey", CTRL_ALT, ord("N"), 60000) as holder:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            proc = self.start(notes=())
            self.assertTrue(poll(e2e.balloon, 10), "the balloon says which key is taken")
            self.assertIn("told=1", self.side_file())
            self.exit(proc)
            proc = self.start(notes=())
            time.sleep(3)
            self.assertFalse(e2e.balloon(), "said once")

            # Giving the taken key again in the dialog is refused with a message.
            probe("post", self.tray, e2e.WM_COMMAND, HOTKEYS, 0)
            dialog = poll(lambda: self.dialogs("快捷键"))
            self.assertTrue(dialog, "the hotkeys dialog opens")
            dialog = dialog[0]["hwnd"]
            control = next(c["hwnd"] for c in e2e.children(dialog) if c["id"] == IDC_HOTKEY_NEW)
            probe("send", control, HKM_SETHOTKEY, (6 << 8) | ord("N"), 0)
            probe("command", dialog, IDOK)
            refused = poll(lambda: [w for w in self.dialogs("快捷键") if w["hwnd"] != dialog])
            self.assertTrue(refused, "a message refuses the key")
            probe("command", refused[0]["hwnd"], IDOK)
            probe("command", dialog, IDCANCEL)
            self.assertTrue(poll(lambda: not self.dialogs("快捷键")))
            holder.kill()
        self.exit(proc)

    def test_levels_and_opacity_from_a_copied_side_file(self):
        side = ("PINVELOPT 1\r\nnote\tN021215 (1).pvl\tstamp=1\tlevel=normal\topacity=70\tzoom=100\r\n"
                "note\tN021215 (2).pvl\tstamp=1\tlevel=desktop\topacity=100\tzoom=100\r\n"
                "note\tN021215 (3).pvl\tstamp=1\tlevel=top\topacity=100\tzoom=100\r\n").encode()
        proc = self.start(side, notes=(NOTE, "N021215 (2).pvl", "N021215 (3).pvl"))
        normal, desktop, top = self.show_all(3)
        with probe_in_background("cover", 0, 250, 1280, 760, 60000) as cover:
            cover_hwnd = int(cover.stdout.readline())

            def order():
                z = [w["hwnd"] for w in e2e.top_level_windows() if w["visible"]]
                return [z.index(h) for h in (top, cover_hwnd, normal, desktop)]
            self.assertTrue(poll(lambda: order() == sorted(order())), "top, the other program, normal, desktop")
            self.assertEqual(self.alpha(normal), "179", "see-through once left")
            self.assertEqual(self.alpha(top), "none", "a note at 100 % is not layered")

            # A click on the desktop note's caption leaves it under the other window.
            left, top_edge, right, _ = rect(desktop)
            xdo("mousemove", left + 20, top_edge + 10, "click", 1)
            time.sleep(1)
            self.assertTrue(order() == sorted(order()), "the desktop note stays below")
            cover.kill()

        # Under the pointer the see-through note is solid, and goes back when left.
        left, top_edge, right, bottom = rect(normal)
        xdo("mousemove", (left + right) // 2, (top_edge + bottom) // 2)
        self.assertTrue(poll(lambda: self.alpha(normal) == "255", 5), "opaque under the pointer")
        xdo("mousemove", 1275, 5)
        self.assertTrue(poll(lambda: self.alpha(normal) == "179", 5), "back when left")
        self.exit(proc)

    def test_zoom_by_ctrl_wheel_is_kept_across_a_restart(self):
        proc = self.start(drawn=True)
        note = self.show_all(1)[0]

        def wheel(clicks):
            left, top, right, bottom = rect(note)
            xdo("mousemove", (left + right) // 2, (top + bottom) // 2)
            xdo("keydown", "ctrl")
            for _ in range(clicks):
                xdo("click", 4)
                time.sleep(0.2)
            xdo("keyup", "ctrl")
        wheel(2)
        self.assertTrue(poll(lambda: "缩放 125%" in self.folder.drawn_texts()), "the zoom is shown")
        self.exit(proc)
        self.assertIn("zoom=125", self.side_file())

        proc = self.start(drawn=True)
        note = self.show_all(1)[0]
        wheel(1)
        self.assertTrue(poll(lambda: "缩放 150%" in self.folder.drawn_texts()), "zoomed on from where it was")
        xdo("key", "ctrl+minus")
        self.assertTrue(poll(lambda: "缩放 125%" in self.folder.drawn_texts()), "Ctrl+- zooms out")
        xdo("key", "ctrl+0")
        self.assertTrue(poll(lambda: "缩放 100%" in self.folder.drawn_texts()), "Ctrl+0 is 100 % again")
        self.exit(proc)

    def test_a_damaged_side_file_loses_only_the_settings(self):
        proc = self.start(b"\xff\xfe\x00garbage\r\nnote\tN021215 (1).pvl\topacity=50")
        note = self.show_all(1)[0]
        self.assertEqual(self.alpha(note), "none", "the note loads with the defaults")
        probe("post", note, e2e.WM_COMMAND, 32846, 0)  # 80 %
        self.assertTrue(poll(lambda: "opacity=80" in self.side_file(), 10), "written whole again")
        self.exit(proc)
        self.assertTrue(self.side_file().startswith("PINVELOPT 1\r\n"))


if __name__ == "__main__":
    unittest.main()
