"""The real quarnel.exe under Wine and Xvfb: a real drag from a separate GTK process, the
clipboard as Windows programs read it, the options dialog driven by real clicks, the registry
and the topmost band."""

import shutil
import tempfile
import types
import unittest
from pathlib import Path

from winesession import QUARNEL_EXE, TITLE, WS_EX_TOPMOST, WineProgram, WineSession
# after winesession, which puts them on the path
import slow_fs
from linux_side import linux_list_as_on_windows, windows_name
from xsession import (CLOSE_WINDOW, SYSTEM_PYTHON, BellWatch, DragSource, file_uri_drag_args,
                      wait_for, wait_progress_window)

BEFORE = "Vorher da – nicht anfassen\r\n"


class WindowsProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = WineSession()
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()

    def setUp(self):
        self.files = Path(tempfile.mkdtemp(prefix="files-", dir=self.session.x.tmp))
        self.addCleanup(shutil.rmtree, self.files, True)

    def start(self, options=None):
        program = WineProgram(self.session, options)
        self.addCleanup(program.stop)
        return program

    def drop(self, program, paths):
        self.session.set_clipboard(BEFORE)
        source = DragSource(self.session.x, file_uri_drag_args(paths))
        self.addCleanup(source.finish)
        image1 = wait_for(lambda: program.child("QuarnelImage1"), what="Image1")
        source.drop_on(image1.centre(), timeout=20)
        source.finish()
        return wait_for(lambda: (lambda text: text if text not in (None, BEFORE.encode()) else
                                 None)(self.session.clipboard()), timeout=20,
                        what="the list on the clipboard")

    def make_tree(self):
        (self.files / "Ordner" / "Unter").mkdir(parents=True)
        for name in ["b.txt", "Äpfel.txt", "Ordner/zeta.TXT", "Ordner/Öl.txt",
                     "Ordner/Unter/straße.txt", "Ordner/.versteckt"]:
            (self.files / name).write_bytes(b"x")
        return [self.files / "b.txt", self.files / "Ordner", self.files / "Äpfel.txt"]

    def test_a_real_drag_gives_the_linux_builds_text_with_crlf(self):
        paths = self.make_tree()
        for options in ["01010101000110", "01100010000110"]:
            with self.subTest(options=options):
                program = self.start(options)
                text = self.drop(program, paths)
                self.assertEqual(text, linux_list_as_on_windows(options, paths, self.files / "config")[1])
                self.assertEqual(text.count(b"\r\n"), len(text.splitlines()))
                self.assertNotIn(b"\r\r", text)
                program.stop()

    def test_paths_named_at_start_are_one_drop_that_ends_with_the_list_on_the_clipboard(self):
        # as "Senden an" starts it: the chosen files as arguments, no window, the list stays
        paths = self.make_tree()
        options = "01100011000110"  # sorted: Wine lists a folder in an order of its own
        self.session.store_options(options)
        self.session.set_clipboard(BEFORE)
        done, text = self.session.clipboard_after(QUARNEL_EXE, *map(windows_name, paths))
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(text, linux_list_as_on_windows(options, paths, self.files / "config")[1])

    def test_dropped_names_keep_their_order(self):
        paths = self.make_tree()
        program = self.start("10100010000100")
        text = self.drop(program, paths)
        self.assertEqual(text, "".join(windows_name(p) + "\r\n" for p in paths).encode("utf-8"))

    def test_option_clicks_are_stored_in_the_registry_and_move_the_window(self):
        program = self.start(None)
        self.assertIsNone(self.session.stored_options())
        self.assertFalse(program.main.exstyle & WS_EX_TOPMOST)

        # the keyboard reaches the dialog as soon as it opens: Escape closes it
        program.click(program.child(text="&Optionen").centre())
        wait_for(lambda: program.top_window("QuarnelOptionForm"), what="the options dialog")
        self.session.x.xdotool("key", "Escape")
        wait_for(lambda: program.top_window("QuarnelOptionForm") is None,
                 what="Escape to close the options dialog")
        self.assertIsNone(self.session.stored_options())

        program.click(program.child(text="&Optionen").centre())
        wait_for(lambda: program.top_window("QuarnelOptionForm"), what="the options dialog")
        for caption in ["Mit komplettem &Pfad", "&Keine"]:
            button = program.child(text=caption, top_class="QuarnelOptionForm")
            program.click((button.rect[0] + 6, button.centre()[1]))
        wait_for(lambda: "10100101000110" in (self.session.stored_options() or ""),
                 what="the clicked options in the registry")
        self.assertIn("REG_SZ", self.session.stored_options())

        program.click(program.child(text="&Immer &oben", top_class="QuarnelOptionForm").centre())
        wait_for(lambda: program.top_window("QuarnelMainForm").exstyle & WS_EX_TOPMOST,
                 what="the main window in the topmost band")
        program.click(program.child(text="&Normal", top_class="QuarnelOptionForm").centre())
        wait_for(lambda: not program.top_window("QuarnelMainForm").exstyle & WS_EX_TOPMOST,
                 what="the main window back among the others")
        wait_for(lambda: "10100101000110" in (self.session.stored_options() or ""),
                 what="the stored options")

    def test_the_stored_placement_applies_at_start(self):
        program = self.start("01010101001010")
        self.assertTrue(program.top_window("QuarnelMainForm").exstyle & WS_EX_TOPMOST)

    def test_a_folder_that_never_answers_leaves_the_window_answering_and_can_be_stopped(self):
        # Wine reads drive Z: through Linux, so the Linux share rig hangs it the same way
        reason = slow_fs.Unavailable()
        if reason:
            (self.fail if slow_fs.MUST_MOUNT else self.skipTest)(reason)
        (self.files / "Netz" / "Hängt").mkdir(parents=True)
        (self.files / "Netz" / "Akte.txt").write_bytes(b"x")
        options = "01010101000110"
        program = self.start(options)
        rig = slow_fs.SlowShare(self.files / "Netz", hang="Hängt")
        mounted = Path(rig.__enter__())
        self.addCleanup(rig.stop)  # first: a listing stuck in the rig holds quarnel.exe
        x = self.session.x
        main = types.SimpleNamespace(window=wait_for(
            lambda: (x.find_windows("^%s$" % TITLE) or [None])[0], what="the main X window"))
        bells = BellWatch(x)
        self.addCleanup(x.end, bells.process)
        self.session.set_clipboard(BEFORE)
        source = DragSource(x, file_uri_drag_args([mounted]))
        self.addCleanup(source.finish)
        source.drop_on(wait_for(lambda: program.child("QuarnelImage1")).centre(), timeout=20)
        progress = wait_progress_window(x, source.dropped_at, 1.5, "the drop", program.waits_on)
        self.assertEqual(bells.settle(main, patience_ms=1000), 0)  # its window still answers
        x.key_in(progress, "Escape")
        wait_for(lambda: not x.viewable(progress), timeout=1, what="the progress window to go")
        self.assertEqual(bells.settle(main, patience_ms=1000), 0)
        self.assertEqual(self.session.clipboard(), BEFORE.encode())
        self.assertEqual([w.class_name for w in self.session.windows() if w.kind == "top" and
                          w.class_name == "#32770"], [], "a message came")
        # The next drop works. Wine lists folders under one lock for the whole process, so a
        # listing stuck in the kernel would hold every later listing of quarnel.exe; Windows
        # does not, and on Linux the same step runs while the listing is still stuck. Here the
        # rig lets go first.
        rig.stop()
        folder = self.files / "Ordner"
        folder.mkdir()
        (folder / "drin.txt").write_bytes(b"x")
        self.assertEqual(self.drop(program, [folder]),
                         linux_list_as_on_windows(options, [folder], self.files / "config")[1])
        x.run([SYSTEM_PYTHON, "-c", CLOSE_WINDOW, str(main.window)])
        wait_for(lambda: not x.window_exists(main.window), timeout=2,
                 what="the main window to be destroyed")
        self.assertEqual(program.process.wait(timeout=10), 0)


if __name__ == "__main__":
    unittest.main()
