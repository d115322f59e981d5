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

PixelArea ClientSizeAt(const WindowLayout& window, double sizeDpi) {
    return {0, 0, pixelsFromTwips(window.clientWidth, sizeDpi),
            pixelsFromTwips(window.clientHeight, sizeDpi)};
}

PixelArea DesignClientArea(const WindowLayout& window, double placeDpi, double sizeDpi) {
    PixelArea area = ClientSizeAt(window, sizeDpi);
    area.left = pixelsFromTwips(window.left, placeDpi);
    area.top = pixelsFromTwips(window.top, placeDpi);
    return area;
}

}  // namespace quarnel
