#include "QtWindowPlacement.hpp"

#include <QWidget>
#include <QWindow>

namespace quarnel {

void QtWindowPlacement::SetAlwaysOnTop(bool onTop) {
    if (QWindow* handle = window_.windowHandle(); handle != nullptr && window_.isVisible()) {
        handle->setFlag(Qt::WindowStaysOnTopHint, onTop);
        // keep the widget's own flags in step, so a later show does not undo the request
        window_.overrideWindowFlags(handle->flags());
    } else {
        window_.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    }
}

}  // namespace quarnel
