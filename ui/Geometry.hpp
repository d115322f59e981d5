// Twips to pixels, and the one factor by which a window grows where the dialog font is wider
// than the 8-point font its tables were drawn for, so captions fit and proportions stay.
#pragma once

#include "ControlTable.hpp"

namespace quarnel {

inline constexpr double cReferenceDpi = 96.0;

// Average width of the 52 Latin letters in the 8-point reference dialog font at 96 dpi.
inline constexpr double cReferenceAverageCharWidth = 5.5;

int pixelsFromTwips(int twips, double dpi);

// The factor for a font whose 52 Latin letters are averageCharWidth pixels wide at 96 dpi:
// 1 for the reference font or a narrower one.
double FontScaleFactor(double averageCharWidth);

struct PixelArea {
    int left, top, width, height;
};

// A window's client area, in pixels, with its size at sizeDpi (the screen's dpi times the font's
// factor) and standing at 0, 0.
PixelArea ClientSizeAt(const WindowLayout& window, double sizeDpi);
// The same at its design place, which is a place on the screen: in physical units at the
// screen's placeDpi, not grown by the font's factor.
PixelArea DesignClientArea(const WindowLayout& window, double placeDpi, double sizeDpi);

}  // namespace quarnel
