#include "ProgressForm.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "FontWidth.hpp"
#include "TableControls.hpp"
#include "ui/Geometry.hpp"
#include "ui/ProgressFormTable.hpp"
#include "ui/ProgressText.hpp"

namespace quarnel {
namespace {

constexpr int cUpdateMilliseconds = 250;

}  // namespace

ProgressForm::ProgressForm(std::shared_ptr<const DropProgress> progress, std::function<void()> stop,
                           QWidget& placeAt)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      progress_(std::move(progress)),
      stop_(std::move(stop)),
      scaleFactor_(FontScaleFactor(AverageCharWidth(font()))) {
    using namespace ProgressFormTable;
    setWindowTitle(FromUtf8(ProgressTitle()));

    // Kept above a main window that shows, also one that stays on top (a window manager keeps
    // the stay-on-top layer above a transient); with the main window out of sight it stands
    // alone, with a task bar entry of its own.
    if (QWindow* main = placeAt.windowHandle(); main != nullptr && placeAt.isVisible()) {
        setWindowFlag(Qt::WindowStaysOnTopHint, main->flags().testFlag(Qt::WindowStaysOnTopHint));
        winId();
        windowHandle()->setTransientParent(main);
    }

    QRect client = PixelRect(0, 0, cWindow.clientWidth, cWindow.clientHeight, scaleFactor_);
    client.moveCenter(placeAt.screen()->availableGeometry().center());
    setFixedSize(client.size());
    setGeometry(client);
    // It never keeps the program running nor ends it: the program decides by its main window.
    setAttribute(Qt::WA_QuitOnClose, false);

    AddLabel(cProgressLine, cLine.left, cLine.top, cLine.width, cLine.height);
    count_ = AddLabel({}, cCount.left, cCount.top, cCount.width, cCount.height);
    folder_ = AddLabel({}, cFolder.left, cFolder.top, cFolder.width, cFolder.height);
    cancel_ = new QPushButton(FromUtf8(cProgressCancel), this);
    cancel_->setGeometry(PixelRect(cCancelButton.left, cCancelButton.top, cCancelButton.width,
                                   cCancelButton.height, scaleFactor_));
    cancel_->setFocus();
    connect(cancel_, &QPushButton::clicked, this, [this] { stop_(); });

    Update();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] { Update(); });
    timer->start(cUpdateMilliseconds);
}

QLabel* ProgressForm::AddLabel(std::string_view text, int left, int top, int width, int height) {
    auto* label = new QLabel(FromUtf8(text), this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(PixelRect(left, top, width, height, scaleFactor_));
    return label;
}

void ProgressForm::Update() {
    count_->setText(FromUtf8(NamesFoundText(progress_->NamesFound())));
    // A name that is no valid text shows with replacement characters; it is only shown.
    folder_->setText(folder_->fontMetrics().elidedText(FromUtf8(progress_->Folder()),
                                                       Qt::ElideMiddle, folder_->width()));
}

// The window goes when its owner takes it down, once the drop has stopped.
void ProgressForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    stop_();
}

void ProgressForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        stop_();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quarnel
