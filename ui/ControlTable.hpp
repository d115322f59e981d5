// A window described as data: its controls with their captions, twips geometry and tab order.
// Each toolkit builds its widgets by looping over these tables.
#pragma once

#include <string_view>

namespace quarnel {

enum class ControlKind { CommandButton, Frame, Image, OptionButton };

struct ControlRow {
    ControlKind kind;
    std::string_view name;
    int index;                   // element of the control array, -1 for a single control
    std::string_view container;  // "" for the window's client area
    std::string_view caption;
    int left, top, width, height;  // twips, relative to the container
    int tabIndex;                  // -1 for controls that take no focus
};

struct WindowLayout {
    int clientWidth, clientHeight;  // twips
    int left, top;                  // twips from the screen's top-left, client area
    bool centredOnScreen = false;   // then left and top are not used
};

}  // namespace quarnel
