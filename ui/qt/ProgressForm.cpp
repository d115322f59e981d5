#include "ProgressForm.hpp"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "FontWidth.hpp"
#include "TableControls.hpp"
#include "ui/Geometry.hpp"
#include "ui/ProgressFormTable.hpp"
#include "ui/ProgressText.hpp"

namespace quarnel {
namespace {

constexpr int cUpdateMilliseconds = 250;

// Centred over the window where it shows, else on its screen, and inside the screen's free area.
QRect PlaceOver(const QWidget& window, QSize size) {
    const QRect free = window.screen()->availableGeometry();
    QRect place({}, size);
    place.moveCenter(window.isVisible() ? window.geometry().center() : free.center());
    place.moveLeft(std::clamp(place.left(), free.left(),
                              std::max(free.left(), free.right() - size.width() + 1)));
    place.moveTop(std::clamp(place.top(), free.top(),
                             std::max(free.top(), free.bottom() - size.height() + 1)));
    return place;
}

}  // namespace

ProgressForm::ProgressForm(std::shared_ptr<const DropProgress> progress, std::function<void()> stop,
                           const QWidget& placeAt)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      progress_(std::move(progress)),
      stop_(std::move(stop)),
      scaleFactor_(FontScaleFactor(AverageCharWidth(font()))) {
    using namespace ProgressFormTable;
    setWindowTitle(FromUtf8(ProgressTitle()));
    setFixedSize(PixelRect(0, 0, cWindow.clientWidth, cWindow.clientHeight, scaleFactor_).size());
    setGeometry(PlaceOver(placeAt, size()));
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

    // Kept above a main window that shows, also one that stays on top; with the main window out
    // of sight it stands alone, with a task bar entry of its own.
    if (placeAt.isVisible() && placeAt.windowHandle() != nullptr) {
        winId();
        windowHandle()->setTransientParent(placeAt.windowHandle());
    }

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
