#include "DropImage.hpp"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "platform/posix/support/UriList.hpp"

namespace quarnel {
namespace {

const QString cUriListFormat = QStringLiteral("text/uri-list");

// Every drop is taken as a copy, so the source never moves or deletes what was dragged.
template <typename Event>
void Answer(Event* event, bool accepted) {
    if (!accepted) {
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

void DropImage::dragEnterEvent(QDragEnterEvent* event) { Answer(event, AcceptsDrops()); }

void DropImage::dragMoveEvent(QDragMoveEvent* event) { Answer(event, AcceptsDrops()); }

void DropImage::dropEvent(QDropEvent* event) {
    const QMimeData* mimeData = event->mimeData();
    Answer(event,
           AcceptsDrops() && gate_->TakeDrop([mimeData] { return DropDataFrom(*mimeData); }));
}

}  // namespace quarnel
