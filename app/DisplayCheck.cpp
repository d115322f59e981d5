#include "DisplayCheck.hpp"

#include <cstdlib>
#include <string_view>

#include "platform/xcb/DisplayProbe.hpp"

namespace quarnel {
namespace {

const char* Value(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::optional<std::string> ChooseDisplayPlatform() {
    static const std::string noDisplay =
        "Quarnel! 2.5 braucht eine grafische Oberfläche, kann aber keine Anzeige erreichen "
        "(DISPLAY oder WAYLAND_DISPLAY muss eine laufende Anzeige nennen).";
    if (const char* chosen = Value("QT_QPA_PLATFORM")) {
        if (!std::string_view(chosen).starts_with("xcb")) return std::nullopt;
        if (Value("DISPLAY") != nullptr && CanReachX11Display()) return std::nullopt;
        return noDisplay;
    }
    if (Value("DISPLAY") != nullptr && CanReachX11Display()) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        return std::nullopt;
    }
    if (Value("WAYLAND_DISPLAY") != nullptr) return std::nullopt;
    return noDisplay;
}

}  // namespace quarnel
