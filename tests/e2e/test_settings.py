"""The settings file beside the program: the look of new notes kept across runs."""
import os
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import DEFAULT_LOOK, settings_file


class SettingsFile(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        self.path = os.path.join(self.folder.path, "Pinvel.ini")

    def run_once(self):
        """Starts the program, lets it come up, and ends it with the exit switch."""
        proc = self.folder.start()
        self.assertIsNotNone(e2e.wait_window(e2e.LOGIC_CLASS))
        self.assertEqual(self.folder.run("-exit"), 0)
        self.assertEqual(proc.wait(timeout=15), 0)

    def read(self):
        with open(self.path, "rb") as f:
            return f.read()

    def test_first_run_writes_the_built_in_defaults(self):
        self.run_once()
        self.assertEqual(self.read(), settings_file(1, DEFAULT_LOOK))
        self.assertNotIn("Pinvel.ini.new", os.listdir(self.folder.path))

    def test_a_stored_look_comes_back_word_for_word(self):
        look = (0x00010203, 0x00040506, 0x00070809, 77, -1, -5, 6, 70000, -2147483648)
        with open(self.path, "wb") as f:
            f.write(settings_file(1, look) + b"tail that is not ours")
        self.run_once()
        self.assertEqual(self.read(), settings_file(1, look))

    def test_a_foreign_version_is_ignored_then_replaced(self):
        with open(self.path, "wb") as f:
            f.write(settings_file(2, (1, 2, 3, 4, 5, 6, 7, 8, 9)))
        self.run_once()
        self.assertEqual(self.read(), settings_file(1, DEFAULT_LOOK))

    def test_a_short_file_is_ignored_then_replaced(self):
        with open(self.path, "wb") as f:
            f.write(settings_file(1, (1, 2, 3, 4, 5, 6, 7, 8, 9))[:30])
        self.run_once()
        self.assertEqual(self.read(), settings_file(1, DEFAULT_LOOK))


if __name__ == "__main__":
    unittest.main(verbosity=2)
