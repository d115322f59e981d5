#include "TableWidgets.hpp"

#include <QWidget>

#include "ui/Geometry.hpp"

namespace quarnel {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ObjectName(const ControlRow& control) {
    return control.index >= 0
               ? QStringLiteral("%1(%2)").arg(FromUtf8(control.name)).arg(control.index)
               : FromUtf8(control.name);
}

QRect PixelRect(int left, int top, int width, int height, double scaleFactor) {
    const double dpi = cReferenceDpi * scaleFactor;
    return {pixelsFromTwips(left, dpi), pixelsFromTwips(top, dpi), pixelsFromTwips(width, dpi),
            pixelsFromTwips(height, dpi)};
}

void SetTabOrderByIndex(std::span<QWidget* const> widgetsByTabIndex) {
    QWidget* previous = nullptr;
    for (QWidget* widget : widgetsByTabIndex) {
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace quarnel
