"""The entry "Namen in die Zwischenablage (Quarnel!)" in a real file manager's context menu.

Installs the build into a prefix of the test's own, as `cmake --install` does for a user,
starts PCManFM on a folder with files and a subfolder (names with spaces, a quote, "$" and a
backslash), selects them all, opens the context menu for them and chooses the entry: the list
must land on the clipboard, and Quarnel! must keep it without a window.
PCManFM reads the entry from share/file-manager/actions, found through XDG_DATA_DIRS.
"""

import glob
import os
import shutil
import subprocess
import unittest

from xsession import TITLE_PATTERN, XSession, wait_for

BEFORE = "Vorher da – nicht anfassen\r\n".encode("utf-8")


def build_dir():
    path = os.environ.get("QUARNEL_BUILD_DIR")
    if not path:
        raise RuntimeError("QUARNEL_BUILD_DIR must name the build tree to install")
    return path


# PCManFM shows the actions through a module of libfm's own
@unittest.skipIf(shutil.which("pcmanfm") is None or
                 not glob.glob("/usr/lib/*/libfm/modules/gtk-menu-actions.so"),
                 "PCManFM or libfm's modules are not installed (scripts/install-deps test)")
class FileManagerMenuTest(unittest.TestCase):
    def setUp(self):
        self.session = XSession(window_manager=True).start()
        self.addCleanup(self.session.stop)
        self.prefix = self.session.tmp / "prefix"
        subprocess.run(["cmake", "--install", build_dir(), "--prefix", str(self.prefix)],
                       check=True, capture_output=True, timeout=60)

    def installed_programs_running(self):
        program = str(self.prefix / "bin" / "quarnel")
        running = []
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    if os.readlink("/proc/%s/exe" % entry) == program:
                        running.append(int(entry))
                except OSError:
                    continue
        return running

    def test_the_entry_puts_the_selected_names_on_the_clipboard(self):
        folder = self.session.tmp / "home" / "Auswahl"
        (folder / "Ordner mit Leerzeichen").mkdir(parents=True)
        (folder / "Ordner mit Leerzeichen" / "drin.txt").write_bytes(b"")
        (folder / "Brief an Anna.txt").write_bytes(b"")
        (folder / "O'Brien $HOME a\\b.txt").write_bytes(b"")  # nothing a shell would touch
        server = self.session.set_clipboard(BEFORE)
        self.addCleanup(self.session.end, server)

        env = self.session.env(PATH="%s:%s" % (self.prefix / "bin", os.environ["PATH"]),
                               XDG_DATA_DIRS="%s:/usr/share" % (self.prefix / "share"))
        self.session.spawn(["pcmanfm", "--no-desktop", str(folder)], env=env)
        window = wait_for(lambda: (self.session.find_windows("^Auswahl$") or [None])[0],
                          timeout=20, what="the PCManFM window")
        # GTK keeps the keyboard focus on a child of its own; the window is the active one
        self.session.xdotool("windowactivate", "--sync", window)

        # everything selected, the menu for the selection opened from the keyboard; from its
        # end: "Properties", then, above the separator, the actions of share/file-manager/actions
        self.session.xdotool("key", "ctrl+a")
        self.session.xdotool("key", "Menu")
        wait_for(self.menu_open, what="the context menu")
        self.session.xdotool("key", "Up", "Up", "Return")

        # the defaults: the sorted names of the files, the folder expanded
        text = wait_for(lambda: (lambda now: now[1] if now[1] != BEFORE else None)(
            self.session.read_clipboard()), timeout=15, what="the list on the clipboard")
        self.assertEqual(text, "Brief an Anna.txt\r\ndrin.txt\r\nO'Brien $HOME a\\b.txt\r\n"
                         .encode("utf-8"))
        self.assertEqual(self.session.find_windows(TITLE_PATTERN), [], "a window stayed")

        # it serves the list until another program takes the clipboard, then it ends
        self.assertEqual(len(self.installed_programs_running()), 1)
        other = self.session.set_clipboard(b"danach")
        self.addCleanup(self.session.end, other)
        wait_for(lambda: not self.installed_programs_running(), what="Quarnel! to end")

    def menu_open(self):
        # a GTK popup menu is a window of its own that the window manager leaves alone
        for window in self.session.run(["xdotool", "search", "--onlyvisible", "--class",
                                        "pcmanfm"], check=False).stdout.split():
            if "Override Redirect State: yes" in self.session.run(
                    ["xwininfo", "-id", window.decode()], check=False).stdout.decode():
                return True
        return False


if __name__ == "__main__":
    unittest.main()
