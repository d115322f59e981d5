#include "MainForm.hpp"

#include <QGroupBox>
#include <QPushButton>

#include "FontScale.hpp"
#include "OptionForm.hpp"
#include "core/ProgramTitle.hpp"
#include "platform/ProgramVersion.hpp"
#include "ui/AAA.hpp"
#include "ui/Geometry.hpp"
#include "ui/HelpMessage.hpp"
#include "ui/MainFormTable.hpp"
#include "ui/VersionLine.hpp"

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
    setGeometry(client);  // the client area, not the frame, stands at the design place
    BuildControls();
}

QRect MainForm::PixelRect(int left, int top, int width, int height) const {
    const double dpi = cReferenceDpi * scaleFactor_;
    return {pixelsFromTwips(left, dpi), pixelsFromTwips(top, dpi), pixelsFromTwips(width, dpi),
            pixelsFromTwips(height, dpi)};
}

QWidget* MainForm::CreateControl(const ControlRow& control) {
    QWidget* container = control.container.empty()
                             ? static_cast<QWidget*>(this)
                             : findChild<QWidget*>(FromUtf8(control.container));
    switch (control.kind) {
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(FromUtf8(control.caption), container);
            const int index = control.index;
            connect(button, &QPushButton::clicked, this, [this, index] { BtnClick(index, *this); });
            btn_.at(index) = button;
            return button;
        }
        case ControlKind::Frame:
            dropFrame_ = new QGroupBox(FromUtf8(control.caption), container);
            return dropFrame_;
        case ControlKind::Image:
            image1_ = new DropImage(container);
            image1_->setPixmap(QPixmap(QStringLiteral(":/art/drop-folder-32.png")));
            return image1_;
        case ControlKind::OptionButton:
            break;
    }
    return nullptr;
}

void MainForm::BuildControls() {
    std::vector<QWidget*> tabOrder(MainFormTable::cControls.size(), nullptr);
    for (const ControlRow& control : MainFormTable::cControls) {
        QWidget* widget = CreateControl(control);
        widget->setObjectName(
            control.index >= 0
                ? QStringLiteral("%1(%2)").arg(FromUtf8(control.name)).arg(control.index)
                : FromUtf8(control.name));
        widget->setGeometry(PixelRect(control.left, control.top, control.width, control.height));
        if (control.tabIndex >= 0) tabOrder.at(control.tabIndex) = widget;
    }
    QWidget* previous = nullptr;
    for (QWidget* widget : tabOrder) {
        if (widget == nullptr || widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) setTabOrder(previous, widget);
        previous = widget;
    }
}

void MainForm::SetCaption(std::string_view caption) { setWindowTitle(FromUtf8(caption)); }

void MainForm::SetButtonServices(MsgBox& msgBox, OptionClicks& optionClicks) {
    msgBox_ = &msgBox;
    optionClicks_ = &optionClicks;
}

// A new dialog for every opening; closing it discards it.
void MainForm::OpenOptions() {
    OptionForm optionForm(*optionClicks_);
    SyncOptionButtons(optionForm);
    optionForm.exec();
}

void MainForm::ShowHelp() { quarnel::ShowHelp(*msgBox_, VersionLine(RunningVersion())); }

void MainForm::ShowInfo() { ShowInfoBox(*msgBox_, ProgramTitle, VersionLine(RunningVersion())); }

}  // namespace quarnel
