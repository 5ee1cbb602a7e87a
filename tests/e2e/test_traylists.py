"""The tray's own lists and switches: the alarms of the days ahead, and starting with
Windows through the user's Run key."""
import datetime
import subprocess
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, note_file, poll, xdo

START_WITH_WINDOWS = 32830
WM_RBUTTONDOWN = 0x0204
FIRST_AGENDA_COMMAND = 53000
RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
WEEKDAYS = "一二三四五六日"  # Monday first, as Python counts


def ole(moment):
    return (moment - datetime.datetime(1899, 12, 30)).total_seconds() / 86400


def agenda_line(moment, title):
    return "%d/%d 周%s %02d:%02d  %s" % (moment.month, moment.day, WEEKDAYS[moment.weekday()], moment.hour,
                                        moment.minute, title)


def run_value():
    done = subprocess.run(["wine", "reg", "query", RUN_KEY, "/v", "Pinvel"], capture_output=True)
    lines = [line for line in done.stdout.decode("utf-8", "replace").splitlines() if "Pinvel" in line]
    return lines[0].split("REG_SZ", 1)[1].strip() if lines and "REG_SZ" in lines[0] else None


class TrayLists(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)

    def start(self, drawn=False):
        proc = self.folder.start(drawn=drawn)
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        tray = e2e.tray_window(logic)
        e2e.probe("send", logic, 0, 0, 0)  # answered once every note is loaded
        return proc, tray

    def stop(self, proc):
        self.assertEqual(self.folder.run("-exit", timeout=60), 0)
        self.assertEqual(proc.wait(timeout=30), 0)

    def test_the_agenda_lists_the_alarms_of_the_next_seven_days_in_time_order(self):
        now = datetime.datetime.now().replace(second=0, microsecond=0)
        daily = now + datetime.timedelta(hours=2)
        tomorrow = (now + datetime.timedelta(days=1)).replace(hour=10, minute=0)
        e2e.put_note(self.folder.path, "N021215 (1).pvl",
                     note_file("早会", "u", b"{\\rtf1 x}", alarms={("daily", 2): ole(daily)}))
        e2e.put_note(self.folder.path, "N021215 (2).pvl",
                     note_file("Dentist", "u", b"{\\rtf1 y}", alarms={("general", 0): ole(tomorrow)}))
        e2e.put_note(self.folder.path, "N021215 (3).pvl",
                     note_file("Passed", "u", b"{\\rtf1 z}", alarms={("general", 0): ole(now - datetime.timedelta(days=1))}))
        first = daily if daily > now else daily + datetime.timedelta(days=1)
        expected = [(first + datetime.timedelta(days=d), "早会") for d in range(7)] + [(tomorrow, "Dentist")]
        expected.sort(key=lambda entry: entry[0])

        proc, tray = self.start(drawn=True)
        # Opened by a right click on the icon; the pointer then goes down the menu until
        # the agenda's submenu opens under it. (Keys typed under Wine reach the shell's
        # window, not a menu opened from the notification area.)
        xdo("mousemove", 1270, 790, "click", 3)
        menu = poll(lambda: e2e.visible("#32768"), 5)
        self.assertTrue(menu, "the tray menu opens")
        left, top, right, bottom = e2e.rect(menu[0]["hwnd"])
        lines = {agenda_line(moment, title) for moment, title in expected}
        for y in range(top + 4, bottom, 6):
            xdo("mousemove", left + 40, y)
            if poll(lambda: lines & set(self.folder.drawn_texts()), 0.6):
                break
        self.assertTrue(poll(lambda: lines <= set(self.folder.drawn_texts()), 10),
                        sorted(lines - set(self.folder.drawn_texts())))
        drawn = [t for t in self.folder.drawn_texts() if "  " in t and "/" in t]
        self.assertEqual(set(drawn), lines, "nothing else: no passed alarm, nothing past a week")
        self.assertTrue(e2e.click_menu_away(400, 300))

        # The entries are in time order: each command shows its entry's note.
        e2e.probe("post", tray, WM_COMMAND, e2e.HIDE_ALL, 0)
        self.assertTrue(poll(lambda: not e2e.visible("PCN_NOTE"), 10))
        dentist = [i for i, (_, title) in enumerate(expected) if title == "Dentist"][0]
        e2e.probe("post", tray, WM_COMMAND, FIRST_AGENDA_COMMAND + dentist, 0)
        self.assertTrue(poll(lambda: self.folder.drawn_texts().count("Dentist") > 0, 10), "its entry shows Dentist")
        self.stop(proc)

    def test_start_with_windows_sets_and_removes_the_run_value(self):
        subprocess.run(["wine", "reg", "delete", RUN_KEY, "/v", "Pinvel", "/f"], capture_output=True)
        proc, tray = self.start()
        here = "\"Z:%s\"" % self.folder.exe.replace("/", "\\")
        e2e.probe("post", tray, WM_COMMAND, START_WITH_WINDOWS, 0)
        self.assertTrue(poll(lambda: run_value() is not None, 10))
        self.assertEqual(run_value().lower(), here.lower())
        e2e.probe("post", tray, WM_COMMAND, START_WITH_WINDOWS, 0)
        self.assertTrue(poll(lambda: run_value() is None, 10), "chosen again, it is removed")

        # A value left by a copy of the program elsewhere counts as off: choosing the
        # item points it here.
        subprocess.run(["wine", "reg", "add", RUN_KEY, "/v", "Pinvel", "/d", "\"C:\\old\\Pinvel.exe\"", "/f"],
                       capture_output=True)
        e2e.probe("post", tray, WM_COMMAND, START_WITH_WINDOWS, 0)
        self.assertTrue(poll(lambda: (run_value() or "").lower() == here.lower(), 10), run_value())
        e2e.probe("post", tray, WM_COMMAND, START_WITH_WINDOWS, 0)
        self.assertTrue(poll(lambda: run_value() is None, 10))
        self.stop(proc)


if __name__ == "__main__":
    unittest.main(verbosity=2)
