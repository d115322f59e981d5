#include "WaylandDisplayProbe.hpp"

#include <wayland-client-core.h>

#include <cstdlib>
#include <memory>

namespace quarnel {

bool CanReachWaylandDisplay() {
    // A socket handed down in WAYLAND_SOCKET serves one connection only: it is left to Qt.
    if (std::getenv("WAYLAND_SOCKET") != nullptr) return true;
    const std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> display(
        wl_display_connect(nullptr), &wl_display_disconnect);
    return display != nullptr;
}

}  // namespace quarnel
