"""quarnel.exe under Wine on a private Xvfb display: its own Wine prefix, the windows, the
clipboard and shortcuts as Windows sees them (through wine_probe.exe), and the registry through
`reg`."""

import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

# the Linux end-to-end helpers, the Linux build's side of the comparison, and the share rig
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "e2e"))
sys.path.insert(0, str(Path(__file__).resolve().parents[1]))
sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "bench"))

from xsession import XSession, wait_for  # noqa: E402
from linux_side import windows_name  # noqa: E402

WINE_RUN = os.environ["QUARNEL_WINE_RUN"]
QUARNEL_EXE = os.environ["QUARNEL_EXE"]
WINE_PROBE = os.environ["QUARNEL_WINE_PROBE"]
SETTINGS_KEY = "HKCU\\Software\\Kelvaro's Tools\\Quarnel! 2.5"
TITLE = "Quarnel! 2.5"
WS_EX_TOPMOST = 0x8


class Window:
    """One line of `wine_probe windows`."""

    def __init__(self, line):
        head, _, tail = line.partition("\t")
        parts = head.split(" ", 10)
        self.kind = parts[0]
        self.handle = parts[1]
        self.parent = parts[2]
        self.style = int(parts[4], 16)
        self.exstyle = int(parts[5], 16)
        self.rect = tuple(int(v) for v in parts[6:10])
        self.class_name = parts[10]
        self.text = tail

    def centre(self):
        left, top, right, bottom = self.rect
        return ((left + right) // 2, (top + bottom) // 2)


class WineSession:
    def __init__(self):
        self.x = XSession(window_manager=True, screen="1280x1024x24")

    def start(self):
        self.x.start()
        self.prefix = self.x.tmp / "wine-prefix"
        self.run("wineboot", "-i")
        return self

    def stop(self):
        subprocess.run(["/usr/lib/wine/wineserver64", "-k"], env=self.env(), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.x.stop()

    def env(self):
        return self.x.env(WINEPREFIX=str(self.prefix))

    def run(self, *command, check=True):
        done = subprocess.run([WINE_RUN, *command], env=self.env(), capture_output=True,
                              timeout=120)
        if check and done.returncode != 0:
            raise RuntimeError("%s failed: %s" % (command, done.stderr.decode(errors="replace")))
        return done

    # -- what Windows sees -----------------------------------------------------------------

    def windows(self):
        out = self.run(WINE_PROBE, "windows").stdout.decode("utf-8")
        return [Window(line) for line in out.splitlines() if line]

    def clipboard(self):
        done = self.run(WINE_PROBE, "clipboard", check=False)
        return done.stdout if done.returncode == 0 else None

    def set_clipboard(self, text):
        self.run(WINE_PROBE, "set-clipboard", text)
        wait_for(lambda: self.clipboard() == text.encode("utf-8"), what="the clipboard")

    def clipboard_after(self, *command):
        """(the run, the text it put on the clipboard) of a Windows program that puts a text on
        the clipboard and ends. Wine drops the text when the program ends while nothing else
        keeps Wine running: a listener started before the program takes it."""
        ready = Path(tempfile.mkdtemp(prefix="watch-", dir=self.x.tmp)) / "listening"
        watcher = self.x.spawn([WINE_RUN, WINE_PROBE, "watch-clipboard", windows_name(ready)],
                               stdout=subprocess.PIPE, env=self.env())
        try:
            wait_for(ready.exists, timeout=30, what="the clipboard listener")
            done = self.run(*command, check=False)
            text, _ = watcher.communicate(timeout=30) if done.returncode == 0 else (None, None)
            return done, text
        finally:
            self.x.end(watcher)

    def shortcut(self, windows_path):
        """(target, arguments, working folder, icon file, icon index) of a .lnk file, as the
        shell reads it."""
        lines = self.run(WINE_PROBE, "shortcut", windows_path).stdout.decode("utf-8")
        target, arguments, folder, icon, index = lines.split("\n")[:5]
        return target, arguments, folder, icon, int(index)

    def linux_path(self, windows_path):
        return Path(self.run("winepath", "-u", windows_path).stdout.decode("utf-8").strip())

    def registry_key(self, key):
        """The values of a registry key as {name: text}, or None when it is missing. Read
        through an exported file: `reg query` writes in the console's code page."""
        exported = Path(tempfile.mkdtemp(prefix="reg-", dir=self.x.tmp)) / "key.reg"
        if self.run("reg", "export", key, windows_name(exported), "/y",
                    check=False).returncode != 0:
            return None
        values = {}
        for line in exported.read_text(encoding="utf-16").splitlines():
            name, separator, value = line.partition("=")
            if separator and name.startswith('"'):
                # text values are quoted, with "\" and '"' escaped by a backslash
                values[name.strip('"')] = (re.sub(r"\\(.)", r"\1", value[1:-1])
                                           if value.startswith('"') else value)
        return values

    def stored_options(self):
        done = self.run("reg", "query", SETTINGS_KEY, "/v", "Options", check=False)
        return done.stdout.decode("utf-8", errors="replace") if done.returncode == 0 else None

    def store_options(self, options):
        if options is None:
            self.run("reg", "delete", SETTINGS_KEY, "/f", check=False)
        else:
            self.run("reg", "add", SETTINGS_KEY, "/v", "Options", "/t", "REG_SZ", "/d", options,
                     "/f")


class WineProgram:
    """quarnel.exe, started with the given stored options (None: nothing stored)."""

    def __init__(self, session, options=None, exe=QUARNEL_EXE):
        self.session = session
        session.store_options(options)
        self.process = session.x.spawn([WINE_RUN, exe], env=session.env())
        try:
            self.main = wait_for(lambda: self.top_window("QuarnelMainForm"), timeout=30,
                                 what="the main window")
        except BaseException:
            self.stop()
            raise

    def stop(self):
        self.session.x.end(self.process)

    def top_window(self, class_name):
        if self.process.poll() is not None:
            raise RuntimeError("quarnel.exe ended with status %d" % self.process.returncode)
        found = [w for w in self.session.windows() if w.kind == "top" and
                 w.class_name == class_name]
        return found[0] if found else None

    def child(self, class_name=None, text=None, top_class="QuarnelMainForm"):
        windows = self.session.windows()
        top = [w for w in windows if w.kind == "top" and w.class_name == top_class]
        if not top:
            return None
        found = [w for w in windows if w.kind == "child" and
                 (class_name is None or w.class_name == class_name) and
                 (text is None or w.text == text)]
        return found[0] if found else None

    def waits_on(self):
        """Where quarnel.exe's threads sleep in the kernel ("request_wait_answer": a FUSE
        daemon's answer), for failure messages. It runs below the wine-run script."""
        pids = [self.process.pid]
        for pid in pids:
            try:
                for task in Path("/proc/%d/task" % pid).iterdir():
                    pids += map(int, (task / "children").read_text().split())
            except OSError:
                continue
        found = set()
        for pid in pids[1:]:
            try:
                if Path("/proc/%d/comm" % pid).read_text().strip() == "quarnel.exe":
                    found |= {(task / "wchan").read_text()
                              for task in Path("/proc/%d/task" % pid).iterdir()}
            except OSError:
                continue
        return "quarnel.exe's threads wait on %s" % ", ".join(sorted(found))

    def click(self, point):
        self.session.x.xdotool("mousemove", *point)
        self.session.x.xdotool("click", 1)
