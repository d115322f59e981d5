#include "DisplayCheck.hpp"

#include <cstdlib>

namespace quarnel {
namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::optional<std::string> ChooseDisplayPlatform() {
    if (IsSet("QT_QPA_PLATFORM")) return std::nullopt;
    if (IsSet("DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        return std::nullopt;
    }
    if (IsSet("WAYLAND_DISPLAY")) return std::nullopt;
    return "Quarnel! 2.5 braucht eine grafische Oberfläche, aber es ist keine Anzeige "
           "erreichbar (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt).";
}

}  // namespace quarnel
