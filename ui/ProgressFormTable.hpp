// The progress window: three lines of text above the "Abbrechen" button at the right, centred
// on the screen. Drawn in twips for the 8-point dialog font, as the other windows' tables.
#pragma once

#include "ControlTable.hpp"

namespace quarnel::ProgressFormTable {

struct TwipsRect {
    int left, top, width, height;
};

inline constexpr WindowLayout cWindow{5400, 1725, 0, 0, true};

inline constexpr TwipsRect cLine{180, 180, 5040, 240};
inline constexpr TwipsRect cCount{180, 480, 5040, 240};
// The folder being read, shortened in its middle to fit this width.
inline constexpr TwipsRect cFolder{180, 780, 5040, 240};
inline constexpr TwipsRect cCancelButton{4095, 1200, 1125, 345};

}  // namespace quarnel::ProgressFormTable
