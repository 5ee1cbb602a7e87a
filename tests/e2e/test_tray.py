"""The notification-area side of Pinvel: the tray window's icon messages make notes and
open the owner-drawn tray menu; About opens from it."""
import os
import shutil
import subprocess
import time
import unittest

import pinvel_e2e as e2e

WM_COMMAND = 0x0111
WM_TRAY_NOTIFY = 0x7EA
WM_LBUTTONDBLCLK = 0x203
WM_RBUTTONDOWN = 0x204


def notes():
    return [w for w in e2e.top_level_windows() if w["cls"] == "PCN_NOTE" and w["visible"]]


class TrayIcon(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        help_file = os.path.join(e2e.WIN32_DIR, "Pinvel.chm")
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

    def wait_for(self, condition, seconds=10):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if condition():
                return True
            time.sleep(0.2)
        return False

    def test_double_click_makes_a_note_and_the_menu_and_about_open(self):
        self.post(WM_TRAY_NOTIFY, 1, WM_LBUTTONDBLCLK)
        self.assertTrue(self.wait_for(lambda: len(notes()) == 1), "one note on screen")
        self.post(WM_TRAY_NOTIFY, 1, WM_LBUTTONDBLCLK)
        self.assertTrue(self.wait_for(lambda: len(notes()) == 2))

        # The menu's bottom-right corner sits at the cursor: eight items of 19 pixels and
        # three separators of 7 above it, the show-note submenu third from the top.
        subprocess.run(["xdotool", "mousemove", "900", "700"], capture_output=True)
        self.post(WM_TRAY_NOTIFY, 1, WM_RBUTTONDOWN)
        time.sleep(1.5)
        subprocess.run(["xdotool", "mousemove", "830", str(700 - 3 - 8 * 19 - 3 * 7 + 19 + 7 + 9)],
                       capture_output=True)
        time.sleep(1.5)
        e2e.screenshot("tray-menu.png")
        # A click elsewhere closes the menu.
        subprocess.run(["xdotool", "mousemove", "60", "740", "click", "1"], capture_output=True)
        time.sleep(0.5)

        self.post(WM_COMMAND, 32794, 0)
        about = lambda: [w for w in e2e.top_level_windows() if w["title"] == "关于Pinvel" and w["visible"]]
        self.assertTrue(self.wait_for(lambda: len(about()) == 1), "About comes up")
        time.sleep(0.5)
        e2e.screenshot("about.png")

        if os.path.exists(os.path.join(self.folder.path, "Pinvel.chm")):
            self.post(WM_COMMAND, 32793, 0)
            helps = lambda: [w for w in e2e.top_level_windows() if w["title"] == "Pinvel 帮助" and w["visible"]]
            self.assertTrue(self.wait_for(lambda: len(helps()) == 1, 20), "Help opens Pinvel.chm")

        self.post(WM_COMMAND, 32795, 0)
        self.assertEqual(self.proc.wait(timeout=20), 0, "exit from the tray menu")


if __name__ == "__main__":
    unittest.main(verbosity=2)
