"""The Windows installer under Wine's msiexec, in a Wine prefix of the test's own: what the package
declares, what an installation puts where, the "Senden an" shortcut at work, a second
installation that repairs, and a removal that leaves nothing of the program but the user's
stored options."""

import os
import re
import subprocess
import tempfile
import unittest
from pathlib import Path

from winesession import QUARNEL_EXE, SETTINGS_KEY, WineSession
from linux_side import linux_list_as_on_windows, windows_name  # after winesession: on its path

MSI = os.environ["QUARNEL_INSTALLER_MSI"]
ICON = Path(__file__).resolve().parents[3] / "art" / "quarnel.ico"
UPGRADE_CODE = "{A8FEC7BB-6F22-418F-99D6-FE01F780D98A}"
VERSION = re.search(r"quarnel-(.+)-x64\.msi$", MSI).group(1)
DISPLAY_NAME = "Quarnel! 2.5 – Dateilisten für die Zwischenablage"
INSTALLATION_KEY = SETTINGS_KEY + " Installation"
# Windows keeps a per-user entry under HKCU, Wine keeps every entry under HKLM
UNINSTALL_KEYS = ["HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                  "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"]
START_MENU_LINK = "Start Menu\\Programs\\Quarnel! 2.5.lnk"
SEND_TO_LINK = "SendTo\\Namen in die Zwischenablage (Quarnel!).lnk"
PROGRAM_FILES = ["LICENSE.txt", "README.txt", "quarnel-list.exe", "quarnel.exe"]


def msi_table(table):
    """The rows of one table of the package, each a list of its fields."""
    text = subprocess.run(["msiinfo", "export", MSI, table], check=True, capture_output=True,
                          text=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def files_under(folder):
    return {path.relative_to(folder) for path in folder.rglob("*")}


class InstallerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = WineSession()
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        cls.msi = windows_name(MSI)
        cls.product_code = dict(msi_table("Property"))["ProductCode"]

    def msiexec(self, *arguments):
        done = self.session.run("msiexec", *arguments, "/qn", check=False)
        self.assertEqual(done.returncode, 0, done.stderr.decode(errors="replace"))

    def uninstall_entries(self):
        """{key: values} of every uninstall entry of this package."""
        found = {}
        for root in UNINSTALL_KEYS:
            values = self.session.registry_key(root + "\\" + self.product_code)
            if values is not None:
                found[root] = values
        return found

    def test_the_package_is_per_user_with_a_fixed_upgrade_code(self):
        properties = dict(msi_table("Property"))
        self.assertEqual(properties["UpgradeCode"], UPGRADE_CODE)
        self.assertEqual(properties["ProductVersion"], VERSION)
        self.assertEqual(properties["ProductName"], DISPLAY_NAME)
        self.assertEqual(properties["Manufacturer"], "Kelvaro's Tools")
        self.assertEqual(properties["ARPPRODUCTICON"], "quarnel.ico")
        self.assertNotIn("ALLUSERS", properties, "per user: ALLUSERS stays empty")
        summary = subprocess.run(["msiinfo", "suminfo", MSI], check=True, capture_output=True,
                                 text=True).stdout
        word_count = int(re.search(r"^Source: (\d+)", summary, re.M).group(1))
        self.assertTrue(word_count & 8, "the package asks for no elevation")
        # every earlier build up to this version is replaced, a newer one is only detected
        major, minor, patch = VERSION.split(".")
        next_version = "%s.%s.%d" % (major, minor, int(patch) + 1)
        self.assertEqual(sorted((row[0], row[1], row[2], row[4]) for row in msi_table("Upgrade")),
                         [(UPGRADE_CODE, "0.0.0", next_version, "256"),
                          (UPGRADE_CODE, VERSION, "", "2")])

    def test_install_send_to_repair_and_remove(self):
        drive = self.session.prefix / "drive_c"
        # "Senden an" on Windows holds entries of its own; they stay when Quarnel! leaves
        send_to, = drive.glob("users/*/AppData/Roaming/Microsoft/Windows/SendTo")
        (send_to / "Desktop (Verknüpfung erstellen).DeskLink").write_bytes(b"")
        before = files_under(drive)
        self.session.store_options("01100011000110")  # sorted, full paths, expanded

        self.msiexec("/i", self.msi)

        folder = self.session.registry_key(INSTALLATION_KEY)["InstallDir"]
        self.assertRegex(folder, r"^C:\\users\\[^\\]+\\AppData\\Local\\Programs\\Quarnel\\$")
        installed = self.session.linux_path(folder)
        self.assertEqual(sorted(p.name for p in installed.iterdir()), PROGRAM_FILES)
        self.assertEqual((installed / "quarnel.exe").read_bytes(),
                         Path(QUARNEL_EXE).read_bytes())
        profile = re.match(r"^(C:\\users\\[^\\]+\\)", folder).group(1)
        links = profile + "AppData\\Roaming\\Microsoft\\Windows\\"
        program = folder + "quarnel.exe"
        for link, working_folder in [(START_MENU_LINK, folder), (SEND_TO_LINK, "")]:
            with self.subTest(link=link):
                target, arguments, work, icon, index = self.session.shortcut(links + link)
                self.assertEqual((target, arguments, work, index),
                                 (program, "", working_folder, 0))
                self.assertEqual(self.session.linux_path(icon).read_bytes(), ICON.read_bytes())
        (entry_root, entry), = self.uninstall_entries().items()
        self.assertEqual((entry["DisplayName"], entry["DisplayVersion"], entry["Publisher"]),
                         (DISPLAY_NAME, VERSION, "Kelvaro's Tools"))

        # "Senden an" with two files and a folder: the target gets them as arguments
        files = Path(tempfile.mkdtemp(prefix="send-", dir=self.session.x.tmp))
        (files / "Ordner" / "Unter").mkdir(parents=True)
        for name in ["b.txt", "Äpfel.txt", "Ordner/zeta.TXT", "Ordner/Unter/straße.txt"]:
            (files / name).write_bytes(b"x")
        sent = [files / "b.txt", files / "Ordner", files / "Äpfel.txt"]
        done, text = self.session.clipboard_after(program, *map(windows_name, sent))
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(text, linux_list_as_on_windows("01100011000110", sent,
                                                        files / "config")[1])

        # the same package again repairs what went missing, and stays one entry
        (installed / "quarnel-list.exe").unlink()
        self.session.linux_path(links + SEND_TO_LINK).unlink()
        self.msiexec("/i", self.msi)
        self.assertEqual(sorted(p.name for p in installed.iterdir()), PROGRAM_FILES)
        self.assertEqual(self.session.shortcut(links + SEND_TO_LINK)[0], program)
        self.assertEqual(list(self.uninstall_entries()), [entry_root])

        self.msiexec("/x", self.msi)

        changed = files_under(drive) ^ before
        # Windows Installer's own folders (its package cache, the icons of installed products),
        # which every Windows has: left, but empty
        cache = {p for p in changed if p == Path("windows", "Installer") or
                 p.parts[-4:] == ("AppData", "Roaming", "Microsoft", "Installer")}
        self.assertEqual([list((drive / p).iterdir()) for p in cache], [[]] * len(cache))
        self.assertEqual(sorted(map(str, changed - cache)), [])
        self.assertEqual(self.uninstall_entries(), {})
        self.assertIsNone(self.session.registry_key(INSTALLATION_KEY))
        self.assertEqual(self.session.registry_key(SETTINGS_KEY), {"Options": "01100011000110"})


if __name__ == "__main__":
    unittest.main()
