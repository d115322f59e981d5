"""cmake --install puts the program, its menu entry, its icon, its entry in the file managers'
context menus, its manual pages and its AppStream metadata where a desktop, man and a software
centre find them.

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
CONTEXT_MENU_NAME = "Namen in die Zwischenablage (Quarnel!)"

# What desktop-file-validate says about each context menu file only because it is no
# Application entry; anything else it says is a fault.
NOT_AN_APPLICATION = {
    "kio/servicemenus/quarnel.desktop": (
        'value "all/all;" for key "MimeType" in group "Desktop Entry" contains value "all/all" '
        'which is an invalid MIME type',
        'key "MimeType" is present in group "Desktop Entry", but the type is "Service"',
        'key "Actions" is present in group "Desktop Entry", but the type is "Service"',
    ),
    "file-manager/actions/quarnel.desktop": (
        'value "Action" for key "Type" in group "Desktop Entry" is not a registered type value',
        'file contains key "Profiles" in group "Desktop Entry", but keys extending the format',
    ),
    "nemo/actions/quarnel.nemo_action": (
        'first group is not "Desktop Entry"',
        'file contains group "Nemo Action", but groups extending the format',
        'filename does not have a .desktop extension',
    ),
}


def read_entry_file(path):
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive
    with open(path, encoding="utf-8") as stream:
        parser.read_file(stream)
    return parser


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
        entry = read_entry_file(entry_path)["Desktop Entry"]
        self.assertEqual(entry["Type"], "Application")
        self.assertEqual(entry["Name"], "Quarnel!")
        self.assertIn("Zwischenablage", entry["Comment"])
        self.assertIn("Utility", entry["Categories"].split(";"))
        self.assertEqual(entry["Exec"], "quarnel")  # found on PATH, wherever the prefix is
        self.assertEqual(entry["Icon"], "quarnel")
        self.assertEqual(entry["Terminal"], "false")
        self.assertNotIn("MimeType", entry)  # a launcher only: it opens no file and no folder

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

    def test_each_file_manager_gets_one_entry_that_runs_quarnel_on_the_selection(self):
        share = self.usr / "share"

        dolphin_path = share / "kio" / "servicemenus" / "quarnel.desktop"
        dolphin = read_entry_file(dolphin_path)
        entry = dolphin["Desktop Entry"]
        self.assertEqual(entry["Type"], "Service")
        self.assertIn("KonqPopupMenu/Plugin", entry["X-KDE-ServiceTypes"].split(","))
        self.assertEqual(entry["MimeType"], "all/all;")
        actions = [a for a in entry["Actions"].split(";") if a]
        self.assertEqual(len(actions), 1)
        action = dolphin["Desktop Action " + actions[0]]
        self.assertEqual((action["Name"], action["Exec"], action["Icon"]),
                         (CONTEXT_MENU_NAME, "quarnel %U", "quarnel"))
        # KIO runs a service menu outside share/applications only if it is executable or
        # owned by root; a user's own prefix is not root's
        self.assertEqual(dolphin_path.stat().st_mode & 0o777, 0o755)

        nemo = read_entry_file(share / "nemo" / "actions" / "quarnel.nemo_action")["Nemo Action"]
        self.assertEqual((nemo["Name"], nemo["Exec"], nemo["Icon-Name"]),
                         (CONTEXT_MENU_NAME, "quarnel %U", "quarnel"))
        self.assertEqual((nemo["Selection"], nemo["Extensions"]), ("notnone", "any;"))
        self.assertEqual(nemo["Quote"], "double")  # else a name with a space falls apart

        action = read_entry_file(share / "file-manager" / "actions" / "quarnel.desktop")
        entry = action["Desktop Entry"]
        self.assertEqual((entry["Type"], entry["Name"], entry["Icon"]),
                         ("Action", CONTEXT_MENU_NAME, "quarnel"))
        profiles = [p for p in entry["Profiles"].split(";") if p]
        self.assertEqual(len(profiles), 1)
        profile = action["X-Action-Profile " + profiles[0]]
        self.assertEqual((profile["Exec"], profile["MimeTypes"], profile["SelectionCount"]),
                         ("quarnel %U", "all/all;", ">0"))

        # the desktop's menu keeps its one launcher
        self.assertEqual([p.name for p in (share / "applications").glob("*.desktop")],
                         ["quarnel.desktop"])

    def test_the_context_menu_files_are_sound_desktop_files(self):
        validator = shutil.which("desktop-file-validate")
        if validator is None:
            self.skipTest("desktop-file-validate is not installed (scripts/install-deps test)")
        for relative, expected in NOT_AN_APPLICATION.items():
            with self.subTest(file=relative):
                result = subprocess.run([validator, str(self.usr / "share" / relative)],
                                        capture_output=True, text=True)
                said = result.stdout.splitlines() + result.stderr.splitlines()
                complaints = [line for line in said
                              if line.strip() and not any(e in line for e in expected)]
                self.assertEqual(complaints, [])

    def test_no_folder_opens_in_quarnel(self):
        xdg_mime = shutil.which("xdg-mime")
        if xdg_mime is None:
            self.skipTest("xdg-mime is not installed (scripts/install-deps test)")
        share = self.usr / "share"
        subprocess.run(["update-desktop-database", str(share / "applications")], check=True,
                       capture_output=True)  # as the package's trigger does
        home = Path(tempfile.mkdtemp(prefix="quarnel-mime-"))
        self.addCleanup(shutil.rmtree, home, True)
        # a folder opener elsewhere shows that the query reads the folders it is given
        opener = home / "elsewhere" / "applications" / "folder-opener.desktop"
        opener.parent.mkdir(parents=True)
        opener.write_text("[Desktop Entry]\nType=Application\nName=Ordner\nExec=true %U\n"
                          "MimeType=inode/directory;\n", encoding="utf-8")

        def default_for_folders(*data_dirs):
            # no desktop environment, no display, no bus: xdg-mime asks the files alone
            env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": str(home),
                   "XDG_DATA_HOME": str(home / "data"), "XDG_CONFIG_HOME": str(home / "config"),
                   "XDG_CONFIG_DIRS": str(home / "config-dirs"),
                   "XDG_DATA_DIRS": ":".join(str(d) for d in data_dirs),
                   "DBUS_SESSION_BUS_ADDRESS": "unix:path=" + str(home / "no-bus")}
            result = subprocess.run([xdg_mime, "query", "default", "inode/directory"], env=env,
                                    capture_output=True, text=True, timeout=30)
            return result.stdout.strip()

        self.assertEqual(default_for_folders(share), "")
        self.assertEqual(default_for_folders(share, opener.parent.parent), "folder-opener.desktop")
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
