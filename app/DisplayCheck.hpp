// Chooses the windowing system before Qt starts, and says plainly when there is none.
#pragma once

#include <optional>
#include <string>

namespace quarnel {

// X11 is preferred (also through XWayland): Wayland grants a client neither stay-on-top nor a
// window position. An X display that does not answer gives way to Wayland when there is one.
// Returns the sentence to print when no display can be reached.
std::optional<std::string> ChooseDisplayPlatform();

}  // namespace quarnel
