"""Two PCs whose notes folders a real Syncthing pair keeps in step, on this machine only:
each PC is a Pinvel of its own in a Wine prefix, on a display and under a computer name of
its own. Nothing typed on either is lost."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import pinvel_e2e as e2e
import syncpair
from pinvel_e2e import NOTES, WM_COMMAND, poll

HERE = os.path.dirname(os.path.abspath(__file__))
WINE_RUN = os.path.join(HERE, "..", "..", "tools", "wine-run.sh")
HIDE_ALL, NOTE_DELETE, FIRST_DELETED_COMMAND, WM_RBUTTONDOWN = 32792, 32772, 52000, 0x204


class SecondPC:
    """Another computer: its own Wine prefix, its own display, and its own computer name,
    which Wine takes from the host name of its namespace."""

    def __init__(self, prefix, name):
        # Without user namespaces both PCs share the host's name, which changes no outcome.
        renames = subprocess.run(["unshare", "--user", "--map-root-user", "--uts", "true"], capture_output=True)
        self.name = name if renames.returncode == 0 else None
        ready, told = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                     pass_fds=(told,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(told)
        with os.fdopen(ready) as f:
            display = ":" + f.readline().strip()
        self.env = dict(os.environ, WINEPREFIX=prefix, PINVEL_PREFIX=prefix, DISPLAY=display)
        # Made as every prefix of the tests is, with Wine's desktop and its notification area.
        subprocess.run([WINE_RUN, "--desktop", "1280x800", "true"], env=self.env, check=True, timeout=600,
                       stdout=subprocess.DEVNULL)

    def wrap(self, command):
        if self.name is None:
            return command
        return ["unshare", "--user", "--map-root-user", "--uts", "sh", "-c", 'hostname "$0" && exec "$@"',
                self.name] + command

    def __enter__(self):
        e2e.machine = self
        return self

    def __exit__(self, *exc):
        e2e.machine = None

    def close(self):
        subprocess.run(self.wrap(["wineserver", "-k"]), env=self.env, capture_output=True, timeout=60)
        self.xvfb.kill()
        self.xvfb.wait()


def texts(notes):
    """The bytes of every note file in a notes folder, top level only."""
    found = []
    for path in glob.glob(os.path.join(notes, "*.pvl")):
        with open(path, "rb") as f:
            found.append(f.read())
    return found


def holds(notes, *words):
    return all(any(w.encode() in t for t in texts(notes)) for w in words)


class TwoPCs(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pinvel-sync-")
        self.addCleanup(shutil.rmtree, self.work, True)
        self.pc2 = SecondPC(os.path.join(os.path.dirname(os.environ["WINEPREFIX"]), "wineprefix-pc2"), "PINVEL-PC2")
        self.addCleanup(self.pc2.close)
        self.one = e2e.ProgramFolder()
        self.addCleanup(self.one.close)
        with self.pc2:
            self.two = e2e.ProgramFolder()
        self.addCleanup(self.close_two)
        self.notes1, self.notes2 = (os.path.join(f.path, NOTES) for f in (self.one, self.two))
        os.makedirs(self.notes1)
        os.makedirs(self.notes2)
        self.pair = syncpair.SyncPair(self.notes1, self.notes2, self.work)
        self.pair.start()
        self.addCleanup(self.pair.stop)
        self.one.start()
        self.tray1 = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        with self.pc2:
            self.two.start()
            self.logic2 = e2e.wait_window(e2e.LOGIC_CLASS)
            self.tray2 = e2e.tray_window(self.logic2)
        self.assertTrue(self.tray1 and self.tray2)

    def close_two(self):
        with self.pc2:
            self.two.close()

    def synced(self, *words, seconds=60):
        """Both folders hold the words, once Syncthing and both programs are done."""
        return poll(lambda: self.pair.wait_idle(30) and holds(self.notes1, *words) and holds(self.notes2, *words),
                    seconds)

    def each_listed_once(self):
        """Each PC lists every note file of its folder once: none twice, none missing.

        How many there are is the race's to decide (Syncthing keeps a conflict copy of its
        own when a save comes first), so the count is read from the folder itself, once
        both folders hold the same files."""
        def settled():
            names = set(os.path.basename(p) for p in glob.glob(os.path.join(self.notes1, "*.pvl")))
            return self.pair.wait_idle(30) and names == set(
                os.path.basename(p) for p in glob.glob(os.path.join(self.notes2, "*.pvl"))) and names
        names = poll(settled, 60)
        self.assertTrue(names, "both folders hold the same notes")
        self.assertTrue(self.listed(e2e.wait_window(e2e.LOGIC_CLASS), len(names)), "PC 1 lists each once")
        with self.pc2:
            self.assertTrue(self.listed(self.logic2, len(names)), "PC 2 lists each once")

    @staticmethod
    def listed(logic, count):
        """The program lists count notes once it has looked at what its folder holds now: a
        file that came or went a moment ago takes it a few seconds."""
        return poll(lambda: e2e.lists_notes(logic, count, timeout=10), 60)

    @staticmethod
    def shown(tray, index):
        """The listed note's window, shown from the tray; None when it does not show."""
        return e2e.visible("PCN_NOTE")[0]["hwnd"] if e2e.show_note(tray, index, timeout=30) else None

    def write(self, tray, words, index=None):
        """A new note (index None) or a listed one, typed into with real keys and hidden."""
        note = e2e.new_note(tray) if index is None else self.shown(tray, index)
        self.assertTrue(note and e2e.type_into(note, words), words)
        return note

    def test_notes_typed_edited_and_deleted_on_either_pc_reach_the_other_and_none_is_lost(self):
        # Typed on PC 1: it appears on PC 2, and an open note there follows later edits.
        self.write(self.tray1, "typed on one")
        e2e.probe("post", self.tray1, WM_COMMAND, HIDE_ALL, 0)
        self.assertTrue(self.synced("typed on one"))
        with self.pc2:
            note2 = self.shown(self.tray2, 0)
            self.assertTrue(note2, "PC 2 lists the note")
            edit2 = e2e.editor(note2)
        self.write(self.tray1, " and more", index=0)
        e2e.probe("post", self.tray1, WM_COMMAND, HIDE_ALL, 0)
        with self.pc2:
            self.assertTrue(poll(lambda: "and more" in (e2e.text(edit2) or ""), 30), "the open note takes the edit")

        # Typed on both at once: each PC keeps both texts.
        self.write(self.tray1, " alpha", index=0)
        with self.pc2:
            self.assertTrue(e2e.type_into(note2, " beta"))
        e2e.probe("post", self.tray1, WM_COMMAND, HIDE_ALL, 0)
        with self.pc2:
            # Unless PC 2's minute save came first (Syncthing then keeps a copy of its own),
            # its typing becomes a note beside the one that takes PC 1's text.
            poll(lambda: len(e2e.visible("PCN_NOTE")) == 2, 15)
            e2e.probe("post", self.tray2, WM_COMMAND, HIDE_ALL, 0)
        self.assertTrue(self.synced("alpha", "beta"))
        self.each_listed_once()

        # Deleted on PC 1: it leaves PC 2's list, and PC 2 can bring it back.
        listed = set(os.listdir(self.notes1))
        e2e.probe("post", self.shown(self.tray1, 0) or 0, WM_COMMAND, NOTE_DELETE, 0)
        gone = poll(lambda: listed - set(os.listdir(self.notes1)))
        self.assertTrue(gone, "PC 1 deletes the note")
        first = gone.pop()
        with open(os.path.join(self.notes1, "已删除", first), "rb") as f:
            word = "alpha" if b"alpha" in f.read() else "beta"
        deleted2 = os.path.join(self.notes2, "已删除", first)
        self.assertTrue(poll(lambda: self.pair.wait_idle(30) and os.path.exists(deleted2)
                             and not os.path.exists(os.path.join(self.notes2, first)), 60))
        with self.pc2:
            left = len(glob.glob(os.path.join(self.notes2, "*.pvl")))
            self.assertTrue(self.listed(self.logic2, left), "PC 2 no longer lists the deleted note")
            e2e.tray_event(self.tray2, WM_RBUTTONDOWN)
            self.assertTrue(poll(lambda: e2e.visible("#32768")), "the tray menu opens")
            self.assertTrue(e2e.click_menu_away())
            e2e.probe("post", self.tray2, WM_COMMAND, FIRST_DELETED_COMMAND, 0)
            back = poll(lambda: e2e.visible("PCN_NOTE"))
            # Typing goes where the click put the caret: the words, not their order, are checked.
            self.assertTrue(back and poll(lambda: word in (e2e.text(e2e.editor(back[0]["hwnd"])) or "")),
                            "brought back")
            e2e.probe("post", self.tray2, WM_COMMAND, HIDE_ALL, 0)
        self.assertTrue(self.synced("alpha", "beta"))
        self.assertTrue(os.path.exists(os.path.join(self.notes1, first)), "back on PC 1 too")

        # Apart, each PC makes the same day's next note under the same name: both stay.
        self.pair.pause()
        self.write(self.tray1, "made on one")
        e2e.probe("post", self.tray1, WM_COMMAND, HIDE_ALL, 0)
        with self.pc2:
            self.write(self.tray2, "made on two")
            e2e.probe("post", self.tray2, WM_COMMAND, HIDE_ALL, 0)
        self.assertTrue(poll(lambda: holds(self.notes1, "made on one") and holds(self.notes2, "made on two")))
        self.pair.pause(False)
        self.assertTrue(self.synced("made on one", "made on two", "alpha", "beta"))
        self.each_listed_once()
        self.assertEqual(glob.glob(os.path.join(self.notes1, "~*")) + glob.glob(os.path.join(self.notes2, "~*")), [],
                         "no temporary file stays behind")


if __name__ == "__main__":
    found, why = syncpair.available()
    if not found:
        # The code CTest counts as skipped, with the reason in the log.
        print("skipped: Syncthing cannot be had here: %s" % why)
        sys.exit(77)
    unittest.main(verbosity=2)
