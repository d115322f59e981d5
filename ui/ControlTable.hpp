// A window described as data: its controls with their captions, twips geometry and tab order.
// Each toolkit builds its widgets by looping over these tables.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

enum class ControlKind { CommandButton, Frame, Image, OptionButton };

// A control by its name and, for an element of a control array, its index (-1 otherwise).
struct ControlRef {
    std::string_view name;
    int index = -1;

    bool IsClientArea() const { return name.empty(); }
    friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

struct ControlRow {
    ControlKind kind;
    std::string_view name;
    int index;             // element of the control array, -1 for a single control
    ControlRef container;  // {} for the window's client area
    std::string_view caption;
    int left, top, width, height;  // twips, relative to the container
    int tabIndex;                  // -1 for controls that take no focus

    ControlRef Ref() const { return {name, index}; }
};

struct WindowLayout {
    int clientWidth, clientHeight;  // twips
    int left, top;                  // twips from the screen's top-left, client area
    bool centredOnScreen = false;   // then left and top are not used
};

// "Name", or "Name(index)" for an element of a control array.
inline std::string ControlName(const ControlRef& control) {
    std::string name(control.name);
    if (control.index >= 0) name += '(' + std::to_string(control.index) + ')';
    return name;
}

}  // namespace quarnel
