"""The main window as a window manager (openbox) sees it: title, fixed size, always on top."""

import re
import unittest

from xsession import (CLIENT_UNITS_HEIGHT, CLIENT_UNITS_WIDTH, TITLE, DragSource, Program,
                      XSession, wait_for)

ON_TOP = "01010101001110"  # the defaults plus "always on top"


class WindowTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession(window_manager=True)
        cls.addClassCleanup(cls.session.stop)
        cls.session.start()

    def start(self, options=None):
        self.program = Program(self.session, options=options)
        self.addCleanup(self.program.stop)
        wait_for(self.managed, what="openbox to manage the main window")
        return self.program.window

    def managed(self):
        props = self.session.xprop(self.program.window, "WM_STATE", "_NET_FRAME_EXTENTS",
                                   "_NET_WM_ALLOWED_ACTIONS")
        return ("window state: Normal" in props and "_NET_FRAME_EXTENTS(CARDINAL) =" in props
                and "_NET_WM_ALLOWED_ACTIONS(ATOM) =" in props)

    def net_wm_state(self, window):
        text = self.session.xprop(window, "_NET_WM_STATE")
        return set(re.findall(r"_NET_WM_STATE_\w+", text))

    def frame_of(self, window):
        tree = self.session.run(["xwininfo", "-tree", "-id", str(window)]).stdout.decode()
        return int(re.search(r"Parent window id: (0x[0-9a-f]+)", tree).group(1), 16)

    def window_under(self, point):
        self.session.xdotool("mousemove", *point)
        where = self.session.run(["xdotool", "getmouselocation"]).stdout.decode()
        return int(re.search(r"window:(\d+)", where).group(1))

    def cover_with_new_window(self):
        """Opens a large window over the main window, as the newest and active one; returns
        what lies on top at Image1's centre: the frame of the main window or of the other."""
        x, y, width, height = self.session.geometry(self.program.window)
        other = DragSource(self.session, ["--text", "Decke"], x=0, y=0,
                           width=x + width + 100, height=y + height + 100)
        self.addCleanup(other.finish)

        def settled():
            active = self.session.run(["xprop", "-root", "_NET_ACTIVE_WINDOW"]).stdout.decode()
            return "0x%x" % other.window in active
        wait_for(settled, what="the new window to become active")
        ox, oy, owidth, oheight = self.session.geometry(other.window)
        centre = self.program.image1_centre()
        self.assertTrue(ox <= centre[0] < ox + owidth and oy <= centre[1] < oy + oheight,
                        "the new window does not cover the main window")
        return self.window_under(centre), self.frame_of(self.program.window), \
            self.frame_of(other.window)

    # -- tests -------------------------------------------------------------------------

    def test_title_and_fixed_size(self):
        window = self.start()
        props = self.session.xprop(window, "WM_NAME", "_NET_WM_NAME", "WM_NORMAL_HINTS",
                                   "_NET_WM_ALLOWED_ACTIONS")
        self.assertIn('WM_NAME(STRING) = "%s"' % TITLE, props)
        self.assertIn('_NET_WM_NAME(UTF8_STRING) = "%s"' % TITLE, props)

        minimum = re.search(r"minimum size: (\d+) by (\d+)", props)
        maximum = re.search(r"maximum size: (\d+) by (\d+)", props)
        self.assertIsNotNone(minimum, props)
        self.assertIsNotNone(maximum, props)
        self.assertEqual(minimum.groups(), maximum.groups())
        _, _, width, height = self.session.geometry(window)
        self.assertEqual((int(minimum.group(1)), int(minimum.group(2))), (width, height))
        # 61 x 144 units, each side rounded on its own
        s = width / CLIENT_UNITS_WIDTH
        self.assertLessEqual(abs(height - CLIENT_UNITS_HEIGHT * s), 1.5 + s)
        self.assertGreaterEqual(s, 1.0)

        # so the window manager offers neither resizing nor maximizing
        allowed = set(re.findall(r"_NET_WM_ACTION_\w+", props))
        self.assertIn("_NET_WM_ACTION_MOVE", allowed)
        for action in ("_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                       "_NET_WM_ACTION_MAXIMIZE_VERT"):
            self.assertNotIn(action, allowed)

    def test_always_on_top_option_keeps_the_window_above_others(self):
        window = self.start(ON_TOP)
        wait_for(lambda: "_NET_WM_STATE_ABOVE" in self.net_wm_state(window),
                 what="_NET_WM_STATE_ABOVE on the main window")
        on_top, main_frame, other_frame = self.cover_with_new_window()
        self.assertEqual(on_top, main_frame,
                         "the newer window (frame 0x%x) covers the main window" % other_frame)
        self.assertIn("_NET_WM_STATE_ABOVE", self.net_wm_state(window))

    def test_the_window_opens_at_its_design_place_with_or_without_always_on_top(self):
        # 240, 480 twips from the screen's corner, whatever the font's scale factor
        for options in (None, ON_TOP):
            with self.subTest(options or "defaults"):
                window = self.start(options)
                if options == ON_TOP:
                    wait_for(lambda: "_NET_WM_STATE_ABOVE" in self.net_wm_state(window),
                             what="_NET_WM_STATE_ABOVE on the main window")
                self.assertEqual(self.session.geometry(window)[:2], (16, 32))
                self.program.stop()

    def test_by_default_the_window_is_not_kept_on_top(self):
        window = self.start()
        self.assertNotIn("_NET_WM_STATE_ABOVE", self.net_wm_state(window))
        on_top, _, other_frame = self.cover_with_new_window()
        self.assertEqual(on_top, other_frame)
        self.assertNotIn("_NET_WM_STATE_ABOVE", self.net_wm_state(window))


if __name__ == "__main__":
    unittest.main()
