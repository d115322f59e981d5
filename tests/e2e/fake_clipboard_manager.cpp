// fake_clipboard_manager: a clipboard manager for the end-to-end tests, on the X display named by
// DISPLAY. It owns CLIPBOARD_MANAGER and answers a request to save the clipboard (SAVE_TARGETS)
// the way its mode says:
//   refuse  answers no
//   silent  never answers
//   spoil   answers yes and takes the clipboard, serving only "abgeschnitten"
//   keep    copies the clipboard's UTF-8 text (a small one, in one piece), takes the clipboard,
//           serves the copy and answers yes
// Prints "ready" once it owns CLIPBOARD_MANAGER, "asked" for each request to save and "lost" when
// another program takes the clipboard from it. Runs until it is killed.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};
using Event = std::unique_ptr<xcb_generic_event_t, Free>;

xcb_connection_t* x = nullptr;
xcb_window_t window = 0;

xcb_atom_t Atom(const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, Free> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply->atom;
}

void Answer(const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    xcb_send_event(x, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(x);
}

// The clipboard's text, read from its owner; events that come meanwhile are kept for later.
std::string CopyClipboard(xcb_atom_t clipboard, xcb_atom_t utf8, xcb_atom_t property,
                          std::vector<Event>& later) {
    xcb_convert_selection(x, window, clipboard, utf8, property, XCB_CURRENT_TIME);
    xcb_flush(x);
    while (Event event{xcb_wait_for_event(x)}) {
        if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) {
            later.push_back(std::move(event));
            continue;
        }
        std::unique_ptr<xcb_get_property_reply_t, Free> reply(xcb_get_property_reply(
            x, xcb_get_property(x, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
            nullptr));
        if (!reply) return {};
        return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           static_cast<size_t>(xcb_get_property_value_length(reply.get())));
    }
    return {};
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "refuse" && mode != "silent" && mode != "spoil" && mode != "keep") {
        std::fprintf(stderr, "usage: fake_clipboard_manager refuse|silent|spoil|keep\n");
        return 2;
    }
    x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    window = xcb_generate_id(x);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    const xcb_atom_t manager = Atom("CLIPBOARD_MANAGER"), clipboard = Atom("CLIPBOARD"),
                     saveTargets = Atom("SAVE_TARGETS"), targets = Atom("TARGETS"),
                     utf8 = Atom("UTF8_STRING"), property = Atom("FAKE_MANAGER_COPY");
    xcb_set_selection_owner(x, window, manager, XCB_CURRENT_TIME);
    std::unique_ptr<xcb_get_selection_owner_reply_t, Free> owner(
        xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, manager), nullptr));
    if (!owner || owner->owner != window) return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    std::string served;
    std::vector<Event> later;
    for (;;) {
        Event event;
        if (!later.empty()) {
            event = std::move(later.front());
            later.erase(later.begin());
        } else {
            event.reset(xcb_wait_for_event(x));
        }
        if (!event) return 1;
        if ((event->response_type & 0x7f) == XCB_SELECTION_CLEAR) {
            std::printf("lost\n");
            std::fflush(stdout);
        }
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST) continue;
        const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event.get());
        if (request.selection == clipboard) {
            if (request.target == targets) {
                const xcb_atom_t offered[] = {targets, utf8};
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                    XCB_ATOM_ATOM, 32, 2, offered);
                Answer(request, request.property);
            } else if (request.target == utf8) {
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                    utf8, 8, static_cast<uint32_t>(served.size()), served.data());
                Answer(request, request.property);
            } else {
                Answer(request, XCB_ATOM_NONE);
            }
            continue;
        }
        if (request.selection != manager || request.target != saveTargets) {
            Answer(request, XCB_ATOM_NONE);
            continue;
        }
        std::printf("asked\n");
        std::fflush(stdout);
        if (mode == "refuse") {
            Answer(request, XCB_ATOM_NONE);
        } else if (mode == "spoil" || mode == "keep") {
            served =
                mode == "spoil" ? "abgeschnitten" : CopyClipboard(clipboard, utf8, property, later);
            xcb_set_selection_owner(x, window, clipboard, XCB_CURRENT_TIME);
            Answer(request, request.property);
        }
    }
}
