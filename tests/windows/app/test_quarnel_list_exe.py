"""quarnel-list.exe under Wine, side by side with the Linux quarnel-list on the same tree: the
same bytes (with Windows paths), the same messages and the same exit status."""

import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))

from linux_side import linux_list_as_on_windows, windows_name  # noqa: E402

WINE_RUN = os.environ["QUARNEL_WINE_RUN"]
LIST_EXE = os.environ["QUARNEL_LIST_EXE"]
SETTINGS_KEY = "HKCU\\Software\\Kelvaro's Tools\\Quarnel! 2.5"


def crlf_lines(*names):
    return b"".join(name.encode("utf-8") + b"\r\n" for name in names)


def wine(*command, cwd=None):
    return subprocess.run([WINE_RUN, *command], capture_output=True, cwd=cwd, timeout=120)


def on_console(*arguments):
    """Runs quarnel-list.exe with a terminal (a pty of script's) as its console, as in a console
    window, and gives its exit status and what the terminal shows: without Wine's cursor
    sequences and without line breaks, which the console also puts where a line is full."""
    environment = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                       LANG="C.UTF-8", PATH="/usr/lib/wine:" + os.environ["PATH"])
    # Wine's server outlives the program: started here without the terminal, so script need
    # not wait for it
    subprocess.run(["/usr/lib/wine/wineserver64", "-p10"], env=environment,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    done = subprocess.run(["script", "-qec", shlex.join(["wine64", LIST_EXE, *arguments]),
                           "/dev/null"], capture_output=True, env=environment, timeout=120)
    shown = re.sub(rb"\x1b\[(\d*)C", lambda m: b" " * int(m.group(1) or 1), done.stdout)
    shown = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", shown)
    return done.returncode, shown.decode("utf-8", "replace").replace("\r", "").replace("\n", "")


class QuarnelListExeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        wine("reg", "delete", SETTINGS_KEY, "/f")

    def setUp(self):
        self.root = Path(tempfile.mkdtemp(prefix="quarnel-list-exe-"))
        self.addCleanup(shutil.rmtree, self.root, True)
        self.tree = self.root / "Baum"
        for folder in ["B/Tief", "Äste", ".versteckt/innen"]:
            (self.tree / folder).mkdir(parents=True)
        for file in ["a.txt", "Zebra.TXT", "Öl.txt", "ähnlich.txt", "B/b.txt", "B/Tief/straße.txt",
                     "Äste/Ast 1.txt", ".punkt", ".versteckt/innen/nie.txt"]:
            (self.tree / file).write_bytes(b"x")

    def run_exe(self, *arguments, cwd=None):
        return wine(LIST_EXE, *arguments, cwd=cwd)

    def assert_same_as_linux(self, options, *paths):
        status, expected = linux_list_as_on_windows(options, paths, self.root / "config")
        windows = self.run_exe("--options", options, *map(windows_name, paths))
        self.assertEqual(windows.returncode, status, windows.stderr)
        return windows.stdout, expected

    def test_sorted_lists_are_byte_for_byte_those_of_the_linux_build(self):
        for options in ["01010101000110", "01100010000110", "01011000100110", "01100010010110",
                        "01010010001101"]:
            with self.subTest(options=options):
                got, expected = self.assert_same_as_linux(options, self.tree)
                self.assertEqual(got, expected)
                self.assertNotIn(b"\r\r", got)

    def test_dropped_names_keep_their_order_and_a_walk_lists_the_same_names(self):
        got, expected = self.assert_same_as_linux("10100010000100", self.tree / "Öl.txt",
                                                  self.tree / "a.txt", self.tree / "B")
        self.assertEqual(got, expected)
        t = windows_name(self.tree)
        self.assertEqual(got, crlf_lines(t + "\\Öl.txt", t + "\\a.txt", t + "\\B"))

        # a folder lists its entries in the order the file system gives them; the names and the
        # folder first are the same
        got, expected = self.assert_same_as_linux("10100010000110", self.tree)
        self.assertEqual(got.split(b"\r\n")[0], windows_name(self.tree).encode())
        self.assertEqual(sorted(got.split(b"\r\n")), sorted(expected.split(b"\r\n")))
        self.assertNotIn(b"nie.txt", got)

    def test_skipped_names_give_the_same_messages_and_status(self):
        t = windows_name(self.tree)
        done = self.run_exe("--options", "10100011000110", t + "\\weg.txt", t + "\\a.txt")
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stdout, crlf_lines(t + "\\a.txt"))
        self.assertEqual(
            done.stderr.decode("utf-8").replace("\r\n", "\n"),
            "Quarnel! 2.5: Der Name '%s\\weg.txt'\nist nicht (mehr) vorhanden oder nicht "
            "erreichbar und wird daher nicht berücksichtigt.\n" % t)

        for arguments in [(), ("--gibtsnicht", t), ("--options",)]:
            done = self.run_exe(*arguments)
            self.assertEqual(done.returncode, 2, arguments)
            self.assertEqual(done.stdout, b"")
            self.assertIn("Aufruf: quarnel-list".encode(), done.stderr)
        done = self.run_exe("--help")
        self.assertEqual(done.returncode, 0)
        self.assertTrue(done.stdout.startswith("Aufruf: quarnel-list".encode()))
        # CR LF, like every other line of the Windows build
        self.assertTrue(done.stdout.endswith(b"\r\n"))
        self.assertNotIn(b"\n", done.stdout.replace(b"\r\n", b""))

    def test_a_console_shows_the_umlauts_of_the_list_and_the_messages(self):
        t = windows_name(self.tree)
        status, shown = on_console("--options", "10100011000110", t + "\\Öl.txt",
                                   t + "\\weg.txt")
        self.assertEqual(status, 1, shown)
        self.assertIn(t + "\\Öl.txt", shown)
        self.assertIn("und wird daher nicht berücksichtigt.", shown)

    def test_relative_names_are_made_full_against_the_current_folder(self):
        r = windows_name(self.root)
        # the long-path prefix is no part of the name
        done = self.run_exe("--options", "10100011000100", "Baum\\B\\..\\a.txt", "Baum/Äste",
                            ".", "\\\\?\\" + r + "\\Baum", cwd=self.root)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, crlf_lines(r + "\\Baum\\a.txt", r + "\\Baum\\Äste", r,
                                                 r + "\\Baum"))

    def test_the_stored_options_apply_without_the_argument(self):
        self.addCleanup(wine, "reg", "delete", SETTINGS_KEY, "/f")
        # nothing stored: the defaults, sorted file names
        self.assertEqual(self.run_exe(windows_name(self.tree / "B")).stdout,
                         crlf_lines("b.txt", "straße.txt"))
        added = wine("reg", "add", SETTINGS_KEY, "/v", "Options", "/t", "REG_SZ", "/d",
                     "01011000100110", "/f")
        self.assertEqual(added.returncode, 0, added.stderr)
        self.assertEqual(self.run_exe(windows_name(self.tree / "B")).stdout,
                         crlf_lines("B", "TIEF"))


if __name__ == "__main__":
    unittest.main()
