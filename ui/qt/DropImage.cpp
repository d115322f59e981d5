#include "DropImage.hpp"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "platform/posix/UriList.hpp"

namespace quarnel {
namespace {

const QString cUriListFormat = QStringLiteral("text/uri-list");

// Every drop is taken as a copy, so the source never moves or deletes what was dragged.
template <typename Event>
void AcceptUnlessBusy(Event* event, bool busy) {
    if (busy) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

DropData DropDataFrom(const QMimeData& mimeData) {
    if (!mimeData.hasFormat(cUriListFormat)) return DropData{};
    return DropDataFromUriList(mimeData.data(cUriListFormat).toStdString());
}

}  // namespace

DropImage::DropImage(QWidget* parent) : QLabel(parent) {
    setAcceptDrops(true);
    setAlignment(Qt::AlignCenter);
    SetBorderStyle(0);
}

void DropImage::SetBorderStyle(int style) {
    setFrameStyle(style != 0 ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    setLineWidth(1);
    repaint();
}

void DropImage::dragEnterEvent(QDragEnterEvent* event) { AcceptUnlessBusy(event, handlingDrop_); }

void DropImage::dragMoveEvent(QDragMoveEvent* event) { AcceptUnlessBusy(event, handlingDrop_); }

void DropImage::dropEvent(QDropEvent* event) {
    if (handlingDrop_) {
        event->ignore();
        return;
    }
    DropData data = DropDataFrom(*event->mimeData());
    event->setDropAction(Qt::CopyAction);
    event->accept();

    handlingDrop_ = true;
    QMetaObject::invokeMethod(
        this, [this, data = std::move(data)] { RunDrop(data); }, Qt::QueuedConnection);
}

void DropImage::RunDrop(const DropData& data) {
    // A walk through a large tree takes a while; the window says so until the drop is done.
    struct BusyWhileHandling {
        bool& handling;
        QWidget& window;
        explicit BusyWhileHandling(bool& flag, QWidget& w) : handling(flag), window(w) {
            window.setCursor(Qt::WaitCursor);
        }
        ~BusyWhileHandling() {
            window.unsetCursor();
            handling = false;
        }
    } busy(handlingDrop_, *window());
    if (dropAction_) dropAction_(data);
}

}  // namespace quarnel
