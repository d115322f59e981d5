"""cmake --install puts the program, its menu entry, its icon, its manual pages and its AppStream
metadata where a desktop, man and a software centre find them.

Installs the build tree into a temporary staging folder (DESTDIR, prefix /usr), as a package
build does, and looks at what arrived.
"""

import configparser
import gzip
import os
import shutil
import struct
import subprocess
import tempfile
import unittest
from pathlib import Path

ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)


def png_size(path):
    data = path.read_bytes()[:24]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise ValueError("%s is no PNG" % path)
    return struct.unpack(">II", data[16:24])


class InstallTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        build_dir = os.environ.get("QUARNEL_BUILD_DIR")
        if not build_dir:
            raise RuntimeError("QUARNEL_BUILD_DIR must name the build tree to install")
        cls.staging = Path(tempfile.mkdtemp(prefix="quarnel-install-"))
        cls.addClassCleanup(shutil.rmtree, cls.staging, True)
        env = dict(os.environ, DESTDIR=str(cls.staging))
        subprocess.run(["cmake", "--install", build_dir, "--prefix", "/usr"], env=env,
                       check=True, capture_output=True, timeout=60)
        cls.usr = cls.staging / "usr"

    def test_both_programs_land_in_bin(self):
        for name in ("quarnel", "quarnel-list"):
            with self.subTest(program=name):
                program = self.usr / "bin" / name
                self.assertTrue(program.is_file())
                self.assertTrue(os.access(program, os.X_OK))
                self.assertEqual(program.read_bytes()[:4], b"\x7fELF")

    def test_the_menu_entry_is_german_and_valid(self):
        entry_path = self.usr / "share" / "applications" / "quarnel.desktop"
        parser = configparser.ConfigParser(interpolation=None)
        parser.optionxform = str  # keys are case-sensitive
        parser.read(entry_path, encoding="utf-8")
        entry = parser["Desktop Entry"]
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "Quarnel!")
        self.assertIn("Zwischenablage", entry["Comment"])
        self.assertIn("Utility", entry["Categories"].split(";"))
        self.assertEqual(entry["Exec"], "quarnel")  # found on PATH, wherever the prefix is
        self.assertEqual(entry["Icon"], "quarnel")
        self.assertEqual(entry["Terminal"], "false")

        validator = shutil.which("desktop-file-validate")
        if validator is None:
            self.skipTest("desktop-file-validate is not installed (scripts/install-deps test)")
        result = subprocess.run([validator, str(entry_path)], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stdout.strip(), "")

    def test_the_icon_comes_in_every_usual_size(self):
        hicolor = self.usr / "share" / "icons" / "hicolor"
        for size in ICON_SIZES:
            with self.subTest(size=size):
                icon = hicolor / ("%dx%d" % (size, size)) / "apps" / "quarnel.png"
                self.assertEqual(png_size(icon), (size, size))

    def test_the_manual_pages_are_german_gzipped_and_render_without_warnings(self):
        man1 = self.usr / "share" / "man" / "man1"
        for name, see_also in (("quarnel", "quarnel-list(1)"), ("quarnel-list", "quarnel(1)")):
            with self.subTest(page=name):
                page = man1 / (name + ".1.gz")
                packed = page.read_bytes()
                # gzip -9n: no file name, no time stamp, best compression (Debian's rule)
                self.assertEqual(packed[:4], b"\x1f\x8b\x08\x00")
                self.assertEqual(packed[4:8], b"\x00\x00\x00\x00")
                self.assertEqual(packed[8], 2)
                source = gzip.decompress(packed).decode("utf-8")
                self.assertIn('.TH "%s" "1"' % name, source)

                env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8")
                shown = subprocess.run(["man", "--warnings", "-l", str(page)], env=env,
                                       capture_output=True, text=True, timeout=60)
                self.assertEqual(shown.returncode, 0, shown.stderr)
                self.assertEqual(shown.stderr, "")
                self.assertIn("ÜBERSICHT", shown.stdout)
                self.assertIn("SIEHE AUCH\n       " + see_also, shown.stdout)
                # no word broken at the end of a line: English rules break German words wrongly
                # ("Arbeitsspe-icher"), and groff's German ones some ("übern-immt")
                hyphenated = [line for line in shown.stdout.splitlines() if line.endswith("\u2010")]
                self.assertEqual(hyphenated, [])

    def test_the_appstream_metadata_and_the_license_come_along(self):
        metainfo = self.usr / "share" / "metainfo" / "org.example.kelvaros_tools.quarnel.metainfo.xml"
        self.assertIn("<launchable type=\"desktop-id\">quarnel.desktop</launchable>",
                      metainfo.read_text(encoding="utf-8"))
        copyright_file = self.usr / "share" / "doc" / "quarnel" / "copyright"
        self.assertIn("License: MIT", copyright_file.read_text(encoding="utf-8"))
        # the Debian changelog belongs to the package alone
        self.assertFalse((copyright_file.parent / "changelog.Debian.gz").exists())

    def test_nothing_is_installed_outside_the_prefix(self):
        self.assertEqual([p.name for p in self.staging.iterdir()], ["usr"])
        self.assertEqual(sorted(p.name for p in self.usr.iterdir()), ["bin", "share"])


if __name__ == "__main__":
    unittest.main()
