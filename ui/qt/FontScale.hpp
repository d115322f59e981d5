// The scale factor for the tables, measured on the font the widgets will use.
#pragma once

class QFont;

namespace quarnel {

double ScaleFactorFor(const QFont& font);

}  // namespace quarnel
