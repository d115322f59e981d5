"""The release zip: two executables and a German README for Windows users, each executable
standing on its own, so that unpacked into an empty folder both start with nothing beside them."""

import os
import re
import shlex
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

from winesession import WineProgram, WineSession
from linux_side import windows_name  # after winesession: on its path

RELEASE_ZIP = os.environ["QUARNEL_RELEASE_ZIP"]
OBJDUMP = "x86_64-w64-mingw32-objdump"
# what every Windows 10 has in System32; nothing of the compiler's runtime
SYSTEM_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll",
               "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
               "user32.dll", "uxtheme.dll", "version.dll"}


class ReleaseZipTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = WineSession()
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        cls.folder = Path(tempfile.mkdtemp(prefix="release-", dir=cls.session.x.tmp))
        with zipfile.ZipFile(RELEASE_ZIP) as archive:
            cls.names = sorted(archive.namelist())
            archive.extractall(cls.folder)

    def test_holds_the_two_programs_and_a_readme_for_windows_users(self):
        self.assertEqual(self.names,
                         ["LICENSE.txt", "README.txt", "quarnel-list.exe", "quarnel.exe"])
        self.assertIn(b"MIT License\r\n", (self.folder / "LICENSE.txt").read_bytes())
        readme = (self.folder / "README.txt").read_bytes()
        self.assertNotIn(b"\n", readme.replace(b"\r\n", b""), "CR LF, as Windows writes text")
        text = readme.decode("utf-8")
        version = re.search(r"Quarnel-(.+)-windows-x64\.zip$", RELEASE_ZIP).group(1)
        self.assertIn("Quarnel! 2.5 für Windows (Version %s)" % version, text)
        for name in self.names:
            self.assertIn("  %s " % name, text, "listed under \"Was im Archiv steht\"")
        for button in ["Keine", "Alphabethisch", "Mit komplettem Pfad", "Ohne Pfad",
                       "Verzeichnisnamen", "Dateinamen", "Datei und Verz.-Namen", "Belassen",
                       "Groß", "Klein", "Immer oben", "Normal", "Verzeichnisse auflösen",
                       "Verz.-Namen übergeben"]:
            self.assertIn(button, text)
        self.assertIn("HKEY_CURRENT_USER\\Software\\Kelvaro's Tools\\Quarnel! 2.5", text)
        self.assertIn("Options (Zeichenfolge, REG_SZ)", text)
        # nothing a Windows user cannot use: no build steps, no pictures left outside the zip
        for foreign in ["cmake", "scripts/", "sudo", "Linux", ".png", "](", "@"]:
            self.assertNotIn(foreign, text)

    def test_the_readme_removes_the_settings_as_it_says(self):
        text = (self.folder / "README.txt").read_text(encoding="utf-8")
        removal = next(line for line in text.splitlines() if "reg delete" in line
                       and "Quarnel! 2.5" in line)
        self.session.store_options("01010101000110")
        self.assertIsNotNone(self.session.stored_options())

        self.session.run(*shlex.split(removal))

        self.assertIsNone(self.session.stored_options())

    def test_the_programs_need_only_what_windows_brings(self):
        for exe in ["quarnel.exe", "quarnel-list.exe"]:
            headers = subprocess.run([OBJDUMP, "-p", str(self.folder / exe)], check=True,
                                     capture_output=True, text=True).stdout
            self.assertIn("x86-64", subprocess.run([OBJDUMP, "-f", str(self.folder / exe)],
                                                   capture_output=True, text=True).stdout)
            dlls = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
            self.assertTrue(dlls, exe)
            self.assertLessEqual(dlls, SYSTEM_DLLS, exe)
            # the per-monitor dpi calls came with Windows 10 version 1607: README.txt says so
            if "GetDpiForWindow" in headers:
                self.assertIn("Windows 10 ab Version 1607",
                              (self.folder / "README.txt").read_text(encoding="utf-8"))

    def test_both_start_from_the_unpacked_folder(self):
        (self.folder / "probe.txt").write_bytes(b"x")
        done = self.session.run(str(self.folder / "quarnel-list.exe"), "--options",
                                "10100011000110", windows_name(self.folder / "probe.txt"))
        self.assertEqual(done.stdout, (windows_name(self.folder / "probe.txt") + "\r\n").encode())

        program = WineProgram(self.session, exe=str(self.folder / "quarnel.exe"))
        self.addCleanup(program.stop)
        self.assertEqual(program.main.text, "Quarnel! 2.5")


if __name__ == "__main__":
    unittest.main()
