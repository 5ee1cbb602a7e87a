"""Start and stop of the real program: the exit switch, the running copy, the notice."""
import os
import time
import unittest

import pinvel_e2e as e2e


class Startup(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.assertTrue(e2e.window_gone(e2e.LOGIC_CLASS, timeout_ms=5000), "a copy from elsewhere is running")

    def start_running_copy(self):
        proc = self.folder.start()
        hwnd = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(hwnd, "the logic window did not appear")
        return proc, hwnd

    def test_exit_switch_with_no_copy_running_makes_nothing(self):
        before = self.folder.listing()
        started = time.time()
        self.assertEqual(self.folder.run("/EXIT"), 0)
        self.assertLess(time.time() - started, 15)
        self.assertEqual(self.folder.listing(), before, "no file or folder may appear")
        self.assertTrue(e2e.window_gone(e2e.LOGIC_CLASS))

    def test_exit_switch_ends_the_running_copy_before_the_sender_returns(self):
        for switch in ("-exit", "/Exit", "a/exitb"):
            with self.subTest(switch=switch):
                settings = os.path.join(self.folder.path, "Pinvel.ini")
                if os.path.exists(settings):
                    os.remove(settings)
                first, _ = self.start_running_copy()
                self.assertEqual(self.folder.run(switch), 0)
                # The sender waited for the shutdown: saved, and the window already gone.
                self.assertTrue(os.path.exists(settings), "settings saved before the sender returned")
                self.assertTrue(e2e.window_gone(e2e.LOGIC_CLASS, timeout_ms=0))
                self.assertEqual(first.wait(timeout=15), 0)
                self.assertTrue(e2e.window_gone("#32770", e2e.NOTICE_CAPTION), "no notice with the switch")

    def test_second_start_shows_the_notice_and_leaves_the_first_running(self):
        first, logic = self.start_running_copy()
        second = self.folder.start()
        notice = e2e.wait_window("#32770", e2e.NOTICE_CAPTION)
        self.assertIsNotNone(notice, "the already-running notice did not appear")
        texts = [c["text"] for c in e2e.children(notice)]
        self.assertIn("确定", texts)
        self.assertIn("Pinvel 启动后停留在系统托盘中(屏幕右边下方位置)。 双击图标能够创造一个新笔记， "
                      "或者右单击弹出程序主菜单。", texts)
        self.assertIsNone(second.poll(), "the notice is modal: the second copy waits")

        self.assertEqual(e2e.probe("command", notice, 1)[0], 0)
        self.assertEqual(second.wait(timeout=15), 0)
        self.assertIsNone(first.poll())
        self.assertEqual(e2e.wait_window(e2e.LOGIC_CLASS, timeout_ms=0), logic, "the first copy is undisturbed")

    def test_two_copies_started_at_once_leave_one_running_copy(self):
        both = [self.folder.start(), self.folder.start()]
        notice = e2e.wait_window("#32770", e2e.NOTICE_CAPTION, timeout_ms=30000)
        self.assertIsNotNone(notice, "the copy that lost the race shows the notice")
        self.assertIsNotNone(e2e.wait_window(e2e.LOGIC_CLASS))
        logic = [w for w in e2e.top_level_windows() if w["cls"] == e2e.LOGIC_CLASS]
        self.assertEqual(len(logic), 1, "exactly one running copy")
        e2e.probe("command", notice, 1)
        e2e.poll(lambda: any(p.poll() is not None for p in both), 15)
        self.assertEqual(sorted(p.poll() is None for p in both), [False, True])

    def test_first_start_with_no_notes_opens_no_window(self):
        self.start_running_copy()
        logic = [w for w in e2e.top_level_windows() if w["cls"] == e2e.LOGIC_CLASS]
        self.assertEqual(len(logic), 1)
        time.sleep(2)
        ours = [w for w in e2e.top_level_windows() if w["pid"] == logic[0]["pid"]]
        self.assertEqual([w for w in ours if w["visible"]], [])
        self.assertEqual([w for w in ours if w["cls"] == "PCN_NOTE"], [])

    def snapshot(self):
        found = {}
        for top, _, files in os.walk(self.folder.path):
            for name in files:
                path = os.path.join(top, name)
                with open(path, "rb") as f:
                    found[os.path.relpath(path, self.folder.path)] = f.read()
        return found

    def test_without_an_editor_the_start_ends_before_a_note_is_touched(self):
        # A folder as a user's is after some use: a note, more deleted notes than are kept.
        e2e.put_note(self.folder.path, "N1.pvl", e2e.note_file("kept", "anna", b"{\\rtf1 milk}"))
        self.start_running_copy()
        self.assertEqual(self.folder.run("-exit"), 0)
        deleted = os.path.join(self.folder.path, e2e.NOTES, "已删除")
        os.makedirs(deleted, exist_ok=True)
        for i in range(110):
            path = os.path.join(deleted, "D%d.pvl" % i)
            with open(path, "wb") as f:
                f.write(e2e.note_file("gone %d" % i))
            os.utime(path, (1700000000 + i, 1700000000 + i))
        before = self.snapshot()

        # A Windows whose rich-edit library cannot be loaded.
        env = dict(e2e.on_machine([])[1] or os.environ)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";riched20=d"
        proc = self.folder.start(env=env)
        box = e2e.wait_window("#32770", "Pinvel", timeout_ms=30000)
        self.assertIsNotNone(box, "the error box")
        texts = [c["text"] for c in e2e.children(box)]
        self.assertTrue(any("Code: 20002" in t for t in texts), texts)
        e2e.probe("command", box, 1)
        self.assertEqual(proc.wait(timeout=15), 1)
        self.assertEqual(self.snapshot(), before, "no note read into a save, none purged, nothing written")


if __name__ == "__main__":
    unittest.main(verbosity=2)
