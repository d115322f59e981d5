// MainForm: the drop target on top, three buttons below. The entry lists and the text buffer a
// drop works with live in the drop handler, not in hidden controls.
#pragma once

#include <algorithm>
#include <array>

#include "ControlTable.hpp"

namespace quarnel::MainFormTable {

inline constexpr WindowLayout cWindow{915, 2160, 240, 480};

inline constexpr int cOptionenButton = 0;
inline constexpr int cHilfeButton = 1;
inline constexpr int cInfoButton = 2;

inline constexpr std::array cControls{
    ControlRow{ControlKind::CommandButton, "Btn", 0, {}, "&Optionen", 60, 1080, 795, 315, 0},
    ControlRow{ControlKind::CommandButton, "Btn", 1, {}, "&Hilfe", 60, 1440, 795, 315, 1},
    ControlRow{ControlKind::CommandButton, "Btn", 2, {}, "&Info", 60, 1800, 795, 315, 2},
    ControlRow{ControlKind::Frame, "DropFrame", -1, {}, "Drop!", 60, 60, 795, 915, 3},
    ControlRow{ControlKind::Image, "Image1", -1, {"DropFrame"}, "", 120, 240, 480, 480, -1},
};

// The elements of the control array Btn, numbered from 0.
inline constexpr int cBtnCount =
    static_cast<int>(std::ranges::count_if(cControls, [](const ControlRow& control) {
        return control.kind == ControlKind::CommandButton;
    }));

}  // namespace quarnel::MainFormTable
