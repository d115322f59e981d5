// Whether the Wayland compositor named by WAYLAND_DISPLAY (or the default, wayland-0) accepts a
// client, asked before Qt starts: Qt aborts with lines of its own when it cannot connect.
#pragma once

namespace quarnel {

bool CanReachWaylandDisplay();

}  // namespace quarnel
