// The average width of a font's 52 Latin letters, which decides how much the tables grow.
#pragma once

class QFont;

namespace quarnel {

double AverageCharWidth(const QFont& font);

}  // namespace quarnel
