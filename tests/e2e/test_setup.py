"""The setup program as a user or an administrator's script runs it: a silent install in
the user's own folders, Pinvel started from there keeping its notes in the user's profile,
a newer setup over the running program, an older one refused, and a silent uninstall
that takes the program and leaves every note."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import pinvel_e2e as e2e

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
PORTABLE = "N021215 (1).pvl"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pinvel"
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
START_WITH_WINDOWS = 32830


def skip_reason():
    if shutil.which("makensis") is None:
        return "nsis cannot be installed here"
    if os.environ.get("PINVEL_ARCH", "win32") != "win32":
        return "the setup holds the i686 program; it is tested with that build"
    return None


def wine(*args, timeout=120):
    """Runs to its end. No pipes: a Pinvel the setup starts again would hold them open."""
    return subprocess.run(["wine", *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout)


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def registry(value, key=UNINSTALL_KEY):
    """A value of a key (the uninstall entry unless told), exported as the registry editor writes it (UTF-16,
    so the publisher's Chinese name comes through whatever the console's code page)."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "entry.reg")
        wine("regedit", "/E", windows(out), key.replace("HKCU", "HKEY_CURRENT_USER"))
        if not os.path.exists(out):
            return None
        with open(out, "rb") as f:
            text = f.read().decode("utf-16")
    for line in text.splitlines():
        if line.startswith('"%s"="' % value):
            return line[len(value) + 4:-1].replace("\\\\", "\\").replace('\\"', '"')
    return None


class Setup(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pinvel-setup-")
        self.addCleanup(shutil.rmtree, self.work, True)
        e2e.clear_user_folders()
        roaming, local = e2e.user_folders()
        self.folder = os.path.join(local, "Programs", "Pinvel")
        self.shortcut = os.path.join(roaming, "Microsoft", "Windows", "Start Menu", "Programs", "Pinvel.lnk")
        self.notes = os.path.join(roaming, "Pinvel", e2e.NOTES)
        self.forget()
        self.addCleanup(self.forget)

    def forget(self):
        e2e.probe("post", e2e.wait_window(e2e.LOGIC_CLASS, timeout_ms=0) or 0, 0x07EC, 0, 0)
        wine("reg", "delete", UNINSTALL_KEY, "/f")
        wine("reg", "delete", RUN_KEY, "/v", "Pinvel", "/f")
        shutil.rmtree(self.folder, ignore_errors=True)
        e2e.clear_user_folders()

    def setup_of(self, version):
        out = os.path.join(self.work, "Pinvel-%s-setup.exe" % version)
        subprocess.run([os.path.join(ROOT, "tools", "make-setup.sh"), version, e2e.WIN_DIR,
                        os.path.join(e2e.WIN_DIR, "art", "icon128.ico"), out], check=True, capture_output=True)
        return out

    def note_text(self):
        """The one note file's bytes; empty while there is none."""
        files = sorted(f for f in os.listdir(self.notes) if f.endswith(".pvl") and f != PORTABLE) \
            if os.path.isdir(self.notes) else []
        self.assertLessEqual(len(files), 1, files)
        if not files:
            return b""
        with open(os.path.join(self.notes, files[0]), "rb") as f:
            return f.read()

    def test_install_upgrade_refuse_an_older_one_and_uninstall_without_a_note_lost(self):
        self.assertEqual(wine(self.setup_of("1.1"), "/S").returncode, 0)
        for name in ("Pinvel.exe", "Pinvel.chm", "Pinvel.en.chm", "Pinvel.installed", "Uninstall.exe"):
            self.assertTrue(os.path.exists(os.path.join(self.folder, name)), name)
        self.assertTrue(os.path.exists(self.shortcut), "a Start-menu shortcut")
        self.assertEqual(registry("DisplayVersion"), "1.1")
        self.assertEqual(registry("Publisher"), "Pinvel 开发组")
        self.assertIn("Uninstall.exe", registry("UninstallString"))

        # Started from where it was installed, it keeps its notes in the user's profile, and
        # brings over, once, those of a portable copy that was in the same folder.
        portable = e2e.put_note(self.folder, PORTABLE, e2e.note_file("portable", "anna", b"{\\rtf1 old}"))
        program = os.path.join(self.folder, "Pinvel.exe")
        first = subprocess.Popen(["wine", program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        note = e2e.new_note(tray)
        self.assertTrue(e2e.type_into(note, "kept through upgrades"))

        # A newer setup over the running program: it quits with what was typed saved,
        # under the user's profile and not beside the program; it is replaced and runs again.
        # The setup keeps the file's own time: a rewrite shows in the change time only.
        before = os.stat(program).st_ctime
        newer = self.setup_of("1.2")
        time.sleep(1.1)
        self.assertEqual(wine(newer, "/S", timeout=180).returncode, 0)
        self.assertEqual(first.wait(timeout=30), 0, "the running copy quit")
        self.assertGreater(os.stat(program).st_ctime, before, "the program replaced")
        self.assertEqual(registry("DisplayVersion"), "1.2")
        saved = self.note_text()
        self.assertIn(b"kept through upgrades", saved)
        with open(portable, "rb") as f, open(os.path.join(self.notes, PORTABLE), "rb") as copied:
            self.assertEqual(copied.read(), f.read(), "the portable copy's note copied, not moved")
        logic = e2e.wait_window(e2e.LOGIC_CLASS, timeout_ms=30000)
        self.assertTrue(logic, "Pinvel runs again")
        e2e.probe("post", e2e.tray_window(logic), e2e.WM_COMMAND, START_WITH_WINDOWS, 0)
        self.assertTrue(e2e.poll(lambda: registry("Pinvel", RUN_KEY)), "started with Windows")

        # An older setup is refused when silent, and changes nothing.
        self.assertNotEqual(wine(self.setup_of("1.0"), "/S").returncode, 0)
        self.assertEqual(registry("DisplayVersion"), "1.2")

        # A silent uninstall, waited for: the program goes, every note and setting stays.
        installed = registry("InstallLocation")
        self.assertEqual(wine(os.path.join(self.folder, "Uninstall.exe"), "/S", "_?=" + installed,
                              timeout=180).returncode, 0)
        self.assertTrue(e2e.window_gone(e2e.LOGIC_CLASS, timeout_ms=15000), "the running copy quit")
        self.assertFalse(os.path.exists(program))
        self.assertFalse(os.path.exists(self.shortcut))
        self.assertIsNone(registry("DisplayVersion"))
        self.assertIsNone(registry("Pinvel", RUN_KEY), "no longer started with Windows")
        self.assertEqual(self.note_text(), saved, "the note kept")
        self.assertTrue(os.path.exists(os.path.join(self.notes, e2e.OPTIONS)) or
                        os.path.exists(os.path.join(self.notes, "..", "Pinvel.ini")), "the settings kept")


if __name__ == "__main__":
    reason = skip_reason()
    if reason:
        print("skipped: " + reason)
        sys.exit(77)
    unittest.main(verbosity=2)
