// fake_clipboard_manager: a clipboard manager for the end-to-end tests, on the X display named by
// DISPLAY. It owns CLIPBOARD_MANAGER and answers a request to save the clipboard (SAVE_TARGETS)
// the way its mode says:
//   refuse  answers no
//   silent  never answers
//   spoil   answers yes and takes the clipboard, serving only "abgeschnitten"
//   keep    copies the clipboard's UTF-8 text, takes the clipboard, serves the copy and answers
//           yes
// Texts larger than one piece cross in pieces (INCR) both ways. Prints "ready" once it owns
// CLIPBOARD_MANAGER, "asked" for each request to save and "lost" when another program takes the
// clipboard from it. Runs until it is killed.
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};
using Event = std::unique_ptr<xcb_generic_event_t, Free>;

constexpr size_t cPiece = 16 * 1024;

xcb_connection_t* x = nullptr;
xcb_window_t window = 0;
xcb_atom_t incr = 0;
// events that came while the manager waited for something else
std::deque<Event> later;

xcb_atom_t Atom(const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, Free> reply(xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply->atom;
}

uint8_t Kind(const Event& event) { return event->response_type & 0x7f; }

void Print(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
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

// The next event of kind on this window, keeping the others for later.
Event WaitFor(uint8_t kind) {
    xcb_flush(x);
    while (Event event{xcb_wait_for_event(x)}) {
        if (Kind(event) == kind) return event;
        later.push_back(std::move(event));
    }
    return nullptr;
}

struct Property {
    xcb_atom_t type = 0;
    std::string data;
};

Property TakeProperty(xcb_atom_t property) {
    std::unique_ptr<xcb_get_property_reply_t, Free> reply(xcb_get_property_reply(
        x, xcb_get_property(x, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr));
    if (!reply) return {};
    return {reply->type,
            std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                        static_cast<size_t>(xcb_get_property_value_length(reply.get())))};
}

// The clipboard's text, read from its owner.
std::string CopyClipboard(xcb_atom_t clipboard, xcb_atom_t utf8, xcb_atom_t property) {
    xcb_convert_selection(x, window, clipboard, utf8, property, XCB_CURRENT_TIME);
    if (!WaitFor(XCB_SELECTION_NOTIFY)) return {};
    Property head = TakeProperty(property);
    if (head.type != incr) return head.data;
    std::string text;
    while (Event event = WaitFor(XCB_PROPERTY_NOTIFY)) {
        const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(event.get());
        if (change.window != window || change.atom != property ||
            change.state != XCB_PROPERTY_NEW_VALUE)
            continue;
        const std::string piece = TakeProperty(property).data;
        if (piece.empty()) break;
        text += piece;
    }
    return text;
}

// A text being served in pieces: the next piece goes out when the requestor deletes the last.
struct Transfer {
    xcb_window_t requestor;
    xcb_atom_t property;
    size_t offset;
    bool done;
};

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
    const uint32_t propertyChanges = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(x, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &propertyChanges);
    const xcb_atom_t manager = Atom("CLIPBOARD_MANAGER"), clipboard = Atom("CLIPBOARD"),
                     saveTargets = Atom("SAVE_TARGETS"), targets = Atom("TARGETS"),
                     utf8 = Atom("UTF8_STRING"), property = Atom("FAKE_MANAGER_COPY");
    incr = Atom("INCR");
    xcb_set_selection_owner(x, window, manager, XCB_CURRENT_TIME);
    std::unique_ptr<xcb_get_selection_owner_reply_t, Free> owner(
        xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, manager), nullptr));
    if (!owner || owner->owner != window) return 1;
    Print("ready");

    std::string served;
    std::vector<Transfer> transfers;
    for (;;) {
        Event event;
        if (!later.empty()) {
            event = std::move(later.front());
            later.pop_front();
        } else {
            xcb_flush(x);
            event.reset(xcb_wait_for_event(x));
        }
        if (!event) return 1;
        if (Kind(event) == XCB_SELECTION_CLEAR) Print("lost");
        if (Kind(event) == XCB_PROPERTY_NOTIFY) {
            const auto& change = *reinterpret_cast<xcb_property_notify_event_t*>(event.get());
            for (Transfer& transfer : transfers) {
                if (transfer.done || change.window != transfer.requestor ||
                    change.atom != transfer.property || change.state != XCB_PROPERTY_DELETE)
                    continue;
                const size_t size = std::min(cPiece, served.size() - transfer.offset);
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, transfer.requestor, transfer.property,
                                    utf8, 8, static_cast<uint32_t>(size),
                                    served.data() + transfer.offset);
                transfer.offset += size;
                transfer.done = size == 0;
            }
            continue;
        }
        if (Kind(event) != XCB_SELECTION_REQUEST) continue;
        const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event.get());
        if (request.selection == clipboard) {
            if (request.target == targets) {
                const xcb_atom_t offered[] = {targets, utf8};
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                    XCB_ATOM_ATOM, 32, 2, offered);
                Answer(request, request.property);
            } else if (request.target == utf8 && served.size() > cPiece) {
                xcb_change_window_attributes(x, request.requestor, XCB_CW_EVENT_MASK,
                                             &propertyChanges);
                const uint32_t size = static_cast<uint32_t>(served.size());
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                                    incr, 32, 1, &size);
                transfers.push_back({request.requestor, request.property, 0, false});
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
        Print("asked");
        if (mode == "refuse") {
            Answer(request, XCB_ATOM_NONE);
        } else if (mode == "spoil" || mode == "keep") {
            served = mode == "spoil" ? "abgeschnitten" : CopyClipboard(clipboard, utf8, property);
            transfers.clear();
            xcb_set_selection_owner(x, window, clipboard, XCB_CURRENT_TIME);
            Answer(request, request.property);
        }
    }
}
