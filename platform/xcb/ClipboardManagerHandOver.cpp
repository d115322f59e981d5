#include "ClipboardManagerHandOver.hpp"

#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

namespace quarnel {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long the manager may take to answer; how long it may then take to serve the text back;
// how long after a yes it may take to own the clipboard.
constexpr auto cAnswerTime = 2s;
constexpr auto cCheckTime = 2s;
constexpr auto cOwnTime = 500ms;

// xcb's names for "none" are enumerators of differing types
constexpr xcb_atom_t cNoAtom = XCB_ATOM_NONE;
constexpr xcb_window_t cNoWindow = XCB_WINDOW_NONE;

// Replies and events from xcb are the caller's, to be freed.
template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Own(T* reply) {
    return Reply<T>(reply, &std::free);
}

template <typename T>
Reply<T> OwnAs(Reply<xcb_generic_event_t> event) {
    return Own(reinterpret_cast<T*>(event.release()));
}

// The connection owns the windows made on it: the server destroys them when it closes.
class Connection {
public:
    Connection() : connection_(xcb_connect(nullptr, nullptr), &xcb_disconnect) {}

    bool Ok() const { return xcb_connection_has_error(Get()) == 0; }
    xcb_connection_t* Get() const { return connection_.get(); }

    xcb_atom_t Atom(const char* name) const {
        const auto cookie =
            xcb_intern_atom(Get(), 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        const auto reply = Own(xcb_intern_atom_reply(Get(), cookie, nullptr));
        return reply ? reply->atom : cNoAtom;
    }

    xcb_window_t Owner(xcb_atom_t selection) const {
        const auto reply = Own(xcb_get_selection_owner_reply(
            Get(), xcb_get_selection_owner(Get(), selection), nullptr));
        return reply ? reply->owner : cNoWindow;
    }

    // The client that made a window: the part of its id that the server gave that client.
    std::uint32_t ClientOf(xcb_window_t window) const {
        return window & ~xcb_get_setup(Get())->resource_id_mask;
    }

    // An unmapped window that hears of changes to its properties.
    xcb_window_t MakeWindow() const {
        const xcb_window_t window = xcb_generate_id(Get());
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(Get())).data;
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(Get(), XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        return window;
    }

    // The next event, or none when none comes before the deadline.
    Reply<xcb_generic_event_t> NextEvent(Clock::time_point deadline) const {
        xcb_flush(Get());
        while (Ok()) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(Get())) return Own(event);
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) break;
            pollfd readable{xcb_get_file_descriptor(Get()), POLLIN, 0};
            ::poll(&readable, 1, static_cast<int>(left));
        }
        return Own<xcb_generic_event_t>(nullptr);
    }

private:
    std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection_;
};

struct Atoms {
    explicit Atoms(const Connection& x)
        : clipboard(x.Atom("CLIPBOARD")),
          manager(x.Atom("CLIPBOARD_MANAGER")),
          saveTargets(x.Atom("SAVE_TARGETS")),
          utf8(x.Atom("UTF8_STRING")),
          incr(x.Atom("INCR")),
          property(x.Atom("QUARNEL_CLIPBOARD_CHECK")) {}

    xcb_atom_t clipboard, manager, saveTargets, utf8, incr, property;
};

std::uint8_t Kind(const xcb_generic_event_t& event) { return event.response_type & 0x7f; }

// The answer to a conversion of selection that window asked for, or none in time.
Reply<xcb_selection_notify_event_t> WaitForAnswer(const Connection& x, xcb_window_t window,
                                                  xcb_atom_t selection,
                                                  Clock::time_point deadline) {
    while (auto event = x.NextEvent(deadline)) {
        if (Kind(*event) != XCB_SELECTION_NOTIFY) continue;
        const auto& answer = *reinterpret_cast<const xcb_selection_notify_event_t*>(event.get());
        if (answer.requestor == window && answer.selection == selection)
            return OwnAs<xcb_selection_notify_event_t>(std::move(event));
    }
    return Own<xcb_selection_notify_event_t>(nullptr);
}

struct PropertyHead {
    xcb_atom_t type = cNoAtom;
    std::size_t bytes = 0;
};

// A property's type and size, without moving its data.
PropertyHead ReadHeadAndDelete(const Connection& x, xcb_window_t window, xcb_atom_t property) {
    const auto reply = Own(xcb_get_property_reply(
        x.Get(), xcb_get_property(x.Get(), 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    xcb_delete_property(x.Get(), window, property);
    if (!reply) return {};
    return {reply->type, reply->bytes_after};
}

// How many bytes of UTF-8 text the clipboard's owner serves; none when it does not serve all
// of them in time. The text comes whole, or in parts (INCR): each part appears as a new value
// of the property, deleting it asks for the next, and an empty part ends the text.
std::optional<std::size_t> ServedBytes(const Connection& x, const Atoms& atoms, xcb_window_t window,
                                       Clock::time_point deadline) {
    xcb_convert_selection(x.Get(), window, atoms.clipboard, atoms.utf8, atoms.property,
                          XCB_CURRENT_TIME);
    const auto answer = WaitForAnswer(x, window, atoms.clipboard, deadline);
    if (!answer || answer->property == cNoAtom) return std::nullopt;
    const PropertyHead head = ReadHeadAndDelete(x, window, atoms.property);
    if (head.type != atoms.incr) return head.bytes;
    std::size_t total = 0;
    while (auto event = x.NextEvent(deadline)) {
        if (Kind(*event) != XCB_PROPERTY_NOTIFY) continue;
        const auto& change = *reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        if (change.window != window || change.atom != atoms.property ||
            change.state != XCB_PROPERTY_NEW_VALUE)
            continue;
        const std::size_t part = ReadHeadAndDelete(x, window, atoms.property).bytes;
        if (part == 0) return total;
        total += part;
    }
    return std::nullopt;
}

}  // namespace

HandOverResult HandClipboardToManager(std::size_t textBytes) {
    const Connection x;
    if (!x.Ok()) return {HandOver::NotTaken, cNoWindow};
    const Atoms atoms(x);
    const xcb_window_t manager = x.Owner(atoms.manager);
    const xcb_window_t formerOwner = x.Owner(atoms.clipboard);
    if (manager == cNoWindow || formerOwner == cNoWindow) return {HandOver::NotTaken, formerOwner};

    const xcb_window_t window = x.MakeWindow();
    // no list of targets on the property: the manager keeps every target the owner offers
    xcb_convert_selection(x.Get(), window, atoms.manager, atoms.saveTargets, atoms.property,
                          XCB_CURRENT_TIME);
    const auto answer = WaitForAnswer(x, window, atoms.manager, Clock::now() + cAnswerTime);

    const auto managerOwns = [&] {
        const xcb_window_t owner = x.Owner(atoms.clipboard);
        return owner != cNoWindow && x.ClientOf(owner) == x.ClientOf(manager);
    };
    bool taken = managerOwns();
    if (answer && answer->property != cNoAtom) {
        // a manager that said yes may take the clipboard a moment later
        for (const auto until = Clock::now() + cOwnTime; !taken && Clock::now() < until;) {
            std::this_thread::sleep_for(20ms);
            taken = managerOwns();
        }
    }
    if (!taken) return {HandOver::NotTaken, formerOwner};
    const auto served = ServedBytes(x, atoms, window, Clock::now() + cCheckTime);
    return {served == textBytes ? HandOver::Taken : HandOver::Spoiled, formerOwner};
}

std::uint32_t ClipboardOwner() {
    const Connection x;
    return x.Ok() ? x.Owner(x.Atom("CLIPBOARD")) : cNoWindow;
}

void TellWindowTheTime(std::uint32_t window) {
    const Connection x;
    if (!x.Ok()) return;
    xcb_change_property(x.Get(), XCB_PROP_MODE_APPEND, window, x.Atom("QUARNEL_TIME"),
                        XCB_ATOM_STRING, 8, 0, nullptr);
    x.Owner(x.Atom("CLIPBOARD"));  // a round trip: the change is made when this returns
}

}  // namespace quarnel
