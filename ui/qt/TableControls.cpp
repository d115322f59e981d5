#include "TableControls.hpp"

#include <QWidget>
#include <vector>

#include "ui/Geometry.hpp"

namespace quarnel {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect PixelRect(int left, int top, int width, int height, double scaleFactor) {
    const double dpi = cReferenceDpi * scaleFactor;
    return {pixelsFromTwips(left, dpi), pixelsFromTwips(top, dpi), pixelsFromTwips(width, dpi),
            pixelsFromTwips(height, dpi)};
}

QWidget* ContainerOf(const ControlRow& control, QWidget& window) {
    if (control.container.IsClientArea()) return &window;
    return window.findChild<QWidget*>(FromUtf8(ControlName(control.container)));
}

void BuildControlsFromTable(std::span<const ControlRow> table, double scaleFactor,
                            const std::function<QWidget*(const ControlRow&)>& create) {
    std::vector<QWidget*> tabOrder(table.size(), nullptr);
    for (const ControlRow& control : table) {
        QWidget* widget = create(control);
        widget->setObjectName(FromUtf8(ControlName(control.Ref())));
        widget->setGeometry(
            PixelRect(control.left, control.top, control.width, control.height, scaleFactor));
        if (control.tabIndex >= 0) tabOrder.at(control.tabIndex) = widget;
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : tabOrder) {
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace quarnel
