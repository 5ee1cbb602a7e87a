"""Notes written by one build are read and written again by the other, byte for byte: a
user who moves a notes folder between the 32-bit and the 64-bit program loses nothing
and finds every file as it was.

Each build runs in its own Wine prefix, so each step of the round trip is a run of
tools/wine-run.sh of its own: the i686 build writes the notes, the x86-64 build shows
each one and types a character and takes it back (so that the note counts as changed
and is written again), and the other way round.
Needs a machine that runs both builds; elsewhere it reports itself skipped.

    cross_builds.py                       the round trips, from outside Wine
    cross_builds.py --step IN OUT         one build's run, inside tools/wine-run.sh
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pinvel_e2e as e2e
from pinvel_e2e import HIDE_ALL, WM_COMMAND, note_file

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SKIPPED = 77

# Notes with every kind of field: Chinese and empty titles, formatted RTF text with
# characters outside the code page, alarms of each kind, stamps either side of 1899.
NOTES = {
    "N021215 (1).pvl": note_file("购物", "anna", b"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b milk\\b0 \\u8364? 5}",
                                 alarms={("general", 0): 37606.25, ("weekly", 3): 0.5}),
    "N021215 (2).pvl": note_file("", "", b"", stamps=(-657433.9175115741, 2958465.999988426)),
    "N261208 (1).pvl": note_file("plan & more", "bo", b"{\\rtf1 line one\\par line two}",
                                 alarms={("yearly", 5): 46000.75}),
}


def step(source, target, make_one):
    """Starts this build in a fresh program folder holding source's files, shows every
    note, makes one more if asked, and quits; then copies what it wrote to target."""
    folder = e2e.ProgramFolder()
    try:
        shutil.copytree(source, folder.path, dirs_exist_ok=True)
        count = len(e2e.saved_notes(folder.path))
        started = time.time() - 2
        proc = folder.start()
        logic = e2e.wait_window(e2e.LOGIC_CLASS)
        tray = e2e.tray_window(logic)
        e2e.probe("send", logic, 0, 0, 0)
        for i in range(count):
            shown = {w["hwnd"] for w in e2e.visible("PCN_NOTE")}
            if not e2e.show_note(tray, i):
                raise AssertionError("note %d of %d did not show" % (i + 1, count))
            # Only a changed note is written: a key and its undoing change nothing else.
            note = [w["hwnd"] for w in e2e.visible("PCN_NOTE") if w["hwnd"] not in shown][0]
            edit = e2e.editor(note)
            before = e2e.text_length(edit)
            if not e2e.type_into(note, "x"):
                raise AssertionError("note %d did not take a key" % (i + 1))
            e2e.xdo("key", "BackSpace")
            e2e.poll(lambda: e2e.text_length(edit) == before)
        if make_one and not e2e.type_into(e2e.new_note(tray), "typed on one build"):
            raise AssertionError("the new note did not take the typed text")
        e2e.probe("post", tray, WM_COMMAND, HIDE_ALL, 0)
        e2e.poll(lambda: not e2e.visible("PCN_NOTE"))
        if folder.run("-exit") != 0 or proc.wait(timeout=30) != 0:
            raise AssertionError("the program did not save and quit")
        # A file this build did not write again would compare equal whatever it does.
        stale = [p for p in e2e.saved_notes(folder.path) if os.path.getmtime(p) < started]
        if stale:
            raise AssertionError("not written again: %s" % stale)
        shutil.copytree(folder.path, target, ignore=shutil.ignore_patterns("*.exe"))
    finally:
        folder.close()


def run_step(arch, source, target, make_one=False):
    env = dict(os.environ, PINVEL_ARCH=arch, PINVEL_WIN_DIR=os.path.join(os.environ["PINVEL_CROSS_ROOT"], arch),
               PINVEL_PREFIX=os.path.join(os.environ["PINVEL_PREFIXES"], arch, "wineprefix-test"))
    command = [os.path.join(ROOT, "tools", "wine-run.sh"), "--desktop", "1280x800", sys.executable,
               os.path.abspath(__file__), "--step", source, target] + (["--new"] if make_one else [])
    done = subprocess.run(command, env=env, timeout=240)
    if done.returncode != 0:
        raise AssertionError("the %s step ended with %d" % (arch, done.returncode))


def contents(folder):
    """The notes (top level of the notes folder) and the settings by their bytes, and the
    names of the earlier versions kept, which are compared only by their presence."""
    files, versions = {}, set()
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            rel = os.path.relpath(path, folder)
            if name == "Pinvel.ini" or (name.endswith(".pvl") and os.path.dirname(rel) == e2e.NOTES):
                with open(path, "rb") as f:
                    files[rel] = f.read()
            elif name.endswith(".pvl"):
                versions.add(rel)
    return files, versions


def round_trip(first, second):
    """True when what first wrote, second writes again unchanged."""
    work = tempfile.mkdtemp(prefix="pinvel-cross-")
    try:
        given = os.path.join(work, "given")
        for name, data in NOTES.items():
            e2e.put_note(given, name, data)
        run_step(first, given, os.path.join(work, "first"), make_one=True)
        run_step(second, os.path.join(work, "first"), os.path.join(work, "second"))
        (written, kept), (again, kept_again) = (contents(os.path.join(work, w)) for w in ("first", "second"))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    # The given notes, the one made, and the settings.
    ok = len(written) == len(NOTES) + 2 and "Pinvel.ini" in written
    if not ok:
        print("%s wrote %s, not %d notes and the settings" % (first, sorted(written), len(NOTES) + 1))
    for name in sorted(set(written) | set(again)):
        if written.get(name) != again.get(name):
            ok = False
            print("%s: written by %s, %s writes it otherwise" % (name, first, second))
    if kept != kept_again:
        ok = False
        print("versions kept by %s: %s; by %s: %s" % (first, sorted(kept), second, sorted(kept_again)))
    print("%s then %s: %d files compared, %d versions kept, %s" % (first, second, len(written), len(kept),
                                                                   "same" if ok else "FAILED"))
    return ok


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == "--step":
        step(sys.argv[2], sys.argv[3], "--new" in sys.argv[4:])
        return 0
    if subprocess.run([os.path.join(ROOT, "tools", "runs-32bit.sh")]).returncode != 0:
        print("skipped: this machine runs no 32-bit code, so the i686 build cannot run beside the x86-64 one")
        return SKIPPED
    results = [round_trip("win32", "win64"), round_trip("win64", "win32")]
    print("%d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
