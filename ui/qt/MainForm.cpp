#include "MainForm.hpp"

#include <QGroupBox>
#include <QPushButton>

#include "FontScale.hpp"
#include "ui/Geometry.hpp"
#include "ui/MainFormTable.hpp"

namespace quarnel {
namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

MainForm::MainForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      scaleFactor_(ScaleFactorFor(font())) {
    const auto& window = MainFormTable::cWindow;
    const QRect client =
        PixelRect(window.left, window.top, window.clientWidth, window.clientHeight);
    setFixedSize(client.size());
    move(client.topLeft());
    BuildControls();
}

QRect MainForm::PixelRect(int left, int top, int width, int height) const {
    const double dpi = cReferenceDpi * scaleFactor_;
    return {pixelsFromTwips(left, dpi), pixelsFromTwips(top, dpi), pixelsFromTwips(width, dpi),
            pixelsFromTwips(height, dpi)};
}

QWidget* MainForm::CreateControl(const ControlSpec& spec) {
    QWidget* container = spec.container.empty() ? static_cast<QWidget*>(this)
                                                : findChild<QWidget*>(FromUtf8(spec.container));
    switch (spec.kind) {
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(FromUtf8(spec.caption), container);
            const int index = spec.index;
            connect(button, &QPushButton::clicked, this, [this, index] { BtnClick(index, *this); });
            btn_.at(index) = button;
            return button;
        }
        case ControlKind::Frame:
            dropFrame_ = new QGroupBox(FromUtf8(spec.caption), container);
            return dropFrame_;
        case ControlKind::Image:
            image1_ = new DropImage(container);
            image1_->setPixmap(QPixmap(QStringLiteral(":/art/drop-folder-32.png")));
            return image1_;
    }
    return nullptr;
}

void MainForm::BuildControls() {
    std::vector<QWidget*> tabOrder(MainFormTable::cControls.size(), nullptr);
    for (const ControlSpec& spec : MainFormTable::cControls) {
        QWidget* widget = CreateControl(spec);
        widget->setObjectName(
            spec.index >= 0 ? QStringLiteral("%1(%2)").arg(FromUtf8(spec.name)).arg(spec.index)
                            : FromUtf8(spec.name));
        widget->setGeometry(PixelRect(spec.left, spec.top, spec.width, spec.height));
        if (spec.tabIndex >= 0) tabOrder.at(spec.tabIndex) = widget;
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : tabOrder) {
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) setTabOrder(previous, widget);
        previous = widget;
    }
}

void MainForm::SetCaption(std::string_view caption) { setWindowTitle(FromUtf8(caption)); }

}  // namespace quarnel
