"""Files dragged from a GTK window onto Image1 end up as a list on the clipboard.

Each test starts the program afresh, with its own settings, on a private Xvfb display.
"""

import os
import shutil
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

import slow_fs
from xsession import (CLOSE_WINDOW, FRAME_BESIDE_IMAGE1_UNITS, SYSTEM_PYTHON, TITLE,
                      TITLE_PATTERN, BellWatch, DragSource, FakeClipboardManager, Program,
                      XSession, file_uri_drag_args, wait_for)

BEFORE = "Vorher da – nicht anfassen\r\n".encode("utf-8")


def lines(*names):
    return b"".join(name.encode("utf-8") + b"\r\n" for name in names)


class DropToClipboardTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession()
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()

    def setUp(self):
        self.files = Path(tempfile.mkdtemp(prefix="files-", dir=self.session.tmp))
        self.addCleanup(shutil.rmtree, self.files, True)

    # -- helpers -----------------------------------------------------------------------

    def start(self, options=None, settings_text=None):
        self.program = Program(self.session, options=options, settings_text=settings_text)
        self.addCleanup(self.program.stop)
        self.bells = BellWatch(self.session)
        self.addCleanup(self.session.end, self.bells.process)
        # a known text first, so "unchanged" and "empty" can be told apart
        server = self.session.set_clipboard(BEFORE)
        self.addCleanup(self.session.end, server)

    def make_file(self, name, data=b"x"):
        path = self.files / name
        path.write_bytes(data)
        return path

    def make_folder(self, name):
        path = self.files / name
        path.mkdir()
        (path / "drin.txt").write_bytes(b"x")
        return path

    def drag(self, source_args):
        source = DragSource(self.session, source_args)
        self.addCleanup(source.finish)
        source.drop_on(self.program.image1_centre())
        source.finish()

    def new_clipboard(self, previous=BEFORE):
        """Waits until the program has put text on the clipboard; returns that text after the
        program has finished with the drop."""
        def changed():
            now = self.session.read_clipboard()
            return now if now[0] == 0 and now[1] != previous else None
        try:
            wait_for(changed, what="new clipboard text")
        except TimeoutError:
            self.fail("the clipboard never got new text; it reads %r"
                      % (self.session.read_clipboard(),))
        self.bell_count = self.bells.settle(self.program)
        return_code, data = self.session.read_clipboard()
        self.assertEqual(return_code, 0, "nobody serves the clipboard after the drop")
        return data

    def assert_clipboard_untouched(self):
        self.assertEqual(self.session.read_clipboard(), (0, BEFORE))

    def assert_message_box(self, box):
        self.assertNotEqual(box, self.program.window)
        props = self.session.xprop(box, "WM_NAME", "_NET_WM_NAME", "_NET_WM_WINDOW_TYPE",
                                   "WM_TRANSIENT_FOR")
        self.assertIn('_NET_WM_NAME(UTF8_STRING) = "%s"' % TITLE, props)
        self.assertIn("_NET_WM_WINDOW_TYPE_DIALOG", props)
        self.assertIn("WM_TRANSIENT_FOR(WINDOW): window id # 0x%x" % self.program.window, props)

    def refused_drop(self, source_args, options=None):
        """A drop that must bring up the message box and leave the clipboard alone."""
        self.start(options=options)
        self.drag(source_args)
        box = self.program.wait_message_box()
        self.assert_message_box(box)
        self.assert_clipboard_untouched()
        self.program.close_message_box(box)
        self.assertEqual(self.bells.settle(self.program), 0, "the refused drop rang the bell")
        self.assert_clipboard_untouched()
        self.assertEqual(self.program.other_windows(), [])
        self.assertIsNone(self.program.process.poll(), "the program ended")

    # -- tests -------------------------------------------------------------------------

    def test_bell_watch_hears_a_bell(self):
        # the counter the other tests rely on, including where they expect no bell
        self.start()
        self.assertEqual(self.bells.settle(self.program), 0)
        self.session.ring_bell()
        self.assertEqual(self.bells.settle(self.program), 1)

    def test_default_options_give_sorted_names_without_path(self):
        zitrone = self.make_file("Zitrone.txt")
        birne = self.make_file("birne.txt")
        self.start()
        self.drag(file_uri_drag_args([zitrone, birne]))
        self.assertEqual(self.new_clipboard(), lines("birne.txt", "Zitrone.txt"))
        self.assertEqual(self.bell_count, 1)
        self.assertEqual(self.program.other_windows(), [])

    def test_hand_edited_settings_give_full_upper_case_paths_in_drop_order(self):
        folder = str(self.files)
        self.assertTrue(folder.isascii())
        names = ["Zitrone.txt", "äpfel.txt", "Straße.txt"]
        paths = [self.make_file(name) for name in names]
        # as a Windows editor leaves it
        self.start(settings_text="[General]\r\nOptions=10100011100110\r\n")
        self.drag(file_uri_drag_args(paths))
        # one character for one character: "ß" has no single upper-case letter and stays
        expected = lines(*(folder.upper() + "/" + name
                           for name in ["ZITRONE.TXT", "ÄPFEL.TXT", "STRAßE.TXT"]))
        self.assertEqual(self.new_clipboard(), expected)
        self.assertEqual(self.bell_count, 1)

    def test_lower_case_names_of_files_and_folders_in_drop_order(self):
        # arrival order, name only, files and folders, lower case, no expansion
        paths = [self.make_file("Zitrone.TXT"), self.make_folder("Ordner-Ä"),
                 self.make_file("Apfel.txt")]
        self.start(options="10010010010101")
        self.drag(file_uri_drag_args(paths))
        self.assertEqual(self.new_clipboard(), lines("zitrone.txt", "ordner-ä", "apfel.txt"))
        self.assertEqual(self.bell_count, 1)

    def test_folder_names_only(self):
        # sorted, name only, folders only, no expansion
        paths = [self.make_folder("Ordner"), self.make_file("datei.txt"),
                 self.make_folder("Akten")]
        self.start(options="01011001000101")
        self.drag(file_uri_drag_args(paths))
        self.assertEqual(self.new_clipboard(), lines("Akten", "Ordner"))
        self.assertEqual(self.bell_count, 1)

    def test_sorting_follows_german_collation(self):
        # byte order, arrival order and case-sensitive order would each differ from this
        paths = [self.make_file(name)
                 for name in ["Zitrone.txt", "Äpfel.txt", "apfel.txt", "Birne.txt"]]
        self.start()
        self.drag(file_uri_drag_args(paths))
        self.assertEqual(self.new_clipboard(),
                         lines("apfel.txt", "Äpfel.txt", "Birne.txt", "Zitrone.txt"))
        self.assertEqual(self.bell_count, 1)

    def test_plain_text_drop_is_refused(self):
        self.refused_drop(["--text", "einfach nur Text"])

    def test_web_address_drop_is_refused(self):
        self.refused_drop(["--uris", "https://example.org/"])

    def test_file_list_with_a_web_address_is_refused_as_a_whole(self):
        good = self.make_file("gut.txt")
        self.refused_drop(["--uris", good.as_uri(), "https://example.org/"])

    def test_an_empty_list_is_said_and_leaves_the_clipboard_as_it_was(self):
        # files only, no expansion: a folder gives nothing
        self.refused_drop(file_uri_drag_args([self.make_folder("Ordner")]),
                          options="01010101000101")

    def reported_and_left_out(self, paths):
        """A drop of paths where all but gut.txt get a message box of their own."""
        self.start()
        self.drag(file_uri_drag_args(paths))
        box = self.program.wait_message_box()
        self.assert_message_box(box)
        # the list goes out only after every name is dealt with
        self.assert_clipboard_untouched()
        self.program.close_message_box(box)
        self.assertEqual(self.new_clipboard(), lines("gut.txt"))
        self.assertEqual(self.bell_count, 1)
        self.assertEqual(self.program.other_windows(), [])

    def test_name_with_question_mark_is_reported_and_left_out(self):
        self.reported_and_left_out([self.make_file("was?.txt"), self.make_file("gut.txt")])

    def test_vanished_file_is_reported_and_left_out(self):
        # offered, but not there when dropped
        self.reported_and_left_out([self.make_file("gut.txt"), self.files / "weg.txt"])

    def make_tree(self):
        tree = self.files / "Baum"
        for folder in ["Ärger/tiefer", "b", ".versteckt"]:
            (tree / folder).mkdir(parents=True)
        for name in ["Ärger/tiefer/z.txt", "Ärger/eins.TXT", "b/zwei.txt", "drei.txt",
                     ".versteckt/nein.txt", ".nein.txt"]:
            (tree / name).write_bytes(b"x")
        return tree

    def quarnel_list(self, options, *paths):
        done = subprocess.run([os.environ["QUARNEL_LIST"], "--options", options, *map(str, paths)],
                              capture_output=True, check=True, timeout=60)
        return done.stdout

    def test_dropped_folder_is_expanded_like_quarnel_list_does(self):
        tree = self.make_tree()
        loose = self.make_file("lose.txt")
        options = "10100011000110"  # arrival order, full paths, files and folders, expanded
        self.start(options=options)
        self.drag(file_uri_drag_args([tree, loose]))
        text = self.new_clipboard()
        self.assertEqual(self.bell_count, 1)
        self.assertEqual(text, self.quarnel_list(options, tree, loose))
        # the folder's own name, then its files, then its folders; nothing with a dot
        entries = text.decode("utf-8").split("\r\n")
        self.assertEqual(entries[0], str(tree))
        self.assertEqual(entries[-2:], [str(loose), ""])
        self.assertEqual(len(entries), 1 + 4 + 3 + 1 + 1)
        self.assertNotIn("nein", text.decode("utf-8"))
        self.assertEqual(self.program.other_windows(), [])

    def test_dropped_folder_gives_only_its_name_with_expansion_off(self):
        tree = self.make_tree()
        options = "10100011000100"
        self.start(options=options)
        self.drag(file_uri_drag_args([tree]))
        self.assertEqual(self.new_clipboard(), lines(str(tree)))
        self.assertEqual(self.quarnel_list(options, tree), lines(str(tree)))

    def test_only_image1_takes_drops(self):
        good = self.make_file("gut.txt")
        self.start()
        source = DragSource(self.session, file_uri_drag_args([good]))
        self.addCleanup(source.finish)
        source.drop_refused_at(self.program.image1_centre(),
                               self.program.point(FRAME_BESIDE_IMAGE1_UNITS))
        self.assertNotIn("drag-data-get text/uri-list", source.reader.lines)
        self.assertEqual(self.bells.settle(self.program), 0)
        self.assert_clipboard_untouched()
        self.assertEqual(self.program.other_windows(), [])

    def test_thousands_of_names_arrive_whole(self):
        # the list crosses X in pieces (INCR); none may be lost or cut
        names = ["Datei %04d ä.txt" % number for number in range(3000)]
        paths = [self.make_file(name) for name in reversed(names)]
        self.start()
        self.drag(file_uri_drag_args(paths))
        self.assertEqual(self.new_clipboard(), lines(*names))
        self.assertEqual(self.bell_count, 1)

    def test_second_drop_replaces_the_first_list(self):
        first = self.make_file("erste.txt")
        second = self.make_file("zweite.txt")
        self.start()
        self.drag(file_uri_drag_args([first]))
        self.assertEqual(self.new_clipboard(), lines("erste.txt"))
        self.drag(file_uri_drag_args([second]))
        self.assertEqual(self.new_clipboard(previous=lines("erste.txt")), lines("zweite.txt"))
        self.assertEqual(self.bell_count, 2)

    # -- after the window has closed ------------------------------------------------------

    def manager(self, mode):
        manager = FakeClipboardManager(self.session, mode)
        self.addCleanup(self.session.end, manager.process)
        return manager

    def drop_and_close(self, names):
        """Drops files with these names, then closes the window; returns the list."""
        paths = [self.make_file(name) for name in names]
        self.start()
        self.drag(file_uri_drag_args(paths))
        text = self.new_clipboard()
        self.program.close()
        return text

    def assert_kept_until_another_program_takes_the_clipboard(self, text):
        self.assertEqual(self.session.read_clipboard(), (0, text))
        self.assertIsNone(self.program.process.poll(), "the program ended, and the list with it")
        self.addCleanup(self.session.end, self.session.set_clipboard(b"neu"))
        self.assertEqual(self.program.wait_end(timeout=1)[0], 0)

    # so many that the list crosses X in pieces (INCR), also from the fake manager
    MANY_NAMES = ["Datei %04d ä.txt" % number for number in range(2000)]

    def test_without_a_clipboard_manager_the_list_outlives_the_window(self):
        text = self.drop_and_close(self.MANY_NAMES)
        self.assertEqual(text, lines(*self.MANY_NAMES))
        self.assert_kept_until_another_program_takes_the_clipboard(text)

    def test_a_manager_that_refuses_or_does_not_answer_costs_no_text(self):
        for mode in ("refuse", "silent"):
            with self.subTest(mode):
                manager = self.manager(mode)
                text = self.drop_and_close(["eins.txt", "zwei.txt"])
                wait_for(lambda: manager.times_asked() == 1, what="the manager to be asked")
                if mode == "silent":
                    time.sleep(2.5)  # the program waits two seconds for an answer
                self.assert_kept_until_another_program_takes_the_clipboard(text)
                self.session.end(manager.process)

    def test_a_manager_that_keeps_only_a_part_gets_the_whole_list_back(self):
        manager = self.manager("spoil")
        text = self.drop_and_close(["eins.txt", "zwei.txt"])
        manager.reader.expect(lambda line: line == "lost", what="the list to be taken back")
        self.assert_kept_until_another_program_takes_the_clipboard(text)

    def test_a_manager_that_takes_the_whole_list_ends_the_program(self):
        manager = self.manager("keep")
        text = self.drop_and_close(self.MANY_NAMES)
        self.assertEqual(text, lines(*self.MANY_NAMES))
        self.assertEqual(self.program.wait_end(timeout=1)[0], 0)
        self.assertEqual(manager.times_asked(), 1)
        self.assertEqual(self.session.read_clipboard(), (0, text))

    def test_paths_named_at_start_are_one_drop_and_no_window_stays(self):
        # as a file manager's context menu starts it: a file, a name that is gone, a folder
        good = self.make_file("gut.txt")
        folder = self.make_folder("Ordner")
        server = self.session.set_clipboard(BEFORE)
        self.addCleanup(self.session.end, server)
        self.program = Program(self.session, paths=[good, self.files / "weg.txt", folder])
        self.addCleanup(self.program.stop)
        box = self.program.wait_message_box()
        self.assertIn('_NET_WM_NAME(UTF8_STRING) = "%s"' % TITLE,
                      self.session.xprop(box, "_NET_WM_NAME"))
        self.assert_clipboard_untouched()
        self.program.close_message_box(box)
        # the defaults: sorted names of files, the folder expanded
        text = wait_for(lambda: (lambda now: now[1] if now[1] != BEFORE else None)(
            self.session.read_clipboard()), what="the list on the clipboard")
        self.assertEqual(text, lines("drin.txt", "gut.txt"))
        self.assertEqual(self.session.find_windows(TITLE_PATTERN), [], "a window stayed")
        self.assert_kept_until_another_program_takes_the_clipboard(text)

    def test_without_a_list_of_its_own_the_program_ends_at_once(self):
        # a manager that never answers: any hand-over would hold the end up for seconds
        manager = self.manager("silent")
        folder = self.make_folder("Ordner")
        for case in ("never dropped", "clipboard taken", "empty list", "empty list at start"):
            with self.subTest(case):
                # files only, no expansion: a folder gives the empty list
                if case == "empty list at start":
                    self.addCleanup(self.session.end, self.session.set_clipboard(BEFORE))
                    self.program = Program(self.session, options="01010101000101",
                                           paths=[self.files / "weg.txt"])
                    self.addCleanup(self.program.stop)
                    box = self.program.wait_message_box()
                    self.program.close_message_box(box)  # the missing name
                    self.program.close_message_box(self.program.wait_message_box())
                    self.assertEqual(self.program.wait_end(timeout=1)[0], 0)
                    self.assert_clipboard_untouched()
                    continue
                self.start(options="01010101000101")
                if case == "clipboard taken":
                    self.drag(file_uri_drag_args([self.make_file("gut.txt")]))
                    self.assertEqual(self.new_clipboard(), lines("gut.txt"))
                    self.addCleanup(self.session.end, self.session.set_clipboard(b"neu"))
                if case == "empty list":
                    self.drag(file_uri_drag_args([folder]))
                    self.program.close_message_box(self.program.wait_message_box())
                self.program.close()
                self.assertEqual(self.program.wait_end(timeout=1)[0], 0)
        self.assertEqual(manager.times_asked(), 0)

    # -- slow and stuck storage -----------------------------------------------------------

    def share(self, source, **rig):
        """source passed through the slow share rig (bench/slow_fs.py); returns the rig and
        where it is mounted. Mount it after starting the program: the cleanups then stop the
        rig first, and a listing stuck in it no longer holds the program's process."""
        reason = slow_fs.Unavailable()
        if reason:
            (self.fail if slow_fs.MUST_MOUNT else self.skipTest)(reason)
        rig = slow_fs.SlowShare(source, **rig)
        mounted = Path(rig.__enter__())
        self.addCleanup(rig.stop)
        return rig, mounted

    def hung_share(self, name="Netz"):
        """A share whose folder "Hängt" never answers its listing, beside a file."""
        source = self.files / name
        (source / "Hängt").mkdir(parents=True)
        (source / "Hängt" / "nie.txt").write_bytes(b"x")
        (source / "Akte.txt").write_bytes(b"x")
        return self.share(source, hang="Hängt")

    def assert_gone_for_the_user(self, window):
        """window out of sight and the display let go, while a listing stuck in the rig still
        keeps the process."""
        wait_for(lambda: not self.session.viewable(window), timeout=2,
                 what="the window to go")
        try:
            wait_for(lambda: not self.program.holds_display(), timeout=2)
        except TimeoutError:
            self.fail("the program still holds its display 2 s after its window went; its "
                      "window's thread waits on %r" % self.program.waits_on())
        self.assertIsNone(self.program.process.poll(), "the stuck listing let the program end")

    def test_a_folder_that_never_answers_leaves_the_window_answering_and_can_be_stopped(self):
        self.start()
        rig, mounted = self.hung_share()
        source = DragSource(self.session, file_uri_drag_args([mounted]))
        self.addCleanup(source.finish)
        source.drop_on(self.program.image1_centre())
        progress = self.program.wait_progress_window(since=source.dropped_at, bound=1.5)
        self.assertEqual(self.bells.settle(self.program, patience_ms=1000), 0)
        self.session.key_in(progress, "Escape")
        wait_for(lambda: not self.session.viewable(progress), timeout=1,
                 what="the progress window to go")
        # stopped: no bell, no message, the clipboard as it was
        self.assertEqual(self.bells.settle(self.program, patience_ms=1000), 0)
        self.assertEqual(self.program.other_windows(), [])
        self.assert_clipboard_untouched()
        # the next drop does not wait for the listing still stuck in the kernel
        self.drag(file_uri_drag_args([self.make_folder("Ordner")]))
        self.assertEqual(self.new_clipboard(), lines("drin.txt"))
        self.assertEqual(self.bell_count, 1)
        # with the list taken over by another program, closing the window ends the program
        self.addCleanup(self.session.end, self.session.set_clipboard(b"neu"))
        window = self.program.window
        self.program.close()
        self.assert_gone_for_the_user(window)
        rig.stop()
        self.assertEqual(self.program.wait_end(timeout=3)[0], 0)

    def test_a_folder_that_never_answers_named_at_start_shows_progress_and_stops_with_1(self):
        # "Abbrechen" is the progress window's one button, so it holds the keyboard focus
        stops = {"Abbrechen": lambda progress: self.session.key_in(progress, "space"),
                 "its close button": lambda progress: self.session.run(
                     [SYSTEM_PYTHON, "-c", CLOSE_WINDOW, str(progress)])}
        for stop_by, stop in stops.items():
            with self.subTest(stop_by):
                self.addCleanup(self.session.end, self.session.set_clipboard(BEFORE))
                rig, mounted = self.hung_share(name=stop_by)
                began = time.monotonic()
                self.program = Program(self.session, paths=[mounted / "Hängt"])
                self.addCleanup(self.program.stop)
                self.addCleanup(rig.stop)  # before the program is stopped
                # the program's own start takes a moment before the drop's second begins
                progress = self.program.wait_progress_window(since=began, bound=2.5,
                                                             of="the start")
                self.assertEqual(self.session.find_windows(TITLE_PATTERN), [],
                                 "a main window showed")
                stop(progress)
                self.assert_gone_for_the_user(progress)
                self.assert_clipboard_untouched()
                rig.stop()
                self.assertEqual(self.program.wait_end(timeout=3)[0], 1)

    def test_a_folder_on_a_slow_share_gives_the_list_of_a_plain_disk(self):
        tree = self.make_tree()
        options = "10100011000110"  # arrival order, full paths, files and folders, expanded
        self.start(options=options)
        _, mounted = self.share(self.files, delay_ms=2)
        self.drag(file_uri_drag_args([mounted / tree.name]))
        text = self.new_clipboard()
        self.assertEqual(text.replace(os.fsencode(mounted) + b"/", os.fsencode(self.files) + b"/"),
                         self.quarnel_list(options, tree))


if __name__ == "__main__":
    unittest.main()
