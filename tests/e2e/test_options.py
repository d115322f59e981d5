"""The options dialog under a window manager: real clicks change the next drop, the stored
value and the main window's place in the stacking order at once."""

import re
import shutil
import tempfile
import unittest
from pathlib import Path

from xsession import (OPTIONS_CLIENT_UNITS, DragSource, OptionsDialog, Program, XSession,
                      file_uri_drag_args, settings_path, wait_for)


def lines(*names):
    return b"".join(name.encode("utf-8") + b"\r\n" for name in names)


class OptionsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession(window_manager=True)
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()

    def setUp(self):
        self.files = Path(tempfile.mkdtemp(prefix="files-", dir=self.session.tmp))
        self.addCleanup(shutil.rmtree, self.files, True)

    # -- helpers -----------------------------------------------------------------------

    def start(self, **program_args):
        program = Program(self.session, **program_args)
        self.addCleanup(program.stop)
        wait_for(lambda: "window state: Normal" in self.session.xprop(program.window, "WM_STATE"),
                 what="openbox to manage the main window")
        return program

    def stored_options(self):
        try:
            text = settings_path(self.session).read_text(encoding="utf-8")
        except OSError:
            return None
        found = re.search(r"^Options=(.*)$", text, re.M)
        return found.group(1) if found else None

    def wait_stored(self, value):
        wait_for(lambda: self.stored_options() == value,
                 what="Options=%s in the settings file (it holds %r)"
                 % (value, self.stored_options()))

    def net_wm_state(self, window):
        return set(re.findall(r"_NET_WM_STATE_\w+", self.session.xprop(window, "_NET_WM_STATE")))

    def drag_to_clipboard(self, program, paths):
        before = self.session.read_clipboard()
        source = DragSource(self.session, file_uri_drag_args(paths))
        self.addCleanup(source.finish)
        source.drop_on(program.image1_centre())
        source.finish()
        return wait_for(lambda: (lambda now: now[1] if now[0] == 0 and now != before else None)(
            self.session.read_clipboard()), what="new clipboard text")

    # -- tests -------------------------------------------------------------------------

    def test_the_dialog_is_a_modal_tool_window_of_the_tables_size(self):
        program = self.start()
        dialog = OptionsDialog(program)
        self.addCleanup(lambda: self.session.window_exists(dialog.window) and dialog.close())
        props = self.session.xprop(dialog.window, "_NET_WM_WINDOW_TYPE", "WM_TRANSIENT_FOR",
                                   "WM_NORMAL_HINTS", "_NET_WM_ALLOWED_ACTIONS")
        allowed = set(re.findall(r"_NET_WM_ACTION_\w+", props))
        self.assertIn("_NET_WM_ACTION_CLOSE", allowed)
        for action in ("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                       "_NET_WM_ACTION_MAXIMIZE_VERT"):
            self.assertNotIn(action, allowed)
        self.assertIn("_NET_WM_WINDOW_TYPE_UTILITY", props)  # kept out of task bars
        self.assertIn("WM_TRANSIENT_FOR(WINDOW)", props)
        wait_for(lambda: "_NET_WM_STATE_MODAL" in self.net_wm_state(dialog.window),
                 what="the dialog to be modal")

        main_width = self.session.geometry(program.window)[2]
        _, _, width, height = self.session.geometry(dialog.window)
        s = main_width / 61
        self.assertLessEqual(abs(width - OPTIONS_CLIENT_UNITS[0] * s), 1.5 + s)
        self.assertLessEqual(abs(height - OPTIONS_CLIENT_UNITS[1] * s), 1.5 + s)
        minimum = re.search(r"minimum size: (\d+) by (\d+)", props)
        maximum = re.search(r"maximum size: (\d+) by (\d+)", props)
        self.assertEqual(minimum.groups(), maximum.groups())
        self.assertEqual(minimum.groups(), (str(width), str(height)))
        print("\noptions dialog client area: %d x %d pixels (main window %d wide)"
              % (width, height, main_width))

        # openbox offers to minimise even a modal dialog: activating the main window it blocks
        # brings the dialog back
        self.session.xdotool("windowminimize", "--sync", dialog.window)
        self.assertIn("Iconic", self.session.xprop(dialog.window, "WM_STATE"))
        self.session.xdotool("windowactivate", program.window)
        wait_for(lambda: "window state: Normal" in self.session.xprop(dialog.window, "WM_STATE"),
                 what="the minimised dialog to come back")

        # opening saved nothing
        self.assertIsNone(self.stored_options())
        dialog.close()
        self.assertIsNone(self.stored_options())

    def test_full_paths_in_arrival_order_chosen_by_clicks_survive_a_restart(self):
        names = ["b-zwei.txt", "a-eins.txt", "C-drei.txt"]
        paths = [self.files / name for name in names]
        for path in paths:
            path.write_bytes(b"x")
        program = self.start()

        dialog = OptionsDialog(program)
        dialog.click(2)  # "Mit komplettem &Pfad"
        self.wait_stored("01100101000110")
        dialog.click(0)  # "&Keine"
        self.wait_stored("10100101000110")
        dialog.close()

        expected = lines(*(str(path) for path in paths))
        self.assertEqual(self.drag_to_clipboard(program, paths), expected)

        program.stop()
        program = self.start(keep_settings=True)
        self.assertEqual(self.stored_options(), "10100101000110")
        self.assertEqual(self.drag_to_clipboard(program, list(reversed(paths))),
                         lines(*(str(path) for path in reversed(paths))))

    def test_placement_buttons_raise_and_lower_the_main_window_at_once(self):
        program = self.start()
        dialog = OptionsDialog(program)
        self.assertNotIn("_NET_WM_STATE_ABOVE", self.net_wm_state(program.window))

        dialog.click(10)  # "&Immer &oben"
        wait_for(lambda: "_NET_WM_STATE_ABOVE" in self.net_wm_state(program.window),
                 what="_NET_WM_STATE_ABOVE on the main window")
        self.wait_stored("01010101001010")

        dialog.click(11)  # "&Normal"
        wait_for(lambda: "_NET_WM_STATE_ABOVE" not in self.net_wm_state(program.window),
                 what="_NET_WM_STATE_ABOVE to leave the main window")
        self.wait_stored("01010101000110")
        dialog.close()

    def test_a_settings_file_that_cannot_be_written_is_reported_once(self):
        # a folder where the settings file belongs: unreadable and unwritable, even for root
        settings_path(self.session).parent.mkdir(parents=True, exist_ok=True)
        program = self.start()
        settings_path(self.session).mkdir()
        self.addCleanup(settings_path(self.session).rmdir)

        dialog = OptionsDialog(program)
        dialog.click(2)
        program.close_message_box(program.wait_message_box())  # titled "Quarnel! 2.5"
        dialog.click(0)
        dialog.click(2)
        # a second box would take the focus and the Escape that closes the dialog
        dialog.close()
        self.assertEqual(program.other_windows(), [])

        # the choice holds for this run
        path = self.files / "datei.txt"
        path.write_bytes(b"x")
        self.assertEqual(self.drag_to_clipboard(program, [path]), lines(str(path)))


if __name__ == "__main__":
    unittest.main()
