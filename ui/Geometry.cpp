#include "Geometry.hpp"

#include <algorithm>
#include <cmath>

namespace quarnel {

int pixelsFromTwips(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double FontScaleFactor(double averageCharWidth) {
    return std::max(1.0, averageCharWidth / cReferenceAverageCharWidth);
}

}  // namespace quarnel
