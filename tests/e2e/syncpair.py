"""Two Syncthing instances keeping two local folders in step, for tests that run the
program as two PCs sharing one notes folder. Each configuration is written whole before
the first start, so no instance ever runs with settings that reach beyond 127.0.0.1.
"""
import json
import os
import re
import secrets
import shutil
import signal
import socket
import subprocess
import time
import urllib.request
from xml.sax.saxutils import escape, quoteattr

SYNCTHING = shutil.which("syncthing")
FOLDER_ID = "pinvel-notes"
# The program saves through "~NAME.tmp" files and renames them; left to Syncthing they
# would travel half-written and be deleted again on the other side.
IGNORES = "~*.tmp\n"
# A proxy from the environment would carry both the REST calls and Syncthing's own dials
# off this machine.
_LOCAL = urllib.request.build_opener(urllib.request.ProxyHandler({}))

# A folder's settings left out of the file are zero, not Syncthing's defaults: without
# maxConflicts a note changed on both PCs would silently lose one of the changes.
CONFIG = """<configuration version="36">
<folder id="{folder}" label="notes" path={path} type="sendreceive" rescanIntervalS="10"
 fsWatcherEnabled="true" fsWatcherDelayS="1" ignorePerms="true" autoNormalize="true">
<device id="{me}"></device><device id="{other}"></device><versioning></versioning>
<markerName>.stfolder</markerName><minDiskFree unit="%">1</minDiskFree>
<maxConflicts>10</maxConflicts></folder>
{devices}
<gui enabled="true" tls="false"><address>127.0.0.1:{gui}</address><apikey>{key}</apikey></gui>
<options>{options}</options>
</configuration>
"""
DEVICE = """<device id="{id}" name="{name}" compression="metadata" introducer="false">
<address>tcp://127.0.0.1:{port}</address><autoAcceptFolders>false</autoAcceptFolders></device>
"""
OPTIONS = dict(
    globalAnnounceServer="", globalAnnounceEnabled="false", localAnnounceEnabled="false",
    relaysEnabled="false", natEnabled="false",
    # Both start together, so one's first dial may find the other not yet listening; 5 is the least taken.
    reconnectionIntervalS="5", startBrowser="false", urAccepted="-1", urURL="",
    autoUpgradeIntervalH="0", releasesURL="", crashReportingEnabled="false", crashReportingURL="",
    stunServer="", announceLANAddresses="false", setLowPriority="false", restartOnWakeup="false")


def available():
    """Whether a Syncthing that answers --version is on PATH, and why not."""
    if not SYNCTHING:
        return False, "syncthing is not on PATH"
    try:
        run = subprocess.run([SYNCTHING, "--version"], capture_output=True, text=True, timeout=30)
    except (OSError, subprocess.SubprocessError) as e:
        return False, "syncthing --version failed: %s" % e
    return (run.returncode == 0, run.stdout.strip() or run.stderr.strip())


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class _Side:
    def __init__(self, name, folder, workdir):
        self.name, self.folder = name, folder
        self.home = os.path.join(workdir, "st-" + name)
        self.log = os.path.join(workdir, "syncthing-%s.log" % name)
        self.listen, self.gui, self.key = _free_port(), _free_port(), secrets.token_hex(16)
        self.proc = self.id = None

    def rest(self, path, method="GET", timeout=10):
        req = urllib.request.Request("http://127.0.0.1:%d/rest/%s" % (self.gui, path),
                                     method=method, headers={"X-API-Key": self.key})
        with _LOCAL.open(req, timeout=timeout) as r:
            body = r.read()
        return json.loads(body) if body.strip() else None

    def tail(self, lines=40):
        with open(self.log, encoding="utf-8", errors="replace") as f:
            return "--- %s\n%s" % (self.log, "".join(f.readlines()[-lines:]))


class SyncPair:
    """folder_a and folder_b, two existing folders, kept in step by two Syncthing
    instances whose homes and logs go under workdir."""

    def __init__(self, folder_a, folder_b, workdir):
        self.sides = (_Side("a", folder_a, workdir), _Side("b", folder_b, workdir))
        self.env = {k: v for k, v in os.environ.items() if not k.lower().endswith("_proxy")}
        self.env.update(HOME=workdir, STNOUPGRADE="1", STNODEFAULTFOLDER="1", STNORESTART="1")

    def _config(self, me, other):
        devices = "".join(DEVICE.format(id=s.id, name=s.name, port=s.listen) for s in (me, other))
        options = "".join("<%s>%s</%s>" % (k, escape(v), k)
                          for k, v in dict(OPTIONS, listenAddress="tcp://127.0.0.1:%d" % me.listen).items())
        return CONFIG.format(folder=FOLDER_ID, path=quoteattr(me.folder), me=me.id, other=other.id,
                             devices=devices, gui=me.gui, key=me.key, options=options)

    def start(self, timeout=60):
        """Both instances running, connected to each other, with the folder in sync."""
        for s in self.sides:
            run = subprocess.run([SYNCTHING, "generate", "--home=" + s.home, "--no-default-folder",
                                  "--skip-port-probing"], env=self.env, capture_output=True, text=True, timeout=60)
            found = re.search(r"Device ID:\s*([A-Z0-9-]{63})", run.stdout + run.stderr)
            if run.returncode or not found:
                raise AssertionError("syncthing generate failed:\n" + run.stdout + run.stderr)
            s.id = found.group(1)
            os.makedirs(os.path.join(s.folder, ".stfolder"), exist_ok=True)
            with open(os.path.join(s.folder, ".stignore"), "w", encoding="utf-8") as f:
                f.write(IGNORES)
        for me, other in (self.sides, self.sides[::-1]):
            with open(os.path.join(me.home, "config.xml"), "w", encoding="utf-8") as f:
                f.write(self._config(me, other))
            with open(me.log, "ab") as log:
                me.proc = subprocess.Popen([SYNCTHING, "serve", "--home=" + me.home, "--no-browser", "--no-restart",
                                            "--no-upgrade", "--logflags=0"], env=self.env, stdout=log,
                                           stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                           start_new_session=True)
        if not self.wait_idle(timeout):
            tails = "\n".join(s.tail() for s in self.sides)
            self.stop()
            raise AssertionError("Syncthing did not connect and settle in %ss\n%s" % (timeout, tails))

    def _settled(self, me, other):
        if not me.rest("system/connections")["connections"].get(other.id, {}).get("connected"):
            return None
        status = me.rest("db/status?folder=" + FOLDER_ID)
        remote = me.rest("db/completion?folder=%s&device=%s" % (FOLDER_ID, other.id))
        need = [status[k] for k in ("needFiles", "needBytes", "needDeletes")]
        if status["state"] != "idle" or any(need + [remote[k] for k in ("needItems", "needBytes", "needDeletes")]):
            return None
        return status["sequence"], status["globalFiles"], status["globalBytes"]

    def wait_idle(self, timeout=60):
        """True once both sides are connected, have scanned what is on disk, need nothing,
        and know the other needs nothing, twice running; False at timeout."""
        end, last, scanned = time.monotonic() + timeout, None, False
        a, b = self.sides
        while time.monotonic() < end:
            if any(s.proc is None or s.proc.poll() is not None for s in self.sides):
                return False
            try:
                if not scanned:
                    # Changes the watcher has not reported yet would otherwise look settled.
                    for s in self.sides:
                        s.rest("db/scan?folder=" + FOLDER_ID, "POST", timeout=max(1, end - time.monotonic()))
                    scanned = True
                now = (self._settled(a, b), self._settled(b, a))
            except (OSError, ValueError, KeyError):
                now = None
            if now and None not in now and now[0][1:] == now[1][1:] and now == last:
                return True
            last = now
            time.sleep(0.25)
        return False

    def pause(self, paused=True):
        """The two stop (or go on) exchanging changes, as two PCs out of each other's reach."""
        for s in self.sides:
            s.rest("system/pause" if paused else "system/resume", "POST")

    def stop(self):
        """Both instances ended; harmless when already stopped. Syncthing works in a child of
        the process started here, even with --no-restart, so signals go to the whole group."""
        for s in self.sides:
            if not s.proc:
                continue
            try:
                s.rest("system/shutdown", "POST", timeout=5)
                s.proc.wait(10)
            except (OSError, ValueError, subprocess.TimeoutExpired):
                for sig in (signal.SIGTERM, signal.SIGKILL):
                    try:
                        os.killpg(s.proc.pid, sig)
                        s.proc.wait(10)
                        break
                    except subprocess.TimeoutExpired:
                        pass
                    except ProcessLookupError:
                        break
            s.proc = None
