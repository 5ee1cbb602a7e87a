"""Takes the README's pictures from the real program: notes in several colours, notes in
four schemes, the tray menu with its note list, the weekly page of the alarm sheet, the
appearance dialog, the already-running notice, a check list and a see-through note over
a text in Notepad, and the dark look: the tray menu beside a note of a dark scheme; with --scaled,
on a display at 150 %, a note and its menu; with --see-through, only the see-through note; with
--dark, only the dark look. Run through `make screenshots`; the pictures go to docs/.

--english, before any of these, takes the same pictures of the English program into
docs/en/ for the English help and README: the notes folder's side file chooses English,
the notes hold English text, and Wine runs in an English locale so that what it draws
itself (the property sheet's buttons, Notepad) is English too:

  PINVEL_LANG=en_US.UTF-8 PINVEL_PREFIX=$PWD/build/wineprefix-win32-shots-en \
    tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --english
  PINVEL_LANG=en_US.UTF-8 PINVEL_DPI=144 PINVEL_PREFIX=$PWD/build/wineprefix-win32-shots-en-144 \
    tools/wine-run.sh --desktop 1280x800 python3 tools/take-screenshots.py --english --scaled
"""
import calendar
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
import pinvel_e2e as e2e  # noqa: E402
from pinvel_e2e import WM_COMMAND, poll, rect, visible, xdo  # noqa: E402

ENGLISH = "--english" in sys.argv[1:]
DOCS = os.path.join(HERE, "..", "docs", "en") if ENGLISH else os.path.join(HERE, "..", "docs")
TRAY_ICON = (1270, 790)
SHOW_ALL, ROLL, ALARMS, APPEARANCE, FIND_NOTES = 32791, 32820, 32773, 32805, 32831
PSM_SETCURSEL, TCM_GETCURSEL = 0x0465, 0x130B
RTF = (b"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss\\fcharset0 Tahoma;}}\\f0\\fs20 %s}" if ENGLISH else
       b"{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 SimSun;}}\\f0\\fs22 %s}")
BORDER = 0x00808080
# Made this morning, for the info lines that show when a note was made: clock lines
# would tick apart between the notes of one picture.
TODAY = 25569 + calendar.timegm(time.localtime()) // 86400 + 9.25 / 24

# (title, text, background, edge, scheme, info kind, rect, alarms)
NOTES = [
    ("Shopping list" if ENGLISH else "购物清单",
     b"milk\\par bread\\par " + (b"eggs" if ENGLISH else b"\\'bc\\'a6\\'b5\\'b0"),
     0x00BDFFFF, 0x007BDEFF, 9, 0, (60, 60, 380, 300), {("weekly", 0): 27134 + 8.5 / 24}),
    ("To do" if ENGLISH else "备忘", b"call home", 0x0099FFCE, 0x0065CA00, 5, 3, (420, 60, 740, 260), None),
    ("Meeting at 3", b"Room 4.12\\par bring the {\\b plans}", 0x00FFE0BD, 0x00FDB14D, 1, 2, (420, 140, 740, 340),
     None),
]
# Four of the sixteen schemes: (scheme, name, background, edge).
SCHEMES = [(1, "Sky Blue" if ENGLISH else "蓝天", 0x00FFE0BD, 0x00FDB14D),
           (5, "Grass" if ENGLISH else "绿草", 0x0099FFCE, 0x0065CA00),
           (9, "Beach" if ENGLISH else "沙滩", 0x00BDFFFF, 0x007BDEFF),
           (13, "Fog" if ENGLISH else "浓雾", 0x00E7E3D6, 0x00C0B398)]
# The captions the pictures wait for, in the program's language.
if ENGLISH:
    FIND_NOTES_TITLE, ALARMS_TITLE, APPEARANCE_TITLE = "Find Notes", "Set Alarms", "Appearance"
    NOTICE_CAPTION = "Pinvel Is Already Running"
else:
    FIND_NOTES_TITLE, ALARMS_TITLE, APPEARANCE_TITLE = "查找笔记", "设置提示", "设置外观"
    NOTICE_CAPTION = e2e.NOTICE_CAPTION
SIDE_FILE = "笔记设置.txt"


def program_folder(side_lines=""):
    """A fresh program folder whose side file holds the given lines; the folder chooses the
    pictures' language when the program starts."""
    folder = e2e.ProgramFolder(language="en" if ENGLISH else "zh")
    if side_lines:
        os.makedirs(os.path.join(folder.path, e2e.NOTES), exist_ok=True)
        with open(os.path.join(folder.path, e2e.NOTES, SIDE_FILE), "wb") as f:
            f.write(("PINVELOPT 1\r\n" + side_lines).encode("utf-8"))
    return folder


def rgb(colour):
    return bytes([colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF])


def photograph(name, box, colours=()):
    """Saves the box of the screen once it shows the given colours and two captures in a
    row agree: a window paints a moment after it shows, later still under load."""
    left, top, right, bottom = box
    size = "%dx%d" % (right - left, bottom - top)
    last = None
    for _ in range(60):
        raw = subprocess.run(["import", "-window", "root", "-crop", "%s+%d+%d" % (size, left, top), "-depth", "8",
                              "rgb:-"], capture_output=True, timeout=60).stdout
        seen = {raw[i:i + 3] for i in range(0, len(raw), 3)}
        if raw == last and all(rgb(c) in seen for c in colours):
            break
        last = raw
        time.sleep(0.4)
    else:
        missing = ["%06X" % c for c in colours if rgb(c) not in seen]
        raise AssertionError("%s: the screen did not settle; colours missing: %s" % (name, missing))
    os.makedirs(DOCS, exist_ok=True)
    subprocess.run(["convert", "-size", size, "-depth", "8", "rgb:-", "-strip", os.path.join(DOCS, name)],
                   input=raw, check=True)


def dialog(title):
    found = poll(lambda: [w for w in visible("#32770") if w["title"] == title], 15)
    assert found, title + " did not open"
    return found[0]["hwnd"]


def close(hwnd):
    e2e.probe("command", hwnd, 2)  # IDCANCEL
    assert poll(lambda: hwnd not in [w["hwnd"] for w in visible("#32770")], 15), "a dialog did not close"


def start(folder):
    """Starts the program and waits for its icon in the taskbar; returns the tray window."""
    folder.start()
    tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
    x, y = TRAY_ICON
    assert poll(lambda: len(e2e.colours(x - 8, y - 8, x + 8, y + 8)) > 2, 15), "no icon in the taskbar"
    return tray


def show_all(tray, count):
    e2e.probe("post", tray, WM_COMMAND, SHOW_ALL, 0)
    notes = poll(lambda: len(visible("PCN_NOTE")) == count and visible("PCN_NOTE"), 30)
    assert notes, "the notes did not show"
    xdo("mousemove", 1000, 650)  # away from every caption button
    return {rect(w["hwnd"])[:2]: w["hwnd"] for w in notes}


def schemes():
    folder = program_folder()
    try:
        for i, (scheme, name, background, edge) in enumerate(SCHEMES):
            # The narrowest a note opens, ten pixels apart.
            look = (background, BORDER, edge, 0, scheme, 40 + 235 * i, 420, 265 + 235 * i, 580)
            e2e.put_note(folder.path, "N261207 (%d).pvl" % (i + 1),
                         e2e.note_file(name, "pinvel", b"", look, stamps=(TODAY, TODAY)))
        show_all(start(folder), len(SCHEMES))
        photograph("schemes.png", (30, 410, 990, 590), [s[3] for s in SCHEMES])
    finally:
        folder.close()


def notes_menus_and_dialogs():
    folder = program_folder()
    try:
        for i, (title, text, background, edge, scheme, info, box, alarms) in enumerate(NOTES):
            look = (background, BORDER, edge, info, scheme) + box
            e2e.put_note(folder.path, "N261207 (%d).pvl" % (i + 1),
                         e2e.note_file(title, "pinvel", RTF % text, look, alarms, (TODAY, TODAY)))
        tray = start(folder)
        notes = show_all(tray, len(NOTES))
        shopping, rolled = notes[NOTES[0][6][:2]], notes[NOTES[1][6][:2]]
        e2e.probe("post", rolled, WM_COMMAND, ROLL, 0)
        assert poll(lambda: rect(rolled)[3] - rect(rolled)[1] == 45), "the note did not roll up"
        photograph("notes.png", (40, 40, 760, 360), [n[3] for n in NOTES])

        xdo("mousemove", *TRAY_ICON, "click", 3)
        menu = poll(lambda: visible("#32768"))
        assert menu, "the tray menu did not open"
        left, top, right, bottom = rect(menu[0]["hwnd"])
        # Onto "提醒日程": past new, find, new from the clipboard, a separator, show and deleted.
        xdo("mousemove", (left + right) // 2, top + 3 + 19 + 19 + 19 + 7 + 19 + 19 + 9)
        assert poll(lambda: len(visible("#32768")) == 2), "the agenda did not open"
        photograph("tray-menu.png", (left - 260, top - 20, 1280, 800))
        xdo("mousemove", 1000, 650, "click", 1)  # a click elsewhere closes it
        assert poll(lambda: not visible("#32768")), "the tray menu did not close"

        e2e.probe("post", tray, WM_COMMAND, FIND_NOTES, 0)
        finder = dialog(FIND_NOTES_TITLE)
        xdo("type", "--delay", 40, "bread")
        time.sleep(1)
        photograph("find-notes.png", rect(finder))
        close(finder)

        e2e.probe("post", shopping, WM_COMMAND, ALARMS, 0)
        sheet = dialog(ALARMS_TITLE)
        e2e.probe("send", sheet, PSM_SETCURSEL, 2, 0)
        tabs = [c for c in e2e.children(sheet) if c["cls"] == "SysTabControl32"][0]["hwnd"]
        assert poll(lambda: e2e.probe("send", tabs, TCM_GETCURSEL, 0, 0)[1] == ["2"]), "no weekly page"
        photograph("alarm-sheet.png", rect(sheet))
        close(sheet)

        e2e.probe("post", shopping, WM_COMMAND, APPEARANCE, 0)
        appearance = dialog(APPEARANCE_TITLE)
        photograph("appearance.png", rect(appearance))
        close(appearance)

        second = folder.start()
        notice = e2e.wait_window("#32770", NOTICE_CAPTION)
        assert notice, "the already-running notice did not open"
        photograph("notice.png", rect(notice))
        e2e.probe("command", notice, 1)
        second.wait(timeout=30)
    finally:
        folder.close()


# The see-through note and the text behind it, a Notepad of Wine at its own place. Only
# a compositing manager blends a window into the ones behind it, and it blends only
# windows of their own on the X display, so this picture is taken in a run of its own:
# without Wine's virtual desktop, on an Xvfb of its own, with xcompmgr.
SEE_THROUGH_NOTE = "N021215 (1).pvl"
SEE_THROUGH_SIDE = "note\t%s\tstamp=1\tlevel=top\topacity=70\tzoom=100\r\n" % SEE_THROUGH_NOTE
SEE_THROUGH_RECT = (350, 170, 670, 400)
# Short lines beside the note's own text, long ones behind its empty part.
PLAN_EN = ("Plan for the week\r\n\r\n"
           "Mon  Go through last month's accounts\r\n"
           "Tue  Reply to Mr Wang\r\n"
           "Wed  Meeting in the afternoon\r\n"
           "Thu  Revise the proposal\r\n"
           "Fri  Write up this week's progress and send it to everyone\r\n\r\n"
           "Next week  Prepare the year-end review, next year's budget\r\n"
           "           and the training plan; book the train and hotel\r\n"
           "           for the trip to Shanghai, leaving on Wednesday\r\n"
           "Note  The projector in the meeting room is broken: borrow one\r\n")
PLAN = ("本周计划\r\n\r\n"
        "周一  整理上个月的账目\r\n"
        "周二  给王经理回信\r\n"
        "周三  下午开会\r\n"
        "周四  修改方案\r\n"
        "周五  把本周的进度整理好，发给部门里每个人\r\n\r\n"
        "下周  准备年底的总结、明年的预算和培训计划\r\n"
        "      订好去上海出差的火车票和酒店，周三出发\r\n"
        "备注  会议室的投影仪坏了，记得提前借一台\r\n")
NOTEPAD_BOX = (60, 80, 720, 480)
WM_CLOSE = 0x0010


def gbk_rtf(text):
    """Text for RTF above: Chinese characters as escapes of their GBK bytes."""
    return "".join(c if ord(c) < 128 else "".join("\\'%02x" % b for b in c.encode("gbk")) for c in text).encode()


SEE_THROUGH_TEXT = (b"3 pm\\par Room 4.12\\par bring the {\\b plans}" if ENGLISH else
                    gbk_rtf("下午三点\\par 4.12 会议室\\par 带上{\\b 方案}"))


def see_through():
    """Takes the see-through picture in a run of its own (see above), in a prefix beside
    this run's."""
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    env["PINVEL_PREFIX"] = (os.environ.get("PINVEL_PREFIX") or os.environ["WINEPREFIX"]) + "-composited"
    subprocess.run([os.environ["WINE_RUN_SCRIPT"], "python3", os.path.abspath(__file__)] + ["--english"] * ENGLISH +
                   ["--see-through-composited"], env=env, check=True)


def wine_settings(key, values):
    for name, value in values:
        kind = "REG_DWORD" if isinstance(value, int) else "REG_SZ"
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(value), "/f"],
                       capture_output=True, check=True, timeout=60)


def see_through_composited():
    """A note at 70 % over a text in another program's window, which is the active one:
    the note is solid only under the pointer or while it is typed in."""
    if shutil.which("xcompmgr") is None:
        raise AssertionError("xcompmgr is missing: tools/bootstrap.sh installs it")
    # Wine draws the windows' captions itself: there is no window manager.
    wine_settings("HKCU\\Software\\Wine\\X11 Driver", [("Decorated", "N")])
    left, top, right, bottom = NOTEPAD_BOX
    wine_settings("HKCU\\Software\\Microsoft\\Notepad",
                  [("iWindowPosX", left), ("iWindowPosY", top), ("iWindowPosDX", right - left),
                   ("iWindowPosDY", bottom - top), ("lfFaceName", "Tahoma" if ENGLISH else "SimSun"),
                   ("iPointSize", 140), ("fWrap", 1)])
    compositor = subprocess.Popen(["xcompmgr"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    folder = program_folder(SEE_THROUGH_SIDE)
    notepad = None
    try:
        _, _, background, edge, scheme, info, _, _ = NOTES[2]
        look = (background, BORDER, edge, info, scheme) + SEE_THROUGH_RECT
        e2e.put_note(folder.path, SEE_THROUGH_NOTE, e2e.note_file("Meeting" if ENGLISH else "开会", "pinvel",
                                                                  RTF % SEE_THROUGH_TEXT, look, None, (TODAY, TODAY)))
        plan = os.path.join(folder.path, "plan.txt" if ENGLISH else "本周计划.txt")
        with open(plan, "wb") as f:
            f.write((PLAN_EN if ENGLISH else PLAN).encode("utf-16"))
        notepad = subprocess.Popen(["wine", "notepad", "Z:" + plan.replace("/", "\\")], stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        editor = poll(lambda: visible("Notepad"), 30)
        assert editor, "Notepad did not open"
        editor = editor[0]["hwnd"]

        folder.start()
        tray = e2e.tray_window(e2e.wait_window(e2e.LOGIC_CLASS))
        e2e.probe("post", tray, WM_COMMAND, SHOW_ALL, 0)
        note = poll(lambda: visible("PCN_NOTE"), 30)
        assert note, "the note did not show"
        note = note[0]["hwnd"]
        # The shown note is the active one, and solid: a click on Notepad's caption makes
        # Notepad active again, and leaves the pointer off the note.
        xdo("mousemove", left + 200, top + 10, "click", 1)
        assert poll(lambda: e2e.probe("layered", note)[1] == ["179"], 15), "the note is not see-through"
        photograph("see-through.png", rect(editor))
        e2e.probe("post", editor, WM_CLOSE, 0, 0)
    finally:
        folder.close()
        if notepad is not None:
            try:
                notepad.wait(timeout=15)
            except subprocess.TimeoutExpired:
                notepad.kill()
                notepad.wait()
        compositor.kill()
        compositor.wait()


def check_list():
    """A check list and a bullet list typed with real keys: "[] " makes a box and "- " a
    bullet, Enter the next item, an Enter on an empty one ends the list, Ctrl+D ticks."""
    folder = program_folder()
    try:
        title, _, background, edge, scheme, _, _, _ = NOTES[0]
        look = (background, BORDER, edge, 0, scheme, 60, 60, 380, 300)
        e2e.put_note(folder.path, "N261207 (1).pvl", e2e.note_file(title, "pinvel", RTF % b"", look, None,
                                                                   (TODAY, TODAY)))
        show_all(start(folder), 1)
        xdo("mousemove", 200, 150, "click", 1)
        e2e.keep_x_focus()
        for i, line in enumerate(["[] milk", "bread", "eggs", "", "- Saturday: market", "call home"]):
            e2e.type_keys(line)
            if i < 5:
                xdo("key", "Return")
        xdo("key", "ctrl+Home", "Down", "ctrl+d")
        xdo("mousemove", 1000, 650)
        photograph("checklist.png", (50, 50, 390, 310), [edge])
    finally:
        folder.close()


PERSONALIZE = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize"
# The dark scheme 午夜蓝, as a note stores it: colours chosen one by one.
MIDNIGHT = (0x00B2785C, 0x0046281E, 0x00D7A58C)


def dark():
    """The tray menu as Windows' dark look asks, beside a note of a dark scheme."""
    wine_settings(PERSONALIZE, [("AppsUseLightTheme", 0)])
    folder = program_folder()
    try:
        background, border, edge = MIDNIGHT
        look = (background, border, edge, 0, -1, 700, 470, 1000, 690)
        text = (b"\\b Friday\\b0\\par hand in the report\\par reply to Mr Wang" if ENGLISH else
                gbk_rtf("\\b 周五\\b0\\par 交报告\\par 给王经理回信"))
        e2e.put_note(folder.path, "N261207 (1).pvl", e2e.note_file("This week" if ENGLISH else "本周", "pinvel",
                                                                   RTF % text, look, None,
                                                                   (TODAY, TODAY)))
        show_all(start(folder), 1)
        xdo("mousemove", *TRAY_ICON, "click", 3)
        menu = poll(lambda: visible("#32768"))
        assert menu, "the tray menu did not open"
        _, top, _, _ = rect(menu[0]["hwnd"])
        photograph("dark.png", (680, min(top, 470) - 20, 1280, 800), [edge, 0x002B2B2B])
        xdo("mousemove", 60, 740, "click", 1)  # a click elsewhere closes it
        assert poll(lambda: not visible("#32768")), "the tray menu did not close"
    finally:
        folder.close()
        wine_settings(PERSONALIZE, [("AppsUseLightTheme", 1)])


def scaled():
    """A note and its menu on a display at 150 %: the prefix's LogPixels is 144."""
    folder = program_folder()
    try:
        title, text, background, edge, scheme, info, _, alarms = NOTES[0]
        look = (background, BORDER, edge, info, scheme, 60, 60, 540, 390)
        e2e.put_note(folder.path, "N261207 (1).pvl", e2e.note_file(title, "pinvel", RTF % text, look, alarms,
                                                                   (TODAY, TODAY)))
        show_all(start(folder), 1)
        xdo("mousemove", 300, 250, "click", 1, "click", 3)
        menu = poll(lambda: visible("#32768"))
        assert menu, "the note's menu did not open"
        _, _, right, bottom = rect(menu[0]["hwnd"])
        photograph("note-150.png", (40, 40, max(right, 560) + 20, max(bottom, 410) + 20), [edge])
        xdo("key", "Escape")
    finally:
        folder.close()


if __name__ == "__main__":
    # A note's caret blinks, and the screen would never agree with itself twice.
    wine_settings("HKCU\\Control Panel\\Desktop", [("CursorBlinkRate", "-1")])
    mode = [a for a in sys.argv[1:] if a != "--english"]
    if ENGLISH and os.environ.get("LANG", "").startswith("zh"):
        raise SystemExit("--english: run Wine in an English locale, PINVEL_LANG=en_US.UTF-8 (see the top of this file)")
    if mode == ["--scaled"]:
        scaled()
    elif mode == ["--check-list"]:
        check_list()
    elif mode == ["--see-through"]:
        see_through()
    elif mode == ["--see-through-composited"]:
        see_through_composited()
    elif mode == ["--dark"]:
        dark()
    else:
        schemes()
        notes_menus_and_dialogs()
        check_list()
        dark()
        see_through()
