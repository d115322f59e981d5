#include "QtWindowPlacement.hpp"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace quarnel {
namespace {

void RequestOnTop(QWidget& window, bool onTop) {
    QWindow* handle = window.windowHandle();
    handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
    // keep the widget's own flags in step, so a later show does not undo the request
    window.overrideWindowFlags(handle->flags());
}

}  // namespace

// Runs the request queued behind the show event, which comes before the window is mapped.
class QtWindowPlacement::ShowWatcher final : public QObject {
public:
    ShowWatcher(QWidget& window, bool onTop) : window_(window), onTop_(onTop) {
        window_.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show) {
            window_.removeEventFilter(this);
            QMetaObject::invokeMethod(
                this, [this] { RequestOnTop(window_, onTop_); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget& window_;
    bool onTop_;
};

QtWindowPlacement::QtWindowPlacement(QWidget& window) : window_(window) {}

QtWindowPlacement::~QtWindowPlacement() = default;

void QtWindowPlacement::SetAlwaysOnTop(bool onTop) {
    if (window_.windowHandle() != nullptr && window_.isVisible()) {
        showWatcher_.reset();
        RequestOnTop(window_, onTop);
    } else {
        // a watcher made before, with its queued request if any, goes with the old answer
        showWatcher_ = std::make_unique<ShowWatcher>(window_, onTop);
    }
}

}  // namespace quarnel
