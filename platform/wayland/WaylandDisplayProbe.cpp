#include "WaylandDisplayProbe.hpp"

#include <wayland-client-core.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace quarnel {
namespace {

bool quietProbe = false;

// libwayland's own way, except during the probe: a failed probe is said by the program, in
// one German sentence, without libwayland's English lines before it.
void LogUnlessProbing(const char* format, va_list arguments) {
    if (!quietProbe) std::vfprintf(stderr, format, arguments);
}

}  // namespace

bool CanReachWaylandDisplay() {
    // A socket handed down in WAYLAND_SOCKET serves one connection only: it is left to Qt.
    if (std::getenv("WAYLAND_SOCKET") != nullptr) return true;
    wl_log_set_handler_client(LogUnlessProbing);
    quietProbe = true;
    const std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display(
        wl_display_connect(nullptr), &wl_display_disconnect);
    quietProbe = false;
    return display != nullptr;
}

}  // namespace quarnel
