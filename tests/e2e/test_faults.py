"""Faults around the program's files: a read-only program folder, a full disk, a notes
folder that is a file, a note file held open by another program at exit. The program
keeps running and ends normally, and no file that was on disk is lost or damaged."""
import os
import shutil
import subprocess
import tempfile
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import NOTES


def mount_tmpfs(path, size):
    """A small file system of its own; None when this machine does not allow it."""
    done = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%s" % size, "tmpfs", path], capture_output=True)
    return done.returncode == 0


class Faults(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def write_note(self, folder, name, title, text):
        data = e2e.note_file(title, "tester", b"{\\rtf1 " + text + b"}")
        e2e.put_note(folder, name, data)
        return data

    def tray(self):
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        return e2e.tray_window(logic)

    def type_into_the_note(self, tray, text):
        """Shows the only note and types into it: a change the program must then try to
        save."""
        e2e.probe("post", tray, e2e.WM_COMMAND, 32791, 0)  # show all
        notes = e2e.poll(lambda: e2e.visible("PCN_NOTE"))
        self.assertEqual(len(notes), 1)
        self.assertTrue(e2e.type_into(notes[0]["hwnd"], text), "the note took the typed text")

    def exit_normally(self, proc):
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def test_notes_folder_that_is_a_file(self):
        path = os.path.join(self.folder.path, NOTES)
        with open(path, "wb") as f:
            f.write(b"not a folder")
        proc = self.folder.start()
        tray = self.tray()
        self.post_new_note(tray)
        self.type_into_the_note(tray, "lost but harmless")
        self.exit_normally(proc)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), b"not a folder")

    def post_new_note(self, tray):
        self.assertIsNotNone(e2e.new_note(tray))

    def test_note_file_held_open_at_exit(self):
        data = self.write_note(self.folder.path, "N021215 (1).pvl", "held", b"old text")
        path = os.path.join(self.folder.path, NOTES, "N021215 (1).pvl")
        proc = self.folder.start()
        tray = self.tray()
        self.type_into_the_note(tray, "new text")
        with subprocess.Popen(["wine", e2e.PROBE, "hold", "Z:" + path, "15000"], stdout=subprocess.PIPE) as holder:
            self.assertEqual(holder.stdout.readline().strip(), b"held")
            self.exit_normally(proc)
            holder.wait(timeout=30)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), data, "the held file is kept as it was")
        self.assertEqual(os.listdir(os.path.join(self.folder.path, NOTES)), ["N021215 (1).pvl"])

    def small_program_folder(self, size):
        where = tempfile.mkdtemp(prefix="pinvel-fs-")
        self.addCleanup(shutil.rmtree, where, True)
        if not mount_tmpfs(where, size):
            self.skipTest("this machine does not allow mounting a small file system")
        self.addCleanup(subprocess.run, ["umount", "-l", where], capture_output=True)
        shutil.copy(self.folder.exe, os.path.join(where, "Pinvel.exe"))
        return where

    def start_in(self, where):
        proc = subprocess.Popen(["wine", os.path.join(where, "Pinvel.exe")], cwd=where, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.folder.running.append(proc)
        return proc

    def exit_in(self, where, proc):
        done = subprocess.run(["wine", os.path.join(where, "Pinvel.exe"), "-exit"], cwd=where, capture_output=True,
                              timeout=60)
        self.assertEqual(done.returncode, 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def snapshot(self, where):
        files = {}
        for top, _, names in os.walk(where):
            for name in names:
                with open(os.path.join(top, name), "rb") as f:
                    files[os.path.relpath(os.path.join(top, name), where)] = f.read()
        return files

    def test_full_disk(self):
        where = self.small_program_folder("4m")
        self.write_note(where, "N021215 (1).pvl", "full", b"kept on a full disk")
        with open(os.path.join(where, "Pinvel.ini"), "wb") as f:
            f.write(e2e.settings_file(1, (0,) * 9))
        fd = os.open(os.path.join(where, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, b"\x00" * 512) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(fd)
        before = self.snapshot(where)
        proc = self.start_in(where)
        tray = self.tray()
        self.type_into_the_note(tray, "does not fit")
        self.post_new_note(tray)
        self.exit_in(where, proc)
        self.assertEqual(self.snapshot(where), before, "nothing on disk lost or damaged")

    def test_read_only_program_folder(self):
        where = self.small_program_folder("8m")
        self.write_note(where, "N021215 (1).pvl", "read only", b"cannot change")
        before = self.snapshot(where)
        if subprocess.run(["mount", "-o", "remount,ro", where], capture_output=True).returncode != 0:
            self.skipTest("cannot make the file system read-only here")
        proc = self.start_in(where)
        tray = self.tray()
        self.type_into_the_note(tray, "changed")
        self.post_new_note(tray)
        self.exit_in(where, proc)
        self.assertEqual(self.snapshot(where), before)


if __name__ == "__main__":
    unittest.main(verbosity=2)
