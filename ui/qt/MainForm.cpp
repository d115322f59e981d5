#include "MainForm.hpp"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>

#include "FontWidth.hpp"
#include "TableControls.hpp"
#include "ui/Geometry.hpp"
#include "ui/MainFormTable.hpp"

namespace quarnel {

MainForm::MainForm()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      scaleFactor_(FontScaleFactor(AverageCharWidth(font()))) {
    // The client area, not the frame, stands at the design place.
    const PixelArea client =
        DesignClientArea(MainFormTable::cWindow, cReferenceDpi, cReferenceDpi * scaleFactor_);
    setFixedSize(client.width, client.height);
    setGeometry(client.left, client.top, client.width, client.height);
    BuildControlsFromTable(MainFormTable::cControls, scaleFactor_,
                           [this](const ControlRow& control) { return CreateControl(control); });
}

QWidget* MainForm::CreateControl(const ControlRow& control) {
    QWidget* container = ContainerOf(control, *this);
    switch (control.kind) {
        case ControlKind::CommandButton: {
            auto* button = new QPushButton(FromUtf8(control.caption), container);
            const int index = control.index;
            connect(button, &QPushButton::clicked, this, [this, index] {
                if (buttons_ != nullptr) buttons_->BtnClick(index);
            });
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

void MainForm::Connect(DropGate& dropGate, MainFormButtons& buttons) {
    dropGate_ = &dropGate;
    buttons_ = &buttons;
    image1_->SetDropGate(dropGate);
}

void MainForm::SetCaption(std::string_view caption) { setWindowTitle(FromUtf8(caption)); }

void MainForm::Post(std::chrono::milliseconds delay, std::function<void()> task) {
    QTimer::singleShot(delay, this, std::move(task));
}

void MainForm::ShowWaitCursor(bool waiting) {
    if (waiting) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void MainForm::Close() { close(); }

// Qt queues the task for this window's thread and drops it with the window.
void MainForm::PostFromAnyThread(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void MainForm::ShowProgress(std::shared_ptr<const DropProgress> progress,
                            std::function<void()> stop) {
    HideProgress();
    progress_ = std::make_unique<ProgressForm>(std::move(progress), std::move(stop), *this);
    progress_->show();
}

// The stop may take the window down from inside its own click or close event: it goes once
// that event has returned.
void MainForm::HideProgress() {
    if (progress_ == nullptr) return;
    progress_->hide();
    progress_.release()->deleteLater();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (dropGate_ != nullptr && !dropGate_->MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (closed_) Post({}, closed_);
}

}  // namespace quarnel
