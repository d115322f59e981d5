#!/usr/bin/python3
"""A slow share for benchmarks and tests: a pass-through FUSE file system over a source folder
that waits in every lookup, getattr, opendir and readdir, as a network share does, and can leave
one folder's listing unanswered, as a hung share does.

    /usr/bin/python3 bench/slow_fs.py SOURCE MOUNTPOINT [--delay-ms 2] [--cache-seconds 0]
                                      [--hang FOLDER] [--untyped-dots]

--cache-seconds sets the kernel's entry and attribute cache (entry_timeout, attr_timeout):
0 turns it off, 1 is the usual setting. --hang names a folder (relative to SOURCE) whose
readdir never answers. --untyped-dots lists "." and ".." without a type, as fusepy's plain
names do (the kernel then gives them d_type DT_UNKNOWN). The daemon runs in the foreground,
multithreaded, so that the kernel may send it many requests at once; it needs root and Debian's
python3-fusepy (libfuse 2).

From Python, `SlowShare` mounts and stops it (the benchmarks and the tests share it):

    with SlowShare(source, delay_ms=2, cache_seconds=0) as mounted:
        ... walk mounted ...
"""
import argparse
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class SlowPassThrough:
    """The file system's operations, in fusepy's terms (lookup is fusepy's getattr). Read-only:
    whatever would change the source fails with EROFS by fusepy's own defaults."""

    use_ns = True

    def __init__(self, source, delay_ms, hang, untyped_dots):
        self.source = source
        self.dots = [".", ".."] if untyped_dots else [(".", {"st_mode": stat.S_IFDIR}, 0),
                                                      ("..", {"st_mode": stat.S_IFDIR}, 0)]
        self.delay = delay_ms / 1000
        self.hang = "/" + hang.strip("/") if hang else None
        self.never = threading.Event()  # never set: the hung listing waits until the daemon dies

    def __call__(self, operation, *args):
        return getattr(self, operation)(*args)

    def real(self, path):
        return self.source + path

    def wait(self):
        if self.delay:
            time.sleep(self.delay)

    def getattr(self, path, fh=None):
        self.wait()
        status = os.lstat(self.real(path))
        keys = ("st_mode", "st_ino", "st_nlink", "st_uid", "st_gid", "st_size", "st_atime_ns",
                "st_mtime_ns", "st_ctime_ns")
        attributes = {key: getattr(status, key) for key in keys}
        for key in ("st_atime", "st_mtime", "st_ctime"):  # fusepy takes nanoseconds by these
            attributes[key] = attributes.pop(key + "_ns")
        return attributes

    def readlink(self, path):
        return os.readlink(self.real(path))

    def opendir(self, path):
        self.wait()
        return 0

    def readdir(self, path, fh):
        self.wait()
        if path == self.hang:
            self.never.wait()
        # The source's own order, each entry with its type (and inode), so the kernel can fill
        # d_type; "." and ".." first, as a local disk lists them.
        listed = list(self.dots)
        with os.scandir(self.real(path)) as entries:
            for entry in entries:
                listed.append((entry.name, {"st_mode": KindOf(entry), "st_ino": entry.inode()},
                               0))
        return listed

    def releasedir(self, path, fh):
        return 0

    def open(self, path, flags):
        return os.open(self.real(path), os.O_RDONLY)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def release(self, path, fh):
        os.close(fh)
        return 0

    def statfs(self, path):
        status = os.statvfs(self.real(path))
        return {key: getattr(status, key) for key in (
            "f_bsize", "f_frsize", "f_blocks", "f_bfree", "f_bavail", "f_files", "f_ffree",
            "f_favail", "f_flag", "f_namemax")}


def KindOf(entry):
    """The entry's type bits, from the listing's own d_type where the source gave one."""
    if entry.is_symlink():
        return stat.S_IFLNK
    if entry.is_dir(follow_symlinks=False):
        return stat.S_IFDIR
    if entry.is_file(follow_symlinks=False):
        return stat.S_IFREG
    return stat.S_IFMT(entry.stat(follow_symlinks=False).st_mode)


def Unavailable():
    """Why no share can be mounted here, or None where one can."""
    if not os.path.exists("/dev/fuse"):
        return "no /dev/fuse here"
    if os.geteuid() != 0:
        return "mounting a FUSE file system needs root"
    if not shutil.which("fusermount3"):
        return "fusermount3 is missing (Debian's fuse3)"
    found = subprocess.run(["/usr/bin/python3", "-c", "import fusepy"], capture_output=True)
    if found.returncode != 0:
        return "fusepy is missing (Debian's python3-fusepy)"
    return None


# Where /dev/fuse is there and we are root, a share must mount: a test that skipped there would
# hide a machine that cannot test what it should.
MUST_MOUNT = os.path.exists("/dev/fuse") and os.geteuid() == 0


class SlowShare:
    """Mounts SOURCE through this file system at a fresh temporary folder (as root) and stops it
    on leaving: unmounts (lazily, so a process stuck in the hung folder does not keep it) and
    kills the daemon, which hands every request still waiting back to its caller as an error.
    The daemon dies with its parent, so that even a killed test leaves no hung share behind."""

    def __init__(self, source, delay_ms=2, cache_seconds=0, hang=None, untyped_dots=False):
        self.command = ["setpriv", "--pdeathsig", "KILL", "--", "/usr/bin/python3",
                        os.path.join(HERE, "slow_fs.py"), os.path.abspath(source), None,
                        "--delay-ms", str(delay_ms), "--cache-seconds", str(cache_seconds)]
        if hang:
            self.command += ["--hang", hang]
        if untyped_dots:
            self.command.append("--untyped-dots")
        self.mountpoint = None
        self.daemon = None

    def __enter__(self):
        self.mountpoint = tempfile.mkdtemp(prefix="slow-share-")
        self.command[self.command.index(None)] = self.mountpoint
        self.daemon = subprocess.Popen(self.command, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while not os.path.ismount(self.mountpoint):
            if self.daemon.poll() is not None or time.monotonic() > deadline:
                error = b"" if self.daemon.poll() is None else self.daemon.stderr.read()
                self.stop()
                raise RuntimeError("the slow share did not mount: %s" % error.decode())
            time.sleep(0.02)
        return self.mountpoint

    def __exit__(self, *exception):
        self.stop()

    def stop(self):
        """Unmounts and ends the daemon; a second call does nothing."""
        if self.mountpoint is None:
            return
        subprocess.run(["fusermount3", "-u", "-z", self.mountpoint], stderr=subprocess.DEVNULL)
        if self.daemon and self.daemon.poll() is None:
            self.daemon.terminate()
            try:
                self.daemon.wait(1)
            except subprocess.TimeoutExpired:
                self.daemon.kill()
                self.daemon.wait()
        if self.daemon:
            self.daemon.stderr.close()
        shutil.rmtree(self.mountpoint, ignore_errors=True)
        self.mountpoint = None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("source")
    parser.add_argument("mountpoint")
    parser.add_argument("--delay-ms", type=float, default=2)
    parser.add_argument("--cache-seconds", type=float, default=0)
    parser.add_argument("--hang")
    parser.add_argument("--untyped-dots", action="store_true")
    args = parser.parse_args()
    import fusepy  # only the daemon needs it, not whoever mounts it

    operations = SlowPassThrough(os.path.abspath(args.source).rstrip("/"), args.delay_ms,
                                 args.hang, args.untyped_dots)
    fusepy.FUSE(operations, args.mountpoint, foreground=True, nothreads=False, ro=True,
                use_ino=True, fsname="slow_fs", entry_timeout=args.cache_seconds,
                attr_timeout=args.cache_seconds, negative_timeout=args.cache_seconds)


if __name__ == "__main__":
    sys.exit(main())
