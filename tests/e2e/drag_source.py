"""A GTK 3 window offering a drag the way a GTK file manager does.

Run with /usr/bin/python3 (needs python3-gi). The window shows one button; dragging from it
offers either a text/uri-list of the given paths, a text/uri-list of raw URIs, or plain text.

Prints, one line each:
  "ready <x> <y> <w> <h>"   the button's root geometry, once the window is mapped
  "drag-begin"              the drag has started
  "action <n>"              the target's answer changed the chosen action (0: it refuses)
  "drag-data-get <target>"  the target fetched the data
  "drag-failed <why>"       the drag was cancelled
  "drag-end"                the drag is over; the program leaves shortly after
  "timeout"                 nothing ended it within --timeout seconds
"""

import argparse
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, Gio, GLib, Gtk  # noqa: E402


def say(line):
    print(line, flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--title", default="Quarnel drag source")
    parser.add_argument("--x", type=int, default=300)
    parser.add_argument("--y", type=int, default=100)
    parser.add_argument("--width", type=int, default=120)
    parser.add_argument("--height", type=int, default=60)
    parser.add_argument("--timeout", type=float, default=30.0)
    kind = parser.add_mutually_exclusive_group(required=True)
    kind.add_argument("--paths", nargs="+", help="local paths, offered as file: URIs")
    kind.add_argument("--uris", nargs="+", help="URIs offered as they are")
    kind.add_argument("--text", help="plain text, offered without a uri-list")
    args = parser.parse_args()

    if args.paths:
        uris = [Gio.File.new_for_path(p).get_uri() for p in args.paths]
    else:
        uris = args.uris

    window = Gtk.Window(title=args.title)
    window.set_default_size(args.width, args.height)
    window.move(args.x, args.y)
    button = Gtk.Button(label="Ziehen")
    window.add(button)

    button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [],
                           Gdk.DragAction.COPY | Gdk.DragAction.MOVE)
    if args.text is not None:
        button.drag_source_add_text_targets()
    else:
        button.drag_source_add_uri_targets()

    def on_drag_data_get(_widget, _context, data, _info, _time):
        say("drag-data-get " + data.get_target().name())
        if args.text is not None:
            data.set_text(args.text, -1)
        else:
            data.set_uris(uris)

    def on_action_changed(_context, action):
        say("action %d" % int(action))

    def on_drag_begin(_widget, context):
        context.connect("action-changed", on_action_changed)
        say("drag-begin")

    def on_drag_failed(_widget, _context, result):
        say("drag-failed %s" % result.value_nick)
        return False

    def on_drag_end(_widget, _context):
        say("drag-end")
        # let the final XDND messages go out before leaving
        GLib.timeout_add(200, Gtk.main_quit)

    def on_timeout():
        say("timeout")
        Gtk.main_quit()
        return False

    def report_ready():
        allocation = button.get_allocation()
        _, ox, oy = button.get_window().get_origin()
        say("ready %d %d %d %d" % (ox + allocation.x, oy + allocation.y,
                                   allocation.width, allocation.height))
        return False

    def on_map_event(_widget, _event):
        # the button's geometry is settled only once the first frame is drawn
        GLib.idle_add(report_ready)
        return False

    button.connect("drag-data-get", on_drag_data_get)
    button.connect("drag-begin", on_drag_begin)
    button.connect("drag-failed", on_drag_failed)
    button.connect("drag-end", on_drag_end)
    window.connect("map-event", on_map_event)
    window.connect("destroy", Gtk.main_quit)
    GLib.timeout_add(int(args.timeout * 1000), on_timeout)

    window.show_all()
    Gtk.main()
    return 0


if __name__ == "__main__":
    sys.exit(main())
