// WindowPlacement on Qt: the stay-on-top hint of one window. On a shown window it is a request to
// the window manager, made on the QWindow so the window is not hidden and shown again.
#pragma once

#include "platform/WindowPlacement.hpp"

class QWidget;

namespace quarnel {

class QtWindowPlacement final : public WindowPlacement {
public:
    explicit QtWindowPlacement(QWidget& window) : window_(window) {}
    void SetAlwaysOnTop(bool onTop) override;

private:
    QWidget& window_;
};

}  // namespace quarnel
