#include "DisplayProbe.hpp"

#include <xcb/xcb.h>

#include <memory>

namespace quarnel {

bool CanReachX11Display() {
    // xcb_connect never returns null: a failed connection is an object in an error state
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    return xcb_connection_has_error(connection.get()) == 0;
}

}  // namespace quarnel
