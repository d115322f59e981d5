#include "DisplayCheck.hpp"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "platform/wayland/WaylandDisplayProbe.hpp"
#include "platform/xcb/DisplayProbe.hpp"

namespace quarnel {
namespace {

const char* Value(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

bool CanReachX11() { return Value("DISPLAY") != nullptr && CanReachX11Display(); }

// Whether Qt can start the platform named, as far as this program can tell: the display
// platforms are asked, any other (offscreen, eglfs, …) is trusted.
bool CanStart(std::string_view platform) {
    if (platform.starts_with("xcb")) return CanReachX11();
    if (platform.starts_with("wayland")) return CanReachWaylandDisplay();
    return true;
}

}  // namespace

std::optional<std::string> ChooseDisplayPlatform() {
    static const std::string noDisplay =
        "Quarnel! 2.5 braucht eine grafische Oberfläche, kann aber keine Anzeige erreichen "
        "(DISPLAY oder WAYLAND_DISPLAY muss eine laufende Anzeige nennen).";
    if (const char* chosen = Value("QT_QPA_PLATFORM")) {
        // Qt tries the platforms of a list such as "wayland;xcb" in turn.
        for (std::string_view left = chosen; !left.empty();) {
            const std::size_t end = std::min(left.find(';'), left.size());
            const std::string_view platform = left.substr(0, end);
            if (!platform.empty() && CanStart(platform)) return std::nullopt;
            left.remove_prefix(std::min(end + 1, left.size()));
        }
        return noDisplay;
    }
    for (const char* platform : {"xcb", "wayland"}) {
        if (CanStart(platform)) {
            ::setenv("QT_QPA_PLATFORM", platform, 1);
            return std::nullopt;
        }
    }
    return noDisplay;
}

}  // namespace quarnel
