"""A private X session for the end-to-end tests: Xvfb, optionally openbox, the program,
a GTK drag source, the clipboard and a bell counter.

Nothing here touches the user's display, clipboard or settings: every child gets its own
DISPLAY, XDG_CONFIG_HOME, XDG_RUNTIME_DIR and HOME, and runs in its own process group,
which is killed on teardown.
"""

import itertools
import os
import queue
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
SYSTEM_PYTHON = "/usr/bin/python3"  # the one with python3-gi
TITLE = "Quarnel! 2.5"
TITLE_PATTERN = "^" + re.escape(TITLE) + "$"
# the window a drop shows while it runs longer than a second
PROGRESS_TITLE = "Liste wird erstellt – " + TITLE
PROGRESS_PATTERN = "^Liste wird erstellt"  # found by its beginning, so a wrong end is told
SETTINGS_DIR = "Kelvaro's Tools"
SETTINGS_FILE = TITLE + ".ini"

# The main window's client area is 61 x 144 units of the scale factor (pixels at 96 dpi).
# Image1 (32 x 32) has its centre at (28, 36); the frame "Drop!" around it reaches from
# x 4 to 57, so (52, 36) lies on the frame beside the picture.
CLIENT_UNITS_WIDTH = 61
CLIENT_UNITS_HEIGHT = 144
IMAGE1_CENTRE_UNITS = (28, 36)
FRAME_BESIDE_IMAGE1_UNITS = (52, 36)

DEFAULT_TIMEOUT = 10.0

# Children die with the test process even when it is killed (a ctest timeout) before its
# teardown could run; they live in sessions of their own, out of reach of its group.
DIE_WITH_PARENT = ["setpriv", "--pdeathsig", "KILL", "--"]


def program_path():
    path = os.environ.get("QUARNEL")
    if not path:
        raise RuntimeError("QUARNEL must name the program to test")
    return path


def bell_watch_path():
    path = os.environ.get("QUARNEL_BELL_WATCH")
    if not path:
        raise RuntimeError("QUARNEL_BELL_WATCH must name the bell_watch helper")
    return path


def fake_clipboard_manager_path():
    path = os.environ.get("QUARNEL_FAKE_CLIPBOARD_MANAGER")
    if not path:
        raise RuntimeError("QUARNEL_FAKE_CLIPBOARD_MANAGER must name the fake_clipboard_manager helper")
    return path


def wait_for(condition, timeout=DEFAULT_TIMEOUT, interval=0.05, what="condition"):
    """Polls condition() until it returns something truthy; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise TimeoutError("timed out waiting for " + what)
        time.sleep(interval)


def wait_progress_window(session, since, bound, of, held_up):
    """The progress window, mapped within bound seconds of since, with its exact title. held_up()
    says what the program is doing meanwhile (and raises where it has ended)."""
    def mapped():
        held_up()  # raises where the program has ended
        return (session.find_windows(PROGRESS_PATTERN) or [None])[0]
    try:
        window = wait_for(mapped, timeout=max(0.0, since + bound - time.monotonic()))
    except TimeoutError:
        raise AssertionError("no progress window %.1f s after %s; %s"
                             % (bound, of, held_up())) from None
    title = session.xprop(window, "_NET_WM_NAME")
    if '"%s"' % PROGRESS_TITLE not in title:
        raise AssertionError("the progress window is titled %s" % title)
    return window


class LineReader:
    """Collects a child's stdout lines in a thread, so the test can wait for them."""

    def __init__(self, stream):
        self.lines = []
        self._queue = queue.Queue()
        self._thread = threading.Thread(target=self._pump, args=(stream,), daemon=True)
        self._thread.start()

    def _pump(self, stream):
        for raw in stream:
            self._queue.put(raw.decode("utf-8", "replace").rstrip("\n"))
        self._queue.put(None)

    def expect(self, predicate, timeout=DEFAULT_TIMEOUT, what="a line"):
        """Returns the next line for which predicate holds; earlier lines are kept in .lines."""
        deadline = time.monotonic() + timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("timed out waiting for %s; got %r" % (what, self.lines))
            try:
                line = self._queue.get(timeout=left)
            except queue.Empty:
                continue
            if line is None:
                self._queue.put(None)
                raise EOFError("output ended before %s; got %r" % (what, self.lines))
            self.lines.append(line)
            if predicate(line):
                return line

    def drain(self):
        """Takes in the lines that have arrived so far; returns all lines seen."""
        while True:
            try:
                line = self._queue.get_nowait()
            except queue.Empty:
                return self.lines
            if line is None:
                self._queue.put(None)
                return self.lines
            self.lines.append(line)


RING_BELL = """
import ctypes
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
assert display.value, "no display"
x11.XBell(display, 0)
x11.XSync(display, 0)
"""

# Asks the window given as argument to close, as its close button does (WM_DELETE_WINDOW).
CLOSE_WINDOW = """
import ctypes, sys
x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]

class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]

class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

display = x11.XOpenDisplay(None)
assert display, "no display"
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
x11.XSync(display, 0)
"""


class XSession:
    def __init__(self, window_manager=False, screen="1024x768x24"):
        self.window_manager = window_manager
        self.screen = screen
        self.display = None
        self.tmp = None
        self._children = []
        self._log_numbers = itertools.count()
        self.probe_retries = 0

    # -- life cycle -------------------------------------------------------------------

    def start(self):
        self.tmp = Path(tempfile.mkdtemp(prefix="quarnel-e2e-"))
        for sub in ("home", "config", "runtime"):
            (self.tmp / sub).mkdir(mode=0o700)
        self._start_xvfb()
        if self.window_manager:
            self._start_openbox()
        return self

    def stop(self):
        for child in reversed(self._children):
            self._kill(child)
        self._children.clear()
        if self.tmp is not None:
            shutil.rmtree(self.tmp, ignore_errors=True)
            self.tmp = None

    def _kill(self, child):
        # SIGTERM first, so Xvfb removes its lock file and socket; then make sure. The group
        # also holds whatever the child forked.
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(child.pid, sig)
            except (ProcessLookupError, PermissionError):
                break
            try:
                child.wait(timeout=3)
                break
            except subprocess.TimeoutExpired:
                continue
        for stream in (child.stdin, child.stdout, child.stderr):
            if stream is not None:
                stream.close()

    def _start_xvfb(self):
        for number in range(150, 250):
            if Path("/tmp/.X%d-lock" % number).exists():
                continue
            read_end, write_end = os.pipe()
            xvfb = subprocess.Popen(
                DIE_WITH_PARENT + ["Xvfb", ":%d" % number, "-screen", "0", self.screen, "-nolisten", "tcp",
                 "-noreset", "-displayfd", str(write_end)],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL, start_new_session=True)
            os.close(write_end)
            with os.fdopen(read_end, "rb") as ready:
                # Xvfb writes the display number once it accepts clients; EOF means it gave up
                announced = ready.readline().strip()
            if announced == str(number).encode():
                self._children.append(xvfb)
                self.display = ":%d" % number
                return
            self._kill(xvfb)
        raise RuntimeError("no free X display between :150 and :249")

    def _start_openbox(self):
        self.spawn(["openbox", "--sm-disable"])
        wait_for(lambda: b"_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout,
            what="openbox to claim the screen")
        # Openbox claims the screen before it has finished starting, and a window mapped in
        # that gap can stay unmanaged and unmapped for good. Only a window it has managed
        # shows that it is really running; a lost probe is simply tried again.
        for attempt in range(5):
            title = "Quarnel openbox probe %d" % attempt
            probe = self.spawn([SYSTEM_PYTHON, str(HERE / "drag_source.py"), "--title", title,
                                "--x", "600", "--y", "400", "--text", "Probe"])

            def managed():
                windows = self.find_windows("^" + re.escape(title) + "$", visible=False)
                return windows and all("window state: Normal" in self.xprop(w, "WM_STATE")
                                       for w in windows)
            try:
                wait_for(managed, timeout=3, what="openbox to manage a window")
                return
            except TimeoutError:
                self.probe_retries = attempt + 1
            finally:
                self.end(probe)
        raise TimeoutError("openbox manages no window")

    # -- children -----------------------------------------------------------------------

    def env(self, **extra):
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "DISPLAY": self.display,
            "HOME": str(self.tmp / "home"),
            "XDG_CONFIG_HOME": str(self.tmp / "config"),
            "XDG_RUNTIME_DIR": str(self.tmp / "runtime"),
            "XDG_CACHE_HOME": str(self.tmp / "home" / ".cache"),
            "XDG_DATA_HOME": str(self.tmp / "home" / ".local" / "share"),
            # locale says nothing about the language, so the program collates the German way
            "LANG": "C.UTF-8",
            # keep GTK and Qt off any session bus
            "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + str(self.tmp / "runtime" / "no-bus"),
            "NO_AT_BRIDGE": "1",
            "GTK_A11Y": "none",
        }
        env.update(extra)
        return env

    def spawn(self, args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
              stderr=None, env=None):
        if stderr is None:
            stderr = open(self.tmp / ("stderr-%d-%s.log" % (next(self._log_numbers),
                                                          Path(args[-1]).name)), "wb")
        child = subprocess.Popen(DIE_WITH_PARENT + list(args), env=env or self.env(), stdin=stdin, stdout=stdout,
                                 stderr=stderr, start_new_session=True)
        if stderr not in (subprocess.DEVNULL, subprocess.PIPE, subprocess.STDOUT):
            stderr.close()
        self._children.append(child)
        return child

    def describe(self):
        """What the session's children are up to, for failure messages."""
        report = []
        for child in self._children:
            state = "running" if child.poll() is None else "ended with %d" % child.returncode
            report.append("%s: %s" % (" ".join(child.args[len(DIE_WITH_PARENT):]), state))
        for log_file in sorted(self.tmp.glob("*.log")):
            text = log_file.read_text(errors="replace").strip()
            if text:
                report.append("%s:\n%s" % (log_file.name, text[-2000:]))
        return "\n".join(report)

    def end(self, child):
        """Ends one child started here (and what it forked)."""
        self._kill(child)
        if child in self._children:
            self._children.remove(child)

    def run(self, args, check=True, timeout=DEFAULT_TIMEOUT, input=None):
        return subprocess.run(args, env=self.env(), input=input, capture_output=True,
                              check=check, timeout=timeout)

    # -- windows ------------------------------------------------------------------------

    def find_windows(self, pattern, visible=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + \
               ["--name", pattern]
        result = self.run(args, check=False)
        return [int(line) for line in result.stdout.split()]

    def window_exists(self, window):
        return self.run(["xwininfo", "-id", str(window)], check=False).returncode == 0

    def viewable(self, window):
        """Whether window exists and is mapped, its parents too."""
        result = self.run(["xwininfo", "-id", str(window)], check=False)
        return result.returncode == 0 and b"Map State: IsViewable" in result.stdout

    def geometry(self, window):
        """(x, y, width, height) of the window's client area in root coordinates."""
        out = self.run(["xwininfo", "-id", str(window)]).stdout.decode()

        def field(name):
            return int(re.search(r"^\s*%s:\s*(-?\d+)" % re.escape(name), out, re.M).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def focused_window(self):
        result = self.run(["xdotool", "getwindowfocus", "-f"], check=False)
        return int(result.stdout) if result.returncode == 0 and result.stdout.strip() else None

    def xprop(self, window, *props):
        return self.run(["xprop", "-id", str(window)] + list(props)).stdout.decode()

    def key_in(self, window, key):
        """A real key press in window, given the keyboard focus first where it lacks it."""
        if self.focused_window() != window:
            self.xdotool("windowfocus", window)
        wait_for(lambda: self.focused_window() == window, timeout=2,
                 what="window 0x%x to get the focus" % window)
        self.xdotool("key", key)

    # -- clipboard ----------------------------------------------------------------------

    def read_clipboard(self):
        """(returncode, bytes) of the CLIPBOARD selection as UTF-8 text."""
        result = self.run(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"],
                          check=False)
        return result.returncode, result.stdout

    def set_clipboard(self, data):
        """Puts data on the clipboard, served by an xclip child of this session."""
        server = self.spawn(["xclip", "-i", "-quiet", "-selection", "clipboard"],
                            stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        server.stdin.write(data)
        server.stdin.close()
        server.stdin = None
        wait_for(lambda: self.read_clipboard() == (0, data), what="xclip to own the clipboard")
        return server

    # -- input and bell ------------------------------------------------------------------

    def ring_bell(self):
        """Rings the bell once from a client of its own; returns once the server has rung it."""
        self.run([SYSTEM_PYTHON, "-c", RING_BELL])

    def xdotool(self, *args):
        self.run(["xdotool"] + [str(a) for a in args])


class Program:
    """The program under test, started with its own settings file."""

    def __init__(self, session, options=None, settings_text=None, keep_settings=False,
                 paths=None):
        """With paths, the program is started with them as arguments, as a file manager's
        context menu does, and no main window is expected."""
        self.session = session
        settings_dir = session.tmp / "config" / SETTINGS_DIR
        settings = settings_dir / SETTINGS_FILE
        if settings.is_file() and not keep_settings:
            settings.unlink()
        if settings_text is None and options is not None:
            settings_text = "[General]\nOptions=%s\n" % options
        if settings_text is not None:
            settings_dir.mkdir(parents=True, exist_ok=True)
            settings.write_text(settings_text, encoding="utf-8")
        self.stderr_log = session.tmp / ("program-%d.log" % id(self))
        self.process = session.spawn([program_path(), *map(str, paths or [])],
                                     stderr=open(self.stderr_log, "wb"))
        self.window = None
        if paths:
            return
        try:
            self.window = wait_for(self._main_window, what="the main window")
        except TimeoutError:
            message = "no single visible window titled %s; found %r\n%s" % (
                TITLE, session.find_windows(TITLE_PATTERN, visible=False), session.describe())
            self.stop()
            raise TimeoutError(message) from None
        except BaseException:
            self.stop()
            raise

    def _main_window(self):
        if self.process.poll() is not None:
            raise RuntimeError("the program ended with status %d: %s" % (
                self.process.returncode, self.stderr_text()))
        windows = self.session.find_windows(TITLE_PATTERN)
        return windows[0] if len(windows) == 1 else None

    def stop(self):
        self.session.end(self.process)

    def close(self):
        """Closes the main window as its close button does; returns once it is out of sight."""
        self.session.run([SYSTEM_PYTHON, "-c", CLOSE_WINDOW, str(self.window)])
        wait_for(lambda: not self.session.find_windows(TITLE_PATTERN),
                 what="the main window to close")

    def wait_end(self, timeout):
        """Waits for the program to end; returns its exit status and the seconds it took."""
        began = time.monotonic()
        try:
            status = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program still runs after %.1f s" % timeout) from None
        return status, time.monotonic() - began

    def stderr_text(self):
        try:
            return self.stderr_log.read_text(errors="replace")
        except OSError:
            return ""

    def point(self, units):
        """Root coordinates of a point given in units of the client area."""
        x, y, width, _ = self.session.geometry(self.window)
        s = width / CLIENT_UNITS_WIDTH
        return (x + round(units[0] * s), y + round(units[1] * s))

    def image1_centre(self):
        return self.point(IMAGE1_CENTRE_UNITS)

    def other_windows(self):
        """Visible windows titled like the program, apart from the main window."""
        return [w for w in self.session.find_windows(TITLE_PATTERN) if w != self.window]

    def waits_on(self):
        """Where the window's thread sleeps in the kernel ("request_wait_answer": a FUSE
        daemon's answer), for failure messages."""
        try:
            return Path("/proc/%d/task/%d/wchan" % ((self.process.pid,) * 2)).read_text()
        except OSError:
            return "(gone)"

    def wait_progress_window(self, since, bound, of="the drop"):
        def held_up():
            if self.process.poll() is not None:
                raise AssertionError("the program ended with status %d" % self.process.returncode)
            return "the window's thread waits on %r" % self.waits_on()
        return wait_progress_window(self.session, since, bound, of, held_up)

    def holds_display(self):
        """Whether the program still holds a socket: under Xvfb, its one is the display's."""
        try:
            fds = list(Path("/proc/%d/fd" % self.process.pid).iterdir())
        except OSError:
            return False
        links = []
        for fd in fds:
            try:
                links.append(os.readlink(fd))
            except OSError:
                pass  # closed meanwhile
        return any(link.startswith("socket:") for link in links)

    def wait_message_box(self, timeout=DEFAULT_TIMEOUT):
        return wait_for(lambda: (self.other_windows() or [None])[0], timeout=timeout,
                        what="a message box titled " + TITLE)

    def close_message_box(self, box):
        # A real key press while the box has the focus. Not "key --window": that sends the
        # press through XTEST too, then fails to address the release to the box that is gone
        # by then, and leaves Return held down on the display.
        wait_for(lambda: self.session.focused_window() == box, what="the box to get the focus")
        self.session.xdotool("key", "Return")
        # gone entirely, not just unmapped: then the box's exec() has returned
        wait_for(lambda: not self.session.window_exists(box), what="the message box to close")


class BellWatch:
    """Counts the bells rung on the session's display."""

    def __init__(self, session):
        self.process = session.spawn([bell_watch_path()], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE)
        self.reader = LineReader(self.process.stdout)
        self.reader.expect(lambda line: line == "ready", what="bell_watch to listen")

    def settle(self, program, patience_ms=10000):
        """Number of bells so far, counting every bell the program rang before it answered a
        ping, that is, before it got back to its event loop."""
        self.process.stdin.write(b"ping %d %d\n" % (program.window, patience_ms))
        self.process.stdin.flush()
        answer = self.reader.expect(lambda line: line.startswith("pong"), what="a pong",
                                    timeout=patience_ms / 1000 + DEFAULT_TIMEOUT)
        if answer != "pong":
            raise TimeoutError("the program did not answer a ping")
        return self.reader.lines.count("bell")


class FakeClipboardManager:
    """A clipboard manager that answers a request to save the clipboard as mode says (see
    fake_clipboard_manager.cpp)."""

    def __init__(self, session, mode):
        self.process = session.spawn([fake_clipboard_manager_path(), mode],
                                     stdout=subprocess.PIPE)
        self.reader = LineReader(self.process.stdout)
        self.reader.expect(lambda line: line == "ready", what="the clipboard manager")

    def times_asked(self):
        return self.reader.drain().count("asked")


def file_uri_drag_args(paths):
    return ["--paths"] + [str(p) for p in paths]


class DragSource:
    """A GTK window offering a drag, the way a file manager does."""

    STEPS = 12
    _count = 0

    def __init__(self, session, source_args, x=300, y=100, width=120, height=60):
        DragSource._count += 1
        self.title = "Quarnel drag source %d" % DragSource._count
        self.session = session
        self.process = session.spawn(
            [SYSTEM_PYTHON, str(HERE / "drag_source.py"), "--title", self.title,
             "--x", str(x), "--y", str(y), "--width", str(width), "--height", str(height),
             "--timeout", "30"] + list(source_args),
            stdout=subprocess.PIPE)
        self.reader = LineReader(self.process.stdout)
        ready = self.reader.expect(lambda line: line.startswith("ready "), what="drag source")
        bx, by, bw, bh = (int(v) for v in ready.split()[1:])
        self.start = (bx + bw // 2, by + bh // 2)
        # mapped is not enough for XDND: the source must be viewable on the server
        self.window = wait_for(
            lambda: (session.find_windows("^" + re.escape(self.title) + "$") or [None])[0],
            what="the drag source window")

    def drop_on(self, point, timeout=DEFAULT_TIMEOUT):
        """Drags from the source onto point and lets go once the target accepts."""
        self._begin()
        try:
            self._move_to(point)
            self._wiggle_until(point, lambda action: action != 0, "accepted", timeout)
        finally:
            self.dropped_at = time.monotonic()
            self.session.xdotool("mouseup", 1)
        self.reader.expect(lambda line: line == "drag-end", timeout=timeout, what="drag-end")

    def drop_refused_at(self, accepting_point, point, timeout=DEFAULT_TIMEOUT):
        """Drags over accepting_point until the target accepts, then on to point until the
        target refuses, and lets go there."""
        self._begin()
        try:
            self._move_to(accepting_point)
            self._wiggle_until(accepting_point, lambda action: action != 0, "accepted", timeout)
            self._move_to(point)
            self._wiggle_until(point, lambda action: action == 0, "refused", timeout)
        finally:
            self.session.xdotool("mouseup", 1)
        self.reader.expect(lambda line: line.startswith("drag-failed"), timeout=timeout,
                           what="the drag to fail")
        self.reader.expect(lambda line: line == "drag-end", timeout=timeout, what="drag-end")

    def _begin(self):
        sx, sy = self.start
        self.session.xdotool("mousemove", sx, sy)
        self.session.xdotool("mousedown", 1)
        self.position = (sx, sy)
        try:
            # past GTK's drag threshold, then wait until the drag has really begun
            for dx in (4, 8, 12, 16, 20):
                self.session.xdotool("mousemove", sx - dx, sy)
                self.position = (sx - dx, sy)
            self.reader.expect(lambda line: line == "drag-begin", what="drag-begin")
        except BaseException:
            self.session.xdotool("mouseup", 1)
            raise

    def _move_to(self, point):
        fx, fy = self.position
        tx, ty = point
        for step in range(1, self.STEPS + 1):
            self.session.xdotool("mousemove", fx + (tx - fx) * step // self.STEPS,
                                 fy + (ty - fy) * step // self.STEPS)
            time.sleep(0.02)  # pacing the gesture; the target's answer is what we wait for
        self.position = point

    def _wiggle_until(self, point, wanted, what, timeout):
        # XDND: the target answers each position message; keep moving until it answers so
        tx, ty = point
        deadline = time.monotonic() + timeout
        wiggle = 0
        while not wanted(self._action()):
            if time.monotonic() >= deadline:
                raise TimeoutError("the drop target never %s; source said %r"
                                   % (what, self.reader.lines))
            self.session.xdotool("mousemove", tx + (wiggle % 3) - 1, ty)
            wiggle += 1
            time.sleep(0.05)
        self.session.xdotool("mousemove", tx, ty)

    def _action(self):
        """The action the target chose at its latest answer, 0 while it refuses."""
        actions = [line for line in self.reader.drain() if line.startswith("action ")]
        return int(actions[-1].split()[1]) if actions else 0

    def finish(self):
        self.session.end(self.process)


# -- the options dialog ----------------------------------------------------------------------

OPTIONS_TITLE = TITLE + " Optionen"
OPTIONS_TITLE_PATTERN = "^" + re.escape(OPTIONS_TITLE) + "$"

# "Optionen" (Btn(0)) of the main window: 4, 72, 53 x 21 units, so its centre lies at (30, 82).
OPTIONEN_BUTTON_CENTRE_UNITS = (30, 82)

# The options dialog's client area is 323 x 265 units. Each option button used here, as its
# frame's place plus its own place in the frame, and its height, in twips.
OPTIONS_CLIENT_UNITS = (323, 265)
OPT_TWIPS = {
    0: (60 + 180, 1260 + 300, 195),     # "&Keine"
    2: (2460 + 180, 60 + 660, 255),     # "Mit komplettem &Pfad"
    10: (60 + 180, 60 + 660, 195),      # "&Immer &oben"
    11: (60 + 180, 60 + 300, 195),      # "&Normal"
}


def settings_path(session):
    return session.tmp / "config" / SETTINGS_DIR / SETTINGS_FILE


class OptionsDialog:
    """The options dialog, opened with a real click on "Optionen" of a running program."""

    def __init__(self, program):
        self.session = program.session
        self.program = program
        program.session.xdotool("mousemove", *program.point(OPTIONEN_BUTTON_CENTRE_UNITS))
        program.session.xdotool("click", 1)
        self.window = wait_for(self._find, what="the options dialog")

    def _find(self):
        windows = self.session.find_windows(OPTIONS_TITLE_PATTERN)
        return windows[0] if len(windows) == 1 else None

    def scale(self):
        return self.session.geometry(self.window)[2] / OPTIONS_CLIENT_UNITS[0]

    def opt_point(self, index):
        """Root coordinates on Opt(index)'s round indicator, at the left of the button."""
        x, y, _, _ = self.session.geometry(self.window)
        left, top, height = OPT_TWIPS[index]
        s = self.scale()
        return (x + round((left / 15 + 6) * s), y + round((top + height / 2) / 15 * s))

    def click(self, index):
        self.session.xdotool("mousemove", *self.opt_point(index))
        self.session.xdotool("click", 1)

    def close(self):
        """Escape, as the user would press it, while the dialog has the focus."""
        wait_for(lambda: self.session.focused_window() == self.window,
                 what="the options dialog to get the focus")
        self.session.xdotool("key", "Escape")
        wait_for(lambda: not self.session.window_exists(self.window),
                 what="the options dialog to be discarded")
