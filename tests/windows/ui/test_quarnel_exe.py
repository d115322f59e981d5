"""quarnel.exe under Wine on a private Xvfb display with openbox: a GTK drag onto Image1 puts
the list on the Windows clipboard, lines ended by CR LF; the options dialog opened by a click
on "Optionen" saves a click to the registry and raises the main window.

Each test class has its own Wine prefix, so the user's Wine settings and registry stay untouched.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "e2e"))

from xsession import DragSource, XSession, file_uri_drag_args, wait_for  # noqa: E402

TITLE_PATTERN = r"^Quarnel! 2\.5$"
OPTIONS_PATTERN = r"^Quarnel! 2\.5 Optionen$"
SETTINGS_KEY = r"HKCU\Software\Kelvaro's Tools\Quarnel! 2.5"

# Wine draws a tool window's frame itself: 3 pixels around the client area.
FRAME = 3

# Twips in the main window's client area (915 x 2160): Image1's centre (DropFrame's place plus
# Image1's plus half its size) and the centre of "Optionen".
MAIN_CLIENT_TWIPS = (915, 2160)
IMAGE1_CENTRE_TWIPS = (60 + 120 + 240, 60 + 240 + 240)
OPTIONEN_CENTRE_TWIPS = (60 + 795 // 2, 1080 + 315 // 2)

# The options dialog's client area (4845 x 3975) and a point on the caption of "&Immer &oben":
# frame "Fensterposition" at 60, 60, the button at 180, 660 in it, 195 high.
OPTIONS_CLIENT_TWIPS = (4845, 3975)
IMMER_OBEN_TWIPS = (60 + 180 + 400, 60 + 660 + 97)


def wine_run():
    return os.environ["WINE_RUN"]


class QuarnelExeTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession(window_manager=True)
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()
        cls.prefix = cls.session.tmp / "wine"
        cls.addClassCleanup(cls.stop_wine)

    @classmethod
    def stop_wine(cls):
        subprocess.run([wine_run(), "wineboot", "--end-session"], env=cls.wine_env(),
                       capture_output=True, check=False, timeout=60)
        subprocess.run(["/usr/lib/wine/wineserver", "-k"], env=cls.wine_env(),
                       capture_output=True, check=False, timeout=60)

    @classmethod
    def wine_env(cls):
        return cls.session.env(WINEPREFIX=str(cls.prefix))

    def setUp(self):
        self.files = Path(tempfile.mkdtemp(prefix="files-", dir=self.session.tmp))
        self.addCleanup(shutil.rmtree, self.files, True)
        self.wine(["reg", "delete", SETTINGS_KEY, "/f"], check=False)
        self.program = self.session.spawn([wine_run(), os.environ["QUARNEL_EXE"]],
                                          env=self.wine_env())
        self.addCleanup(self.session.end, self.program)
        self.main = wait_for(lambda: self.session.find_windows(TITLE_PATTERN), timeout=60,
                             what="the main window")[0]

    def wine(self, args, check=True):
        return subprocess.run([wine_run()] + args, env=self.wine_env(), capture_output=True,
                              check=check, timeout=60)

    def clipboard_text(self):
        result = self.wine([os.environ["QUARNEL_CLIPBOARD_TEXT"]], check=False)
        return result.stdout if result.returncode == 0 else None

    def stored_options(self):
        result = self.wine(["reg", "query", SETTINGS_KEY, "/v", "Options"], check=False)
        found = re.search(rb"Options\s+REG_SZ\s+(\S+)", result.stdout)
        return found.group(1).decode() if found else None

    def client_point(self, window, client_twips, twips):
        """The screen point at twips in the client area of a window Wine framed itself."""
        x, y, width, height = self.session.geometry(window)
        client_width = width - 2 * FRAME
        client_height = round(client_twips[1] * client_width / client_twips[0])
        left, top = x + FRAME, y + height - FRAME - client_height
        return (left + twips[0] * client_width // client_twips[0],
                top + twips[1] * client_width // client_twips[0])

    def click(self, point):
        self.session.xdotool("mousemove", *point)
        self.session.xdotool("click", 1)

    def test_dropped_files_and_folder_land_on_the_clipboard_with_cr_lf(self):
        (self.files / "b.txt").write_bytes(b"x")
        (self.files / "Änderung.txt").write_bytes(b"x")
        (self.files / "Ordner").mkdir()
        (self.files / "Ordner" / "drin.txt").write_bytes(b"x")
        source = DragSource(self.session, file_uri_drag_args(
            [self.files / "b.txt", self.files / "Ordner", self.files / "Änderung.txt"]))
        self.addCleanup(source.finish)

        source.drop_on(self.client_point(self.main, MAIN_CLIENT_TWIPS, IMAGE1_CENTRE_TWIPS))

        # the default options: names without path, folders expanded, sorted the German way
        expected = "Änderung.txt\r\nb.txt\r\ndrin.txt\r\n".encode("utf-8")
        try:
            wait_for(lambda: self.clipboard_text() == expected, timeout=20,
                     what="the list on the clipboard")
        except TimeoutError:
            self.assertEqual(self.clipboard_text(), expected)

    def test_options_dialog_opened_by_a_click_saves_immer_oben(self):
        self.click(self.client_point(self.main, MAIN_CLIENT_TWIPS, OPTIONEN_CENTRE_TWIPS))
        dialog = wait_for(lambda: self.session.find_windows(OPTIONS_PATTERN),
                          what="the options dialog")[0]

        self.click(self.client_point(dialog, OPTIONS_CLIENT_TWIPS, IMMER_OBEN_TWIPS))

        self.assertEqual(wait_for(lambda: self.stored_options() == "01010101001010" and
                                  "01010101001010", timeout=20, what="the saved options"),
                         "01010101001010")
        self.assertIn("_NET_WM_STATE_ABOVE", self.session.xprop(self.main, "_NET_WM_STATE"))


if __name__ == "__main__":
    unittest.main()
