// Chooses the windowing system before Qt starts, and says plainly when there is none.
#pragma once

#include <optional>
#include <string>

namespace quarnel {

// X11 is preferred (also through XWayland): Wayland grants a client neither stay-on-top nor a
// window position. An X display that does not answer gives way to a Wayland compositor that
// does. A platform chosen in QT_QPA_PLATFORM is checked too. Returns the sentence to print when
// no display can be reached (a stale DISPLAY or WAYLAND_DISPLAY, as in tmux or over ssh).
std::optional<std::string> ChooseDisplayPlatform();

}  // namespace quarnel
