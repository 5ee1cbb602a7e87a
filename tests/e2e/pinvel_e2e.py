"""Helpers for whole-program tests: the real Pinvel.exe in a temporary program folder,
started under Wine and looked at from outside with pvprobe.

The tests run inside tools/wine-run.sh, which provides the Wine prefix, the code page
and the display.
"""
import glob
import os
import re
import shutil
import struct
import subprocess
import tempfile
import time

# The build under test: build/win32 or build/win64.
WIN_DIR = os.environ.get("PINVEL_WIN_DIR", os.path.join(os.path.dirname(__file__), "../../build/win32"))
PROBE = os.path.join(WIN_DIR, "tests", "pvprobe.exe")

# The ANSI code page of the run: tools/wine-run.sh sets the locale that Wine takes it from.
CODE_PAGE = 936 if os.environ.get("LANG", "").startswith("zh_CN") else 1252

NOTICE_CAPTION = "Pinvel 已经启动"
LOGIC_CLASS = "PCN_LOGIC"
EDITOR_CLASS = "RichEdit20W"
NOTES = "笔记"
OPTIONS = "笔记设置.txt"

WM_GETTEXTLENGTH = 0x000E
WM_COMMAND = 0x0111
WM_LBUTTONDBLCLK = 0x0203
FIRST_NOTE_COMMAND = 50000
HIDE_ALL = 32792
SHOW_ALL = 32791
WM_TRAY_NOTIFY = 0x07EA

# A look as stored: background, border, edge, info kind, scheme, then the rectangle.
DEFAULT_LOOK = (0x00BDFFFF, 0x00808080, 0x007BDEFF, 2, 9, 200, 100, 500, 300)
NOTE_LOOK = DEFAULT_LOOK[:5] + (10, 20, 310, 220)
# Each alarm kind with what its slots store after the sound, enabled and when fields:
# the weekday, the day, the day and month, at the program's defaults.
ALARM_KINDS = (("general", b""), ("daily", b""), ("weekly", struct.pack("<i", 1)),
               ("monthly", struct.pack("<i", 15)), ("yearly", struct.pack("<ii", 15, 4)))


def note_file(title="", user="", rtf=b"", look=NOTE_LOOK, alarms=None, stamps=(37605.5, 37605.75), version=1):
    """A note file as the program lays it out: 469 bytes besides title, user and text.

    alarms maps (kind, slot) to the when of an enabled slot; it rings without sound, as
    the test machines have no sound card to speak of. Every other slot is off.
    """
    def string(s):
        b = s.encode("gbk") if isinstance(s, str) else s
        return struct.pack("<I", len(b)) + b
    alarms = alarms or {}
    block = b""
    for kind, tail in ALARM_KINDS:
        for slot in range(6):
            when = alarms.get((kind, slot))
            sound, enabled = (1, 0) if when is None else (0, 1)
            block += struct.pack("<BBd", sound, enabled, 27134.4375 if when is None else when) + tail
    return (b"PINVL" + struct.pack("<I", version) + string(title) + string(user) + struct.pack("<dd", *stamps)
            + struct.pack("<IIIii4i", *look) + block + string(rtf))


def settings_file(version=1, look=DEFAULT_LOOK):
    return b"PLOGIC" + struct.pack("<I", version) + struct.pack("<IIIii4i", *look)


def put_note(program_folder, name, data):
    """Writes a note file into the notes folder beside the program; returns its path."""
    os.makedirs(os.path.join(program_folder, NOTES), exist_ok=True)
    path = os.path.join(program_folder, NOTES, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def choose_language(notes_folder, word):
    """Makes the side file of a notes folder choose a language ("system", "zh", "en"), as
    the tray's language menu would have, long ago; the rest of the file stays."""
    try:
        os.makedirs(notes_folder, exist_ok=True)
    except OSError:
        return  # a folder the test shut: the program will not write there either
    path = os.path.join(notes_folder, OPTIONS)
    lines = ["PINVELOPT 1"]
    if os.path.exists(path):
        with open(path, "rb") as f:
            lines = f.read().decode("utf-8-sig", "surrogateescape").splitlines()
        if not lines or lines[0] != "PINVELOPT 1":
            return  # a damaged file is the test's own: the program reads it as it is
        lines = [l for l in lines if not l.startswith("program\t")]
    lines.insert(1, "program\tstamp=1\tlanguage=" + word)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("utf-8", "surrogateescape"))


def saved_notes(program_folder):
    return sorted(glob.glob(os.path.join(program_folder, NOTES, "*.pvl")))


# The PC the helpers below talk to: this one (None), or a second one of a test, an object
# with env (its prefix and display) and wrap(command) (its own computer name).
machine = None


def on_machine(command):
    """The command and environment to run it with on the current PC."""
    if machine is None:
        return command, None
    return machine.wrap(command), machine.env


def probe(*args, timeout=20):
    """Runs pvprobe; returns (exit code, output lines).

    Under Wine a process started at the same moment as another one now and then stalls
    before it reaches its own code; such a probe is ended and started again.
    """
    for attempt in range(3):
        try:
            command, env = on_machine(["wine", PROBE, *[str(a) for a in args]])
            done = subprocess.run(command, capture_output=True, timeout=timeout, env=env)
        except subprocess.TimeoutExpired:
            continue
        return done.returncode, done.stdout.decode("utf-8", "replace").splitlines()
    raise AssertionError("pvprobe %s stalled three times" % " ".join(str(a) for a in args))


def wait_window(cls, title="-", timeout_ms=15000):
    code, lines = probe("wait", cls, title, timeout_ms, timeout=timeout_ms / 1000 + 10)
    return int(lines[0]) if code == 0 and lines else None


def window_gone(cls, title="-", timeout_ms=0):
    code, _ = probe("gone", cls, title, timeout_ms, timeout=timeout_ms / 1000 + 10)
    return code == 0


def top_level_windows():
    """Every top-level window: dicts with hwnd, visible, pid, cls, title."""
    _, lines = probe("list")
    windows = []
    for line in lines:
        parts = line.split("\t")
        if len(parts) < 5:
            continue
        windows.append({"hwnd": int(parts[0]), "visible": parts[1] == "1", "pid": int(parts[2]),
                        "cls": parts[3], "title": parts[4]})
    return windows


def children(hwnd):
    """Child windows: dicts with hwnd, id, enabled, visible, cls, text."""
    _, lines = probe("children", hwnd)
    result = []
    for line in lines:
        parts = line.split("\t")
        if len(parts) < 6:
            continue
        result.append({"hwnd": int(parts[0]), "id": int(parts[1]), "enabled": parts[2] == "1",
                       "visible": parts[3] == "1", "cls": parts[4], "text": parts[5]})
    return result


def poll(condition, seconds=10):
    """The first true value of condition() within the time, else its last value."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.2)
    return condition()


def tray_window(logic, timeout=30):
    """The tray window; the logic window can be found while it is still being made."""
    trays = poll(lambda: [w for w in children(logic) if w["cls"] == "PCN_SYSTRAY"], timeout)
    return trays[0]["hwnd"] if trays else None


def show_note(tray, index, timeout=15):
    """Shows the index-th listed note through its tray command, once it is read.

    Notes are read from the loop after start, and the command of one not read yet does
    nothing; a sent command has done its work when the send returns.
    """
    before = len(visible("PCN_NOTE"))

    def shown():
        probe("send", tray, WM_COMMAND, FIRST_NOTE_COMMAND + index, 0)
        return len(visible("PCN_NOTE")) > before
    return poll(shown, timeout)


def lists_notes(logic, count, timeout=60):
    """True when the tray lists exactly count notes.

    Menus cannot be read from another process under Wine, so the list is read through
    its commands: the last listed note shows, the one after it does not exist. Both are
    hidden again.
    """
    tray = tray_window(logic, timeout)
    last = show_note(tray, count - 1, timeout)
    probe("post", tray, WM_COMMAND, FIRST_NOTE_COMMAND + count, 0)
    time.sleep(2)
    probe("send", logic, 0, 0, 0, timeout=timeout)
    beyond = len(visible("PCN_NOTE")) > 1
    probe("post", tray, WM_COMMAND, HIDE_ALL, 0)
    poll(lambda: not visible("PCN_NOTE"), 10)
    return bool(last) and not beyond


def balloon():
    """The notification-area balloon the shell shows, if one is up (its text is drawn by
    the shell and cannot be read from here)."""
    shell = {w["pid"] for w in top_level_windows() if w["cls"] == "Shell_TrayWnd"}
    return [w for w in top_level_windows() if w["visible"] and w["cls"] == "tooltips_class32" and w["pid"] in shell]


def visible(cls):
    return [w for w in top_level_windows() if w["visible"] and w["cls"] == cls]


def rect(hwnd):
    """left, top, right, bottom on the screen."""
    _, lines = probe("rect", hwnd)
    return tuple(map(int, lines[0].split()))


def editor(note, timeout=10):
    """The note's rich-edit control, once the note has taken it."""
    found = poll(lambda: [w for w in children(note) if w["cls"] == EDITOR_CLASS and w["visible"]], timeout)
    return found[0]["hwnd"] if found else None


def text(hwnd):
    """A window's text as the window itself gives it (WM_GETTEXT), wide."""
    code, lines = probe("text", hwnd)
    return "\n".join(lines) if code == 0 else None


def text_length(hwnd):
    """The length of a control's text as the control tells it: children() lists the text
    a control of another process was created with."""
    code, lines = probe("send", hwnd, WM_GETTEXTLENGTH, 0, 0)
    return int(lines[0]) if code == 0 and lines else 0


def colours(left, top, right, bottom):
    """The set of colours the screen shows in a box, as (r, g, b) bytes."""
    raw = subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                          "-depth", "8", "rgb:-"], capture_output=True, timeout=60).stdout
    return {raw[i:i + 3] for i in range(0, len(raw), 3)}


def screenshot(path, left, top, right, bottom):
    """A picture of a box of the screen, for a person to look at."""
    subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top, left, top),
                    path], capture_output=True, timeout=60)


def xdo(*args):
    """Real input through the X server, as a person would give it."""
    subprocess.run(["xdotool", *[str(a) for a in args]], capture_output=True, env=on_machine([])[1])


def move_mouse(x, y):
    """Moves the pointer and waits until Windows' cursor position says so: Wine answers from
    the position it last noted for a tenth of a second, so a menu opened at once after a move
    can still open where the pointer was."""
    xdo("mousemove", x, y)
    return poll(lambda: probe("cursor")[1] == ["%d %d" % (x, y)], 5)


def click_menu_away(x=60, y=740):
    """Closes an open menu with a click elsewhere; a click given while the menu is still
    starting to track can be lost on a loaded machine, so it is given again until one lands."""
    for _ in range(3):
        xdo("mousemove", x, y, "click", 1)
        if poll(lambda: not visible("#32768"), 4):
            return True
    return False


def keep_x_focus():
    """Gives the X keyboard focus back to Wine's desktop when it is neither there nor on a
    note's window. With no window manager nothing else does, and now and then, with two
    displays busy, it stays on a window of no name: the click still reaches the note and
    puts the caret there, but the keys reach nothing."""
    env = on_machine([])[1]
    name = subprocess.run(["xdotool", "getwindowfocus", "getwindowname"], capture_output=True, env=env).stdout
    if b"Wine desktop" in name:
        return
    # A note's X window is named by the note's title now; its class is the program's.
    cls = subprocess.run(["xdotool", "getwindowfocus", "getwindowclassname"], capture_output=True, env=env).stdout
    if b"pinvel" in cls.lower():
        return
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Wine desktop"], capture_output=True,
                           env=env).stdout.split()
    if found:
        subprocess.run(["xdotool", "windowfocus", "--sync", found[0]], capture_output=True, env=env, timeout=10)


def type_keys(text):
    """Types with real keys. For a character the keyboard layout lacks, xdotool binds a
    spare key for one press and unbinds it half the delay after; Wine looks the key up
    only when the program translates the press, so on a loaded machine those keys are
    kept bound longer."""
    for run in re.findall(r"[\x00-\x7f]+|[^\x00-\x7f]+", text):
        xdo("type", "--delay", 30 if run.isascii() else 300, "--", run)


def type_into(note, text):
    """Clicks into the note's text and types; true once the editor has taken it all."""
    edit = editor(note)
    if edit is None:
        return False
    before = text_length(edit)
    left, top, _, _ = rect(note)
    xdo("mousemove", left + 40, top + 60, "click", 1)
    keep_x_focus()
    type_keys(text)
    return poll(lambda: text_length(edit) >= before + len(text))


def tray_event(tray, event, x=0, y=0):
    """Posts an icon event as the shell sends it to a program that asked for the fourth
    version of the icon's messages, as Pinvel does: the event in the low word, the icon's
    id in the high one, and the point the shell means in wParam."""
    return probe("post", tray, WM_TRAY_NOTIFY, (x & 0xFFFF) | ((y & 0xFFFF) << 16), event | (1 << 16))[0] == 0


def new_note(tray):
    """A note made as by a double click on the icon."""
    tray_event(tray, WM_LBUTTONDBLCLK)
    return wait_window("PCN_NOTE")


def user_folders():
    """The Wine user's %APPDATA% and %LOCALAPPDATA%, as Linux paths."""
    users = os.path.join((on_machine([])[1] or os.environ)["WINEPREFIX"], "drive_c", "users")
    user = next(u for u in sorted(os.listdir(users)) if u != "Public")
    appdata = os.path.join(users, user, "AppData")
    return os.path.join(appdata, "Roaming"), os.path.join(appdata, "Local")


def clear_user_folders():
    """What a program run left in the user's folders (notes kept there when the program
    folder was shut, rescued notes): every test starts without them."""
    roaming, local = user_folders()
    for folder in (os.path.join(roaming, "Pinvel"), os.path.join(local, "Pinvel"), os.path.join(local, "VirtualStore")):
        shutil.rmtree(folder, ignore_errors=True)


def rescued():
    """The rescue folder under the user's profile, and the files in it."""
    folder = os.path.join(user_folders()[1], "Pinvel", "未保存")
    return folder, sorted(os.listdir(folder)) if os.path.isdir(folder) else []


class ProgramFolder:
    """A fresh program folder holding a copy of Pinvel.exe. A test that reads the program's
    Chinese texts gets them on a Western Windows too: its notes folders choose Chinese at
    every start, unless it asks for language=None to test the choice itself."""

    def __init__(self, language="zh"):
        # A Chinese Windows chooses Chinese by itself: its folders stay as a user's would.
        self.language = None if language == "zh" and CODE_PAGE == 936 else language
        clear_user_folders()
        self.path = tempfile.mkdtemp(prefix="pinvel-")
        self.exe = os.path.join(self.path, "Pinvel.exe")
        shutil.copy(os.path.join(WIN_DIR, "Pinvel.exe"), self.exe)
        self.running = []

    def start(self, *args, env=None, drawn=False):
        """drawn: Wine logs every text the program draws with DrawText, for drawn_texts()."""
        # A copy told to exit makes nothing, not even a notes folder.
        if self.language and not {"-exit", "/exit"} & {str(a).lower() for a in args}:
            choose_language(os.path.join(self.path, NOTES), self.language)
            roaming = os.path.join(user_folders()[0], "Pinvel")
            if os.path.isdir(roaming):
                choose_language(os.path.join(roaming, NOTES), self.language)
        err = open(self.path + ".drawn", "wb") if drawn else subprocess.DEVNULL
        if drawn:
            env = dict(env or os.environ, WINEDEBUG="trace+text")
        command, machine_env = on_machine(["wine", self.exe, *args])
        proc = subprocess.Popen(command, cwd=self.path, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=err, env=env or machine_env)
        if drawn:
            err.close()
        self.running.append(proc)
        return proc

    def drawn_texts(self):
        """Every text the program drew so far, as Wine's trace of DrawTextExW tells it:
        what the user read on the screen, after any code page conversion."""
        with open(self.path + ".drawn", "rb") as f:
            log = f.read().decode("utf-8", "replace")
        escapes = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\"}
        return [re.sub(r'\\([0-9a-f]{4}|.)', lambda m: escapes.get(m.group(1)) or chr(int(m.group(1), 16)), s)
                for s in re.findall(r'trace:text:DrawTextExW L"((?:[^"\\]|\\.)*)"', log)]

    def run(self, *args, timeout=30):
        """Runs a copy to its end; returns its exit code."""
        proc = self.start(*args)
        return proc.wait(timeout=timeout)

    def listing(self):
        found = []
        for top, dirs, files in os.walk(self.path):
            for name in dirs + files:
                found.append(os.path.relpath(os.path.join(top, name), self.path))
        return sorted(found)

    def close(self):
        """Ends every copy this folder started, politely first."""
        if any(p.poll() is None for p in self.running):
            command, env = on_machine(["wine", self.exe, "-exit"])
            subprocess.run(command, cwd=self.path, capture_output=True, timeout=60, env=env)
        deadline = time.time() + 10
        for proc in self.running:
            try:
                proc.wait(timeout=max(0.1, deadline - time.time()))
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        shutil.rmtree(self.path, ignore_errors=True)
        clear_user_folders()
        if os.path.exists(self.path + ".drawn"):
            os.remove(self.path + ".drawn")
