"""`quarnel PATH` under real Wayland compositors, without a window of its own having had focus.

sway (wlroots) runs headless and offers the data-control protocol: the list must land on the
clipboard, also over another program's text, and the program must end once another client
copies. weston, nested in Xvfb, offers no such protocol: the program must say so in German and
end, instead of waiting for good for a clipboard it never got. Under XWayland (DISPLAY set) the
X11 way stays, and the list must reach Wayland's clipboard too. wl-clipboard reads and writes
the clipboard as any Wayland program would.

Compositors refuse to run as root, so they and every client run as the unprivileged user
"nobody" when the tests run as root, each session in a folder and a runtime folder (0700) of
that user's own, with a copy of the program.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from xsession import XSession, program_path, wait_for

NOBODY = 65534
LIST = "Brief an Anna.txt\r\nÜbersicht.txt\r\n".encode("utf-8")
BEFORE = b"vorher kopiert"
AFTER = b"danach kopiert"
# the first line of the message that says the Wayland session refused the clipboard
REFUSED = "Die Wayland-Sitzung lässt die Liste nicht in die Zwischenablage"


def as_user():
    drop = ["--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
    return ["setpriv"] + (drop if os.geteuid() == 0 else []) + ["--pdeathsig", "KILL", "--"]


class WaylandSession:
    """A compositor of the test's own, and the clients started in it."""

    def __init__(self, test, compositor_args, x_display=None):
        self.tmp = Path(tempfile.mkdtemp(prefix="quarnel-wayland-"))
        test.addCleanup(shutil.rmtree, self.tmp, ignore_errors=True)
        self.runtime = self.tmp / "runtime"
        for sub in ("home", "config", "runtime", "files"):
            (self.tmp / sub).mkdir(mode=0o700)
        for name in ("Übersicht.txt", "Brief an Anna.txt"):
            (self.tmp / "files" / name).write_bytes(b"")
        # a copy that the user can run wherever the build lies (a root's home, say)
        self.program = self.tmp / "quarnel"
        shutil.copy2(program_path(), self.program)
        if os.geteuid() == 0:
            for path in [self.tmp, *self.tmp.rglob("*")]:
                os.chown(path, NOBODY, NOBODY)
        self.x_display = x_display
        self.children = []
        test.addCleanup(self.stop)
        log = open(self.tmp / "compositor.log", "wb")
        self.compositor = self.spawn(compositor_args, env=self.env(
            WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman"),
            stdout=log, stderr=subprocess.STDOUT)
        log.close()
        try:
            self.socket = wait_for(self._socket, timeout=15, what="the compositor's socket")
        except TimeoutError:
            test.skipTest("%s does not start here: %s" % (compositor_args[0], self.log()[-800:]))

    def _socket(self):
        if self.compositor.poll() is not None:
            return None
        names = [p.name for p in self.runtime.glob("wayland-*") if p.is_socket()]
        return names[0] if names else None

    def log(self):
        return (self.tmp / "compositor.log").read_text(errors="replace")

    def env(self, **extra):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": str(self.tmp / "home"),
            "XDG_CONFIG_HOME": str(self.tmp / "config"),
            "XDG_RUNTIME_DIR": str(self.runtime),
            "LANG": "C.UTF-8",
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + str(self.runtime / "no-bus"),
            "NO_AT_BRIDGE": "1",
        }
        if getattr(self, "socket", None):
            env["WAYLAND_DISPLAY"] = self.socket
        if self.x_display:
            env["DISPLAY"] = self.x_display
        env.update(extra)
        return env

    def spawn(self, args, env=None, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
              stdin=subprocess.DEVNULL):
        child = subprocess.Popen(as_user() + list(args), env=env or self.env(), stdin=stdin,
                                 stdout=stdout, stderr=stderr, start_new_session=True)
        self.children.append(child)
        return child

    def stop(self):
        for child in reversed(self.children):
            for sig in (signal.SIGTERM, signal.SIGKILL):
                try:
                    os.killpg(child.pid, sig)
                    child.wait(timeout=3)
                    break
                except (ProcessLookupError, PermissionError):
                    break
                except subprocess.TimeoutExpired:
                    continue
        self.children.clear()

    def quarnel(self, **env):
        """`quarnel PATH...` on the two files, as a file manager's context menu starts it."""
        errors = open(self.tmp / "quarnel.log", "wb")
        names = sorted(str(p) for p in (self.tmp / "files").iterdir())
        program = self.spawn([str(self.program)] + names, env=self.env(**env), stderr=errors)
        errors.close()
        return program

    def quarnel_errors(self):
        return (self.tmp / "quarnel.log").read_text(errors="replace")

    def paste(self):
        result = subprocess.run(as_user() + ["wl-paste", "--no-newline", "--type", "text/plain"],
                                env=self.env(), capture_output=True, timeout=10)
        return result.stdout if result.returncode == 0 else None

    def copy(self, data):
        """Puts data on the clipboard from a wl-copy client that serves it until replaced."""
        copier = self.spawn(["wl-copy", "--foreground", "--type", "text/plain"],
                            stdin=subprocess.PIPE)
        copier.stdin.write(data)
        copier.stdin.close()
        wait_for(lambda: self.paste() == data, what="wl-copy to own the clipboard")
        return copier


def ended(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


@unittest.skipIf(shutil.which("sway") is None or shutil.which("wl-paste") is None,
                 "sway or wl-clipboard is not installed (scripts/install-deps test)")
class SwayTest(unittest.TestCase):
    """wlroots' data-control protocol: the clipboard without a focused window."""

    def sway(self, config):
        """sway with config; "{folder}" in it is a folder that sway may write."""
        folder = Path(tempfile.mkdtemp(prefix="quarnel-sway-"))
        self.addCleanup(shutil.rmtree, folder, ignore_errors=True)
        if os.geteuid() == 0:
            os.chown(folder, NOBODY, NOBODY)
        path = folder / "config"
        path.write_text(config.format(folder=folder))
        path.chmod(0o644)
        self.folder = folder
        return WaylandSession(self, ["sway", "--config", str(path)])

    def check_list_then_loss(self, session, program):
        text = wait_for(lambda: (lambda now: now if now == LIST else None)(session.paste()),
                        timeout=15, what="the list on the clipboard; quarnel said: %r, "
                        "clipboard: %r" % (session.quarnel_errors(), session.paste()))
        self.assertEqual(text, LIST)
        time.sleep(0.5)
        self.assertIsNone(program.poll(), "the program must serve the list while it owns it")
        self.assertEqual(session.paste(), LIST, "served again, whole")
        session.copy(AFTER)
        self.assertEqual(ended(program, 10), 0, "the program ends once another client copies")

    def test_the_list_goes_on_the_clipboard_through_data_control(self):
        session = self.sway("xwayland disable\n")
        program = session.quarnel()
        self.check_list_then_loss(session, program)
        self.assertNotIn(REFUSED, session.quarnel_errors())

    def test_another_programs_text_is_replaced(self):
        session = self.sway("xwayland disable\n")
        session.copy(BEFORE)
        program = session.quarnel(QT_QPA_PLATFORM="wayland")
        self.check_list_then_loss(session, program)

    @unittest.skipIf(shutil.which("Xwayland") is None,
                     "Xwayland is not installed (scripts/install-deps test)")
    def test_under_xwayland_the_list_reaches_wayland_programs(self):
        session = self.sway("xwayland enable\nexec env > {folder}/sway.env\n")
        env_file = self.folder / "sway.env"
        found = wait_for(lambda: env_file.exists() and re.search(
            r"^DISPLAY=(\S+)$", env_file.read_text(), re.M), what="sway's X display")
        session.x_display = found.group(1)
        program = session.quarnel()
        self.check_list_then_loss(session, program)


@unittest.skipIf(shutil.which("weston") is None, "weston is not installed "
                 "(scripts/install-deps test)")
class WestonTest(unittest.TestCase):
    """A compositor without data-control: the clipboard cannot be had without focus."""

    def test_the_program_says_so_and_ends(self):
        x = XSession().start()
        self.addCleanup(x.stop)
        session = WaylandSession(self, ["weston", "--backend=x11-backend.so", "--width=640",
                                        "--height=480", "--socket=wayland-quarnel"],
                                 x_display=x.display)
        session.x_display = None  # the program sees only Wayland
        program = session.quarnel()
        wait_for(lambda: REFUSED in session.quarnel_errors() or program.poll() is not None,
                 timeout=15, what="the message")
        self.assertIn(REFUSED, session.quarnel_errors())
        self.assertIn("ziehen Sie die Dateien und Ordner auf sein Fenster",
                      session.quarnel_errors())
        self.assertIsNone(program.poll(), "the message waits for the user")

        # the message box has the keyboard in weston's window: Return is its OK button
        weston = wait_for(lambda: x.run(["xdotool", "search", "--onlyvisible", "--class",
                                         "^Weston Compositor$"], check=False).stdout.split(),
                          what="weston's window")[0].decode()
        wx, wy, ww, wh = x.geometry(weston)
        x.xdotool("mousemove", wx + ww // 2, wy + wh // 2)

        def pressed_and_ended():
            x.xdotool("key", "Return")
            return ended(program, 1) is not None
        wait_for(pressed_and_ended, timeout=60, what="the program to end after OK")
        self.assertEqual(program.returncode, 1)


if __name__ == "__main__":
    unittest.main()
