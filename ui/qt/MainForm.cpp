#include "MainForm.hpp"

#include <QGroupBox>
#include <QPushButton>

#include "FontScale.hpp"
#include "OptionForm.hpp"
#include "TableWidgets.hpp"
#include "core/ProgramTitle.hpp"
#include "platform/ProgramVersion.hpp"
#include "ui/AAA.hpp"
#include "ui/HelpMessage.hpp"
#include "ui/MainFormTable.hpp"
#include "ui/VersionLine.hpp"

namespace quarnel {

MainForm::MainForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      scaleFactor_(ScaleFactorFor(font())) {
    const auto& window = MainFormTable::cWindow;
    const QRect client =
        PixelRect(window.left, window.top, window.clientWidth, window.clientHeight, scaleFactor_);
    setFixedSize(client.size());
    setGeometry(client);  // the client area, not the frame, stands at the design place
    BuildControlsFromTable(MainFormTable::cControls, scaleFactor_,
                           [this](const ControlRow& control) { return CreateControl(control); });
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
