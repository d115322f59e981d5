// The system's message font, the one dialogs use, at a window's dpi; and the dpi at which a
// window turns its table's twips into pixels: the monitor's dpi grown by the font factor, where
// the message font is wider than the 8-point font the tables were drawn for.
#pragma once

#include "WinHandles.hpp"

namespace quarnel {

class DialogFont {
public:
    explicit DialogFont(unsigned dpi);
    HFONT__* Get() const { return font_.get(); }

private:
    UniqueFont font_;
};

// Average width of the 52 Latin letters in the message font at 96 dpi, in pixels.
double MessageFontAverageCharWidth();

// monitorDpi × the font factor.
double TableDpi(unsigned monitorDpi);

}  // namespace quarnel
