#include "TableWidgets.hpp"

#include <QWidget>
#include <vector>

#include "ui/Geometry.hpp"

namespace quarnel {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

QString ObjectName(const ControlRow& control) {
    return control.index >= 0
               ? QStringLiteral("%1(%2)").arg(FromUtf8(control.name)).arg(control.index)
               : FromUtf8(control.name);
}

}  // namespace

QRect PixelRect(int left, int top, int width, int height, double scaleFactor) {
    const double dpi = cReferenceDpi * scaleFactor;
    return {pixelsFromTwips(left, dpi), pixelsFromTwips(top, dpi), pixelsFromTwips(width, dpi),
            pixelsFromTwips(height, dpi)};
}

void BuildControlsFromTable(std::span<const ControlRow> table, double scaleFactor,
                            const std::function<QWidget*(const ControlRow&)>& create) {
    std::vector<QWidget*> tabOrder(table.size(), nullptr);
    for (const ControlRow& control : table) {
        QWidget* widget = create(control);
        widget->setObjectName(ObjectName(control));
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
