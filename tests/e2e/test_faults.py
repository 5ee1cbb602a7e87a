"""Faults around the program's files: a read-only program folder, a full disk, a notes
folder that is a file, a note file held open by another program at exit. The program
keeps running and ends normally, no file that was on disk is lost or damaged, and no
text typed is lost: it goes to the user's folders and comes back."""
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


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Faults(unittest.TestCase):
    def setUp(self):
        # Reads none of the program's texts: the folder stays exactly as the test wrote it.
        self.folder = e2e.ProgramFolder(language=None)
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
        rescue, files = e2e.rescued()
        self.assertEqual(len(files), 1, "the typed text is rescued")
        self.assertIn(b"new text", read(os.path.join(rescue, files[0])))

        # The next start brings it back as a note of its own, on the screen.
        proc = self.folder.start()
        self.assertEqual(len(e2e.poll(lambda: e2e.visible("PCN_NOTE"), 30)), 1)
        names = sorted(os.listdir(os.path.join(self.folder.path, NOTES)))
        self.assertEqual(names, ["N021215 (1).pvl", "N021215 (2).pvl"])
        self.assertIn(b"new text", read(os.path.join(self.folder.path, NOTES, names[1])))
        self.assertEqual(e2e.rescued()[1], [])
        self.assertTrue(e2e.poll(e2e.balloon), "the user is told")
        self.exit_normally(proc)

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

    def fill(self, where):
        fd = os.open(os.path.join(where, "filler"), os.O_WRONLY | os.O_CREAT)
        try:
            while os.write(fd, b"\x00" * 512) > 0:
                pass
        except OSError:
            pass
        finally:
            os.close(fd)

    def caption_mark(self, note):
        """The colours at the left end of the note's caption, where a note that could not be
        saved shows its warning mark."""
        left, top, _, _ = e2e.rect(note)
        return e2e.colours(left + 4, top + 3, left + 18, top + 15)

    def test_full_disk(self):
        where = self.small_program_folder("4m")
        self.write_note(where, "N021215 (1).pvl", "full", b"kept on a full disk")
        with open(os.path.join(where, "Pinvel.ini"), "wb") as f:
            f.write(e2e.settings_file(1, (0,) * 9))
        self.fill(where)
        before = self.snapshot(where)
        proc = self.start_in(where)
        tray = self.tray()
        self.type_into_the_note(tray, "does not fit")
        note = e2e.visible("PCN_NOTE")[0]["hwnd"]
        clean = self.caption_mark(note)
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.HIDE_ALL, 0)
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")))
        self.assertEqual(self.snapshot(where), before, "nothing on disk lost or damaged")
        self.assertTrue(e2e.poll(e2e.balloon), "the user is told")
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.SHOW_ALL, 0)
        note = e2e.poll(lambda: e2e.visible("PCN_NOTE"))[0]["hwnd"]
        self.assertTrue(e2e.poll(lambda: len(self.caption_mark(note) - clean) >= 3), "the caption shows the mark")

        # Room again: the next save works, without a restart.
        os.remove(os.path.join(where, "filler"))
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.HIDE_ALL, 0)
        path = os.path.join(where, NOTES, "N021215 (1).pvl")
        self.assertTrue(e2e.poll(lambda: b"does not fit" in read(path)))
        self.exit_in(where, proc)
        self.assertEqual(e2e.rescued()[1], [], "nothing left to rescue")

    def test_read_only_program_folder(self):
        where = self.small_program_folder("8m")
        self.write_note(where, "N021215 (1).pvl", "read only", b"in the program folder")
        # What an older copy wrote while Windows redirected it into the VirtualStore.
        store = os.path.join(e2e.user_folders()[1], "VirtualStore", where.lstrip("/"), NOTES)
        os.makedirs(store)
        self.write_note(os.path.dirname(store), "N021215 (1).pvl", "redirected", b"in the VirtualStore")
        before = self.snapshot(where)
        if subprocess.run(["mount", "-o", "remount,ro", where], capture_output=True).returncode != 0:
            self.skipTest("cannot make the file system read-only here")
        home = os.path.join(e2e.user_folders()[0], "Pinvel", NOTES)
        proc = self.start_in(where)
        tray = self.tray()
        self.assertEqual(sorted(os.listdir(home)), ["N021215 (1).pvl", "N021215 (2).pvl"], "both copied over")
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.SHOW_ALL, 0)
        self.assertEqual(len(e2e.poll(lambda: len(e2e.visible("PCN_NOTE")) == 2 and e2e.visible("PCN_NOTE"))), 2)
        e2e.probe("post", tray, e2e.WM_COMMAND, e2e.HIDE_ALL, 0)
        self.assertTrue(e2e.poll(lambda: not e2e.visible("PCN_NOTE")))
        self.assertTrue(e2e.type_into(e2e.new_note(tray), "typed here"))
        self.exit_in(where, proc)
        self.assertEqual(self.snapshot(where), before, "the program folder as it was")
        typed = [n for n in os.listdir(home) if b"typed here" in read(os.path.join(home, n))]
        self.assertEqual(len(typed), 1, "the text typed is in the user's folder")

        # The next start uses the same folder and copies nothing again.
        proc = self.start_in(where)
        self.assertTrue(e2e.lists_notes(e2e.wait_window(e2e.LOGIC_CLASS), 3))
        self.exit_in(where, proc)
        self.assertEqual(len(os.listdir(home)), 3)


if __name__ == "__main__":
    unittest.main(verbosity=2)
