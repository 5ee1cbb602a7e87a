"""The dark look Windows asks applications for: with AppsUseLightTheme 0 in the user's
registry the program's own menus and dialogs are dark, and the broadcast that tells of a
change of the colour set brings them back to light, in an open dialog too, and dark again."""
import collections
import subprocess
import unittest

import pinvel_e2e as e2e
from pinvel_e2e import WM_COMMAND, WM_LBUTTONDBLCLK

WM_RBUTTONDOWN = 0x204
FIND_NOTES = 32831
FIND_CAPTION = "查找笔记"
IDCANCEL = 2
PERSONALIZE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"
# The face of the program's dark menus and dialogs.
DARK_FACE = (43, 43, 43)


def set_apps_light(value):
    subprocess.run(["wine", "reg", "add", PERSONALIZE, "/v", "AppsUseLightTheme", "/t", "REG_DWORD", "/d",
                    str(value), "/f"], capture_output=True, check=True)


def most_common_colour(hwnd=None, box=None, inset=4):
    """The colour most of a window shows inside its frame, or most of a box of the
    screen, as (r, g, b)."""
    if box is None:
        left, top, right, bottom = e2e.rect(hwnd)
        box = left + inset, top + inset, right - inset, bottom - inset
    left, top, right, bottom = box
    raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "-depth", "8", "rgb:-"], capture_output=True, timeout=60).stdout
    counts = collections.Counter(raw[i:i + 3] for i in range(0, len(raw) - 2, 3))
    return tuple(counts.most_common(1)[0][0]) if counts else None


def light(colour):
    return colour is not None and min(colour) >= 180


class DarkLook(unittest.TestCase):
    def setUp(self):
        self.folder = e2e.ProgramFolder()
        self.addCleanup(self.folder.close)
        # The prefix is shared with the other tests, which must find it light.
        self.addCleanup(lambda: subprocess.run(["wine", "reg", "delete", PERSONALIZE, "/v", "AppsUseLightTheme", "/f"],
                                               capture_output=True))

    def open_menu(self):
        self.assertTrue(e2e.move_mouse(900, 700))
        e2e.tray_event(self.tray, WM_RBUTTONDOWN)
        menu = e2e.poll(lambda: e2e.visible("#32768"))
        self.assertTrue(menu, "the tray menu opens")
        return menu[0]["hwnd"]

    def assert_shows(self, hwnd, wanted, what, inset=4):
        """The window comes to show mostly a colour that wanted accepts: it paints a
        moment after it shows."""
        seen = [None]

        def shows():
            seen[0] = most_common_colour(hwnd, inset=inset)
            return wanted(seen[0])
        self.assertTrue(e2e.poll(shows, 5), "%s: %s" % (what, seen[0]))

    def assert_menu(self, wanted, what):
        self.assert_shows(self.open_menu(), wanted, what)
        self.assertTrue(e2e.click_menu_away(), "a click elsewhere closes the menu")

    def assert_tip(self, note, wanted, what):
        """Shows a caption button's tip by pointing at the button."""
        buttons = [c for c in e2e.children(note) if c["cls"] == "Button" and c["visible"]]
        self.assertTrue(buttons, "the note has caption buttons")
        left, top, right, bottom = e2e.rect(buttons[0]["hwnd"])
        x, y = (left + right) // 2, (top + bottom) // 2
        self.assertTrue(e2e.move_mouse(1000, 650))
        self.assertTrue(e2e.move_mouse(x, y))
        ours = lambda: [w for w in e2e.visible("tooltips_class32") if w["pid"] == self.pid]
        wiggle = [0]

        def shown():
            # A tip that was shown once and left can wait for the next move to show again.
            if not ours():
                wiggle[0] ^= 1
                e2e.xdo("mousemove", x + wiggle[0], y)
                e2e.poll(ours, 1)
            return ours()
        tips = e2e.poll(shown, 15)
        self.assertTrue(tips, "the button's tip shows")
        self.assert_shows(tips[0]["hwnd"], wanted, what, inset=3)
        self.assertTrue(e2e.move_mouse(1000, 650))

    def test_dark_menus_and_dialogs_turn_light_when_the_system_says_so(self):
        set_apps_light(0)
        self.folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        self.assertIsNotNone(logic)
        self.tray = e2e.tray_window(logic)
        self.assertIsNotNone(self.tray)
        self.pid = [w["pid"] for w in e2e.top_level_windows() if w["hwnd"] == logic][0]

        dark = lambda colour: colour == DARK_FACE
        self.assert_menu(dark, "the tray menu is dark")
        e2e.tray_event(self.tray, WM_LBUTTONDBLCLK)
        notes = e2e.poll(lambda: e2e.visible("PCN_NOTE"))
        self.assertTrue(notes, "a new note shows")
        note = notes[0]["hwnd"]
        self.assert_tip(note, dark, "the caption button's tip is dark")
        e2e.probe("post", self.tray, WM_COMMAND, FIND_NOTES, 0)
        found = e2e.poll(lambda: [w for w in e2e.visible("#32770") if w["title"] == FIND_CAPTION], 10)
        self.assertTrue(found, "the find-notes window comes up")
        dialog = found[0]["hwnd"]
        # The face between the list and the buttons: the list is coloured apart.
        [listing] = [c["hwnd"] for c in e2e.children(dialog) if c["cls"] == "SysListView32"]
        left, _, right, bottom = e2e.rect(listing)
        face = lambda: most_common_colour(box=(left, bottom + 2, right, bottom + 8))
        self.assertTrue(e2e.poll(lambda: face() == DARK_FACE, 5), "the find-notes window is dark: %s" % (face(),))
        self.assertTrue(e2e.poll(lambda: most_common_colour(listing) == DARK_FACE, 5), "and so is its list")

        # As Windows does when the user picks the light look: the value, then the broadcast.
        set_apps_light(1)
        self.assertEqual(e2e.probe("setting", 0, "ImmersiveColorSet")[0], 0)
        self.assertTrue(e2e.poll(lambda: light(face()), 10), "the open window repaints light: %s" % (face(),))
        self.assertTrue(light(most_common_colour(listing)), "and so does its list")
        # Closed, so that it covers no caption button of the note.
        e2e.probe("command", dialog, IDCANCEL)
        self.assertTrue(e2e.poll(lambda: not e2e.visible("#32770")), "the find-notes window closes")
        self.assert_menu(light, "the tray menu is light again")
        self.assert_tip(note, light, "and so is the tip")
        # Dark again, then light and dark while the tip is not shown: a tip sets its own
        # colours back each time it hears of a change.
        for flick in ([0], [1, 0]):
            for value in flick:
                set_apps_light(value)
                self.assertEqual(e2e.probe("setting", 0, "ImmersiveColorSet")[0], 0)
            self.assert_tip(note, dark, "the tip is dark again after %s" % flick)


if __name__ == "__main__":
    unittest.main(verbosity=2)
