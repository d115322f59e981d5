#include "FontWidth.hpp"

#include <QFontMetricsF>

namespace quarnel {

double AverageCharWidth(const QFont& font) {
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetricsF(font).horizontalAdvance(letters) / letters.size();
}

}  // namespace quarnel
