// bell_watch: reports the bells rung on the X display named by DISPLAY, for the end-to-end tests.
//
// Prints "ready" once it listens, then one line "bell" per XkbBellNotify event.
// Reads commands from stdin:
//   "ping <window> [<ms>]"  sends _NET_WM_PING to that window and prints "pong" once the
//                    owning program answers, or "pong-timeout" after ms (10 s if not given).
//                    The answer comes from the program's event loop, so every request the
//                    program made before, a bell or a clipboard change, has been carried out by
//                    then and its bell line printed.
// Ends when stdin closes.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Watch {
    Display* display = nullptr;
    int xkbEventBase = 0;
    Atom wmProtocols = None;
    Atom netWmPing = None;
    long pingTag = 0;
    bool pongSeen = false;
};

// A ping to a window that is gone must not end the watch.
int ReportXError(Display* display, XErrorEvent* error) {
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "bell_watch: X error: %s\n", text);
    return 0;
}

void Say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

void HandleEvent(Watch& watch, const XEvent& event) {
    if (event.type == watch.xkbEventBase) {
        XkbEvent xkb;
        std::memcpy(&xkb, &event, sizeof event);
        if (xkb.any.xkb_type == XkbBellNotify) Say("bell");
        return;
    }
    if (event.type == ClientMessage && event.xclient.message_type == watch.wmProtocols &&
        event.xclient.format == 32 &&
        static_cast<Atom>(event.xclient.data.l[0]) == watch.netWmPing &&
        event.xclient.data.l[1] == watch.pingTag) {
        watch.pongSeen = true;
    }
}

void DrainEvents(Watch& watch) {
    while (XPending(watch.display) > 0) {
        XEvent event;
        XNextEvent(watch.display, &event);
        HandleEvent(watch, event);
    }
}

void Ping(Watch& watch, Window window, std::chrono::milliseconds patience) {
    // A fresh tag per ping, so a late answer to an earlier ping cannot count.
    ++watch.pingTag;
    watch.pongSeen = false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = watch.wmProtocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(watch.netWmPing);
    event.xclient.data.l[1] = watch.pingTag;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(watch.display, window, False, NoEventMask, &event);
    XFlush(watch.display);

    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        DrainEvents(watch);
        if (watch.pongSeen) {
            Say("pong");
            return;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            Say("pong-timeout");
            return;
        }
        pollfd fd{ConnectionNumber(watch.display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()));
    }
}

// Runs one stdin command; false when stdin has closed.
bool HandleCommands(Watch& watch, std::string& pending) {
    char buffer[256];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(count));
    for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (line.rfind("ping ", 0) == 0) {
            char* rest = nullptr;
            const auto window = static_cast<Window>(std::strtoul(line.c_str() + 5, &rest, 0));
            const long ms = std::strtol(rest, nullptr, 10);
            Ping(watch, window, std::chrono::milliseconds(ms > 0 ? ms : 10000));
        } else {
            Say("unknown-command");
        }
    }
    return true;
}

}  // namespace

int main() {
    Watch watch;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    int reason = 0;
    watch.display =
        XkbOpenDisplay(nullptr, &watch.xkbEventBase, &errorBase, &major, &minor, &reason);
    if (watch.display == nullptr) {
        std::fprintf(stderr, "bell_watch: cannot open the display with XKB (reason %d)\n", reason);
        return 1;
    }
    XSetErrorHandler(ReportXError);
    if (!XkbSelectEvents(watch.display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
        std::fprintf(stderr, "bell_watch: cannot select bell events\n");
        return 1;
    }
    watch.wmProtocols = XInternAtom(watch.display, "WM_PROTOCOLS", False);
    watch.netWmPing = XInternAtom(watch.display, "_NET_WM_PING", False);
    // Qt sends its ping answers to the root window, for the structure masks there.
    XSelectInput(watch.display, DefaultRootWindow(watch.display),
                 StructureNotifyMask | SubstructureNotifyMask);
    XSync(watch.display, False);
    Say("ready");

    std::string pending;
    for (;;) {
        DrainEvents(watch);
        pollfd fds[2] = {{ConnectionNumber(watch.display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if ((fds[1].revents & (POLLIN | POLLHUP)) != 0 && !HandleCommands(watch, pending)) break;
        if ((fds[0].revents & (POLLERR | POLLHUP)) != 0) break;
    }
    XCloseDisplay(watch.display);
    return 0;
}
