"""The notification-area side of Pinvel: the tray window's icon messages make notes and
open the owner-drawn tray menu; About opens from it."""
import os
import shutil
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, WM_LBUTTONDBLCLK

WM_RBUTTONDOWN = 0x204


class TrayIcon(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        help_file = os.path.join(e2e.WIN_DIR, "Pinvel.chm")
        if os.path.exists(help_file):
            shutil.copy(help_file, self.folder.path)
        self.proc = self.folder.start()
        self.logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(self.logic)
        self.tray = e2e.tray_window(self.logic)
        self.assertIsNotNone(self.tray)

    def post(self, msg, wparam, lparam):
        code, _ = e2e.probe("post", self.tray, msg, wparam, lparam)
        self.assertEqual(code, 0)

    def test_double_click_makes_a_note_and_the_menu_and_about_open(self):
        self.assertTrue(e2e.tray_event(self.tray, WM_LBUTTONDBLCLK))
        self.assertTrue(e2e.poll(lambda: len(e2e.visible("PCN_NOTE")) == 1), "one note on screen")
        self.assertTrue(e2e.tray_event(self.tray, WM_LBUTTONDBLCLK))
        self.assertTrue(e2e.poll(lambda: len(e2e.visible("PCN_NOTE")) == 2))

        # The menu opens with its bottom-right corner at the cursor, as the icon sits in the
        # corner of the screen, and a click elsewhere closes it.
        self.assertTrue(e2e.move_mouse(900, 700))
        self.assertTrue(e2e.tray_event(self.tray, WM_RBUTTONDOWN))
        menu = e2e.poll(lambda: e2e.visible("#32768"))
        self.assertTrue(menu, "the tray menu opens")
        self.assertEqual(e2e.rect(menu[0]["hwnd"])[2:], (900, 700))
        self.assertTrue(e2e.click_menu_away(), "a click elsewhere closes the menu")

        self.post(WM_COMMAND, 32794, 0)
        about = lambda: [w for w in e2e.top_level_windows() if w["title"] == "关于Pinvel" and w["visible"]]
        self.assertTrue(e2e.poll(lambda: len(about()) == 1), "About comes up")

        if os.path.exists(os.path.join(self.folder.path, "Pinvel.chm")):
            self.post(WM_COMMAND, 32793, 0)
            # The help file keeps its title in code page 936, and the help viewer shows it
            # in the system's: on 1252, as the Latin letters of those bytes.
            title = "Pinvel " + "帮助".encode("gbk").decode("cp%d" % e2e.CODE_PAGE)
            helps = lambda: [w for w in e2e.top_level_windows() if w["title"] == title and w["visible"]]
            self.assertTrue(e2e.poll(lambda: len(helps()) == 1, 20), "Help opens Pinvel.chm")

        self.post(WM_COMMAND, 32795, 0)
        self.assertEqual(self.proc.wait(timeout=20), 0, "exit from the tray menu")


if __name__ == "__main__":
    unittest.main(verbosity=2)
