#include "FontScale.hpp"

#include <QFontMetricsF>

#include "ui/Geometry.hpp"

namespace quarnel {

double ScaleFactorFor(const QFont& font) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double averageWidth = QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
    return ScaleFactorForFont(averageWidth);
}

}  // namespace quarnel
