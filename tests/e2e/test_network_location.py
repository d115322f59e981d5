"""Names dragged from a file manager's network location (sftp://, mounted by GVfs) land on the
clipboard as the user saw the location, not as the FUSE path they were read through.

What a GNOME-like desktop does for it runs here for real, as an unprivileged user (one created
for the run when the tests run as root, else the user running them): Debian's sshd on a spare
port, with a host key, a login key and a config file of the test's own; a D-Bus session of its
own (dbus-run-session) that knows GVfs's services alone, so gvfsd mounts the location, gvfsd-fuse
shows it as a folder, and no other desktop's service (kio-fuse) answers in its place;
`gio mount sftp://USER@localhost:PORT/`. The program and the GTK drag source run as that user in
that session on a private Xvfb display. After `gio mount -u` the same drop gets one message
for each location.
"""

import os
import pwd
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import unittest
import urllib.parse
from pathlib import Path

from xsession import DragSource, Program, XSession, program_path, wait_for

QUARNEL_LIST = os.environ.get("QUARNEL_LIST", "")
BEFORE = "Vorher da – nicht anfassen\r\n".encode("utf-8")
NEEDED = ["/usr/sbin/sshd", "/usr/libexec/gvfsd", "/usr/libexec/gvfsd-sftp",
          "/usr/libexec/gvfsd-fuse", "/usr/bin/gio", "/usr/bin/dbus-run-session",
          "/usr/bin/ssh-agent", "/usr/bin/ssh-add", "/usr/bin/ssh-keygen", "/usr/bin/fusermount3"]
# the first of the message for a location without a folder, after its name
NOT_MOUNTED = ("ist ein Netzwerkort, den Quarnel! nicht lesen kann, weil er nicht als Ordner "
               "eingebunden ist, und wird daher nicht berücksichtigt.")

SSHD_CONFIG = """\
Port {port}
ListenAddress 127.0.0.1
HostKey {dir}/host_key
PidFile {dir}/sshd.pid
AuthorizedKeysFile {dir}/authorized_keys
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp internal-sftp
"""

# A session bus that activates GVfs's services and nothing else.
BUS_CONFIG = """\
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={runtime}</listen>
  <auth>EXTERNAL</auth>
  <servicedir>{services}</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def lines(*names):
    return b"".join(name.encode("utf-8") + b"\r\n" for name in names)


def spare_port():
    for port in [22022] + [0]:
        with socket.socket() as probe:
            try:
                probe.bind(("127.0.0.1", port))
            except OSError:
                continue
            return probe.getsockname()[1]
    raise RuntimeError("no spare port")


class NetworkSession(XSession):
    """A private X session whose children run as the test's user, in its D-Bus session."""

    def __init__(self, uid, gid):
        super().__init__()
        self.uid, self.gid = uid, gid
        self.bus = None
        self.copies = {}

    def as_user(self):
        drop = ["--reuid=%d" % self.uid, "--regid=%d" % self.gid, "--clear-groups"]
        return ["setpriv"] + (drop if os.geteuid() == 0 else []) + ["--pdeathsig", "KILL", "--"]

    def env(self, **extra):
        env = super().env(**extra)
        if self.bus:
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus
        return env

    def spawn(self, args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=None,
              env=None):
        # the user runs copies of the programs: the build may lie where only root can go
        args = [self.copies.get(str(args[0]), str(args[0]))] + list(args[1:])
        if stderr is None:
            stderr = subprocess.DEVNULL
        child = subprocess.Popen(self.as_user() + args, env=env or self.env(), stdin=stdin,
                                 stdout=stdout, stderr=stderr, start_new_session=True)
        if stderr not in (subprocess.DEVNULL, subprocess.PIPE, subprocess.STDOUT):
            stderr.close()
        self._children.append(child)
        return child

    def run_as_user(self, args, timeout=30, **extra):
        return subprocess.run(self.as_user() + [str(a) for a in args], env=self.env(**extra),
                              capture_output=True, timeout=timeout)


class NetworkLocationTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = [path for path in NEEDED if not os.path.exists(path)]
        if missing:
            raise unittest.SkipTest("not installed (scripts/install-deps test): "
                                    + ", ".join(missing))
        if not os.path.exists("/dev/fuse"):
            raise unittest.SkipTest("no /dev/fuse here: gvfsd-fuse cannot show the location")
        cls.tmp = Path(tempfile.mkdtemp(prefix="quarnel-net-"))
        os.chmod(cls.tmp, 0o755)
        cls.addClassCleanup(shutil.rmtree, cls.tmp, True)
        cls.make_user()
        cls.session = NetworkSession(cls.uid, cls.gid)
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        for sub in ("", "home", "config", "runtime"):
            os.chown(cls.session.tmp / sub, cls.uid, cls.gid)
        cls.make_files()
        cls.start_sshd()
        cls.start_bus()
        cls.addClassCleanup(cls.unmount_fuse)

    # -- the desktop ---------------------------------------------------------------------

    @classmethod
    def make_user(cls):
        if os.geteuid() != 0:
            cls.uid, cls.gid, cls.user = os.getuid(), os.getgid(), pwd.getpwuid(os.getuid())[0]
            return
        cls.user = "quarnel-net-%d" % os.getpid()
        subprocess.run(["useradd", "--no-create-home", "--home-dir", str(cls.tmp / "home"),
                        "--shell", "/bin/sh", "--user-group", cls.user],
                       check=True, capture_output=True)
        cls.addClassCleanup(cls.remove_user)
        entry = pwd.getpwnam(cls.user)
        cls.uid, cls.gid = entry.pw_uid, entry.pw_gid

    @classmethod
    def remove_user(cls):
        # whatever of the user's is left (an activated daemon that outlived its bus), by its id
        for proc in Path("/proc").iterdir():
            try:
                if proc.name.isdigit() and proc.stat().st_uid == cls.uid:
                    os.kill(int(proc.name), signal.SIGKILL)
            except (OSError, ProcessLookupError):
                pass
        subprocess.run(["userdel", cls.user], capture_output=True)

    @classmethod
    def make_files(cls):
        cls.files = cls.tmp / "Freigabe"
        folder = cls.files / "Ordner mit Ü"
        (folder / "Unterordner").mkdir(parents=True)
        for path in [cls.files / "Übersicht 2026.pdf", cls.files / "Brief an Anna.txt",
                     folder / "drin.txt", folder / "Unterordner" / "tief.txt"]:
            path.write_bytes(b"x")
        keys = cls.tmp / "ssh"
        keys.mkdir()
        for key in ("host_key", "user_key"):
            subprocess.run(["ssh-keygen", "-q", "-t", "ed25519", "-N", "", "-C", "",
                            "-f", str(keys / key)], check=True)
        shutil.copy(keys / "user_key.pub", keys / "authorized_keys")
        services = cls.tmp / "services"
        services.mkdir()
        for service in Path("/usr/share/dbus-1/services").glob("org.gtk.vfs.*.service"):
            shutil.copy(service, services)
        for path in [cls.tmp, *cls.tmp.rglob("*")]:
            os.chown(path, cls.uid, cls.gid)
        cls.session.copies = {}
        for program in (program_path(), QUARNEL_LIST):
            copy = cls.tmp / Path(program).name
            shutil.copy2(program, copy)
            os.chown(copy, cls.uid, cls.gid)
            cls.session.copies[program] = str(copy)

    @classmethod
    def start_sshd(cls):
        cls.port = spare_port()
        config = cls.tmp / "ssh" / "sshd_config"
        config.write_text(SSHD_CONFIG.format(port=cls.port, dir=cls.tmp / "ssh"))
        os.chown(config, cls.uid, cls.gid)
        log = open(cls.tmp / "sshd.log", "wb")
        sshd = cls.session.spawn(["/usr/sbin/sshd", "-D", "-e", "-f", str(config)], stderr=log)

        def listening():
            if sshd.poll() is not None:
                raise RuntimeError("sshd ended: " + (cls.tmp / "sshd.log").read_text())
            with socket.socket() as probe:
                return probe.connect_ex(("127.0.0.1", cls.port)) == 0
        wait_for(listening, what="sshd to listen")

    @classmethod
    def start_bus(cls):
        runtime = cls.session.tmp / "runtime"
        agent = runtime / "ssh-agent"
        cls.session.spawn(["ssh-agent", "-D", "-a", str(agent)])
        wait_for(agent.exists, what="ssh-agent")
        added = cls.session.run_as_user(["ssh-add", cls.tmp / "ssh" / "user_key"],
                                        SSH_AUTH_SOCK=str(agent))
        if added.returncode != 0:
            raise RuntimeError("ssh-add: " + added.stderr.decode(errors="replace"))
        config = cls.tmp / "bus.conf"
        config.write_text(BUS_CONFIG.format(runtime=runtime, services=cls.tmp / "services"))
        address = runtime / "bus-address"
        # gvfsd, activated by the bus, takes the agent from the bus's environment
        cls.session.spawn(
            ["dbus-run-session", "--config-file", str(config), "--", "sh", "-c",
             'printf "%s" "$DBUS_SESSION_BUS_ADDRESS" > "$0.new" && mv "$0.new" "$0" && '
             'exec sleep 100000', str(address)],
            env=cls.session.env(SSH_AUTH_SOCK=str(agent)))
        cls.session.bus = wait_for(lambda: address.exists() and address.read_text(),
                                   what="the D-Bus session")

    @classmethod
    def unmount_fuse(cls):
        # gvfsd-fuse leaves with its bus; should it not, its mount goes now
        subprocess.run(["fusermount3", "-u", "-z", str(cls.session.tmp / "runtime" / "gvfs")],
                       capture_output=True)

    def gio(self, *args):
        return self.session.run_as_user(["gio", *args])

    def mount(self):
        done = self.gio("mount", self.server())
        if done.returncode != 0 and b"already mounted" not in done.stderr.lower():
            self.fail("gio mount: %s\n%s" % (done.stderr.decode(errors="replace"),
                                              (self.tmp / "sshd.log").read_text()))
        mounted = self.session.tmp / "runtime" / "gvfs" / (
            "sftp:host=localhost,port=%d,user=%s" % (self.port, self.user))
        wait_for(lambda: self.session.run_as_user(["test", "-d", mounted]).returncode == 0,
                 what="gvfsd-fuse to show the mount")

    # -- helpers -------------------------------------------------------------------------

    def server(self):
        return "sftp://%s@localhost:%d/" % (self.user, self.port)

    def uri(self, path):
        return self.server() + urllib.parse.quote(str(path).lstrip("/"))

    def dropped(self):
        return [self.uri(self.files / "Übersicht 2026.pdf"),
                self.uri(self.files / "Brief an Anna.txt"),
                self.uri(self.files / "Ordner mit Ü") + "/"]

    def shown(self, relative):
        return "sftp://localhost:%d%s/%s" % (self.port, self.files, relative)

    def drop(self, options):
        program = Program(self.session, options=options)
        self.addCleanup(program.stop)
        server = self.session.set_clipboard(BEFORE)
        self.addCleanup(self.session.end, server)
        source = DragSource(self.session, ["--uris"] + self.dropped())
        self.addCleanup(source.finish)
        source.drop_on(program.image1_centre())
        source.finish()
        return program

    def new_clipboard(self):
        def changed():
            now = self.session.read_clipboard()
            return now[1] if now[0] == 0 and now[1] != BEFORE else None
        try:
            return wait_for(changed, timeout=20, what="new clipboard text")
        except TimeoutError:
            self.fail("the clipboard never got new text: %r\n%s"
                      % (self.session.read_clipboard(), self.session.describe()))

    def quarnel_list(self, options, *arguments):
        return self.session.run_as_user(
            [self.session.copies[QUARNEL_LIST], "--options", options, *arguments],
            XDG_CONFIG_HOME=str(self.session.tmp / "config"))

    # -- tests ---------------------------------------------------------------------------

    def test_a_mounted_location_lists_as_the_user_saw_it(self):
        self.mount()
        # arrival order, full path, files and folders, expanded
        program = self.drop("10100011000110")
        expected = lines(self.shown("Übersicht 2026.pdf"), self.shown("Brief an Anna.txt"),
                         self.shown("Ordner mit Ü"), self.shown("Ordner mit Ü/drin.txt"),
                         self.shown("Ordner mit Ü/Unterordner/tief.txt"),
                         self.shown("Ordner mit Ü/Unterordner"))
        self.assertEqual(self.new_clipboard(), expected)
        self.assertEqual(program.other_windows(), [], "a message came up")
        program.stop()

        # sorted, without path
        program = self.drop("01010011000110")
        self.assertEqual(self.new_clipboard(),
                         lines("Brief an Anna.txt", "drin.txt", "Ordner mit Ü", "tief.txt",
                               "Übersicht 2026.pdf", "Unterordner"))
        self.assertEqual(program.other_windows(), [], "a message came up")

        # the same location named on quarnel-list's command line, as %U passes it
        listed = self.quarnel_list("10100011000110", *self.dropped())
        self.assertEqual((listed.returncode, listed.stdout, listed.stderr), (0, expected, b""))

    def test_the_same_drop_after_unmounting_gets_a_message_for_each_location(self):
        self.mount()
        done = self.gio("mount", "-u", self.server())
        self.assertEqual(done.returncode, 0, done.stderr)
        program = self.drop("10100011000110")
        boxes = 0
        # one for each location, then the one that says that the list is empty
        while boxes < 4:
            box = program.wait_message_box()
            program.close_message_box(box)
            boxes += 1
        time.sleep(0.5)  # a fifth would be up by now
        self.assertEqual(program.other_windows(), [])
        self.assertEqual(self.session.read_clipboard(), (0, BEFORE))
        self.assertIsNone(program.process.poll(), "the program ended")

        listed = self.quarnel_list("10100011000110", self.dropped()[0],
                                   "file://" + urllib.parse.quote(str(self.files / "Brief an Anna.txt")))
        self.assertEqual(listed.returncode, 1)
        self.assertEqual(listed.stdout, lines(str(self.files / "Brief an Anna.txt")))
        self.assertEqual(listed.stderr.decode(),
                         "Quarnel! 2.5: Der Ort '%s'\n%s\n" % (self.shown("Übersicht 2026.pdf"),
                                                             NOT_MOUNTED)
                         + "Ist er im Dateimanager geöffnet, fehlt dem System dafür gvfs-fuse "
                           "(GNOME und verwandte Arbeitsumgebungen) oder kio-fuse (KDE).\n")


if __name__ == "__main__":
    unittest.main()
