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

PixelArea DesignClientArea(const WindowLayout& window, double dpi, double fontScale) {
    return {pixelsFromTwips(window.left, dpi), pixelsFromTwips(window.top, dpi),
            pixelsFromTwips(window.clientWidth, dpi * fontScale),
            pixelsFromTwips(window.clientHeight, dpi * fontScale)};
}

}  // namespace quarnel
