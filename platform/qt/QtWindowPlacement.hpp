// WindowPlacement on Qt: the stay-on-top hint of one window. On a shown window it is a request to
// the window manager, made on the QWindow so the window is not hidden and shown again. Asked
// before the window is shown, the request waits until the window is on screen: a window manager
// places a window mapped with the hint apart from the others (openbox puts it lower).
#pragma once

#include <memory>

#include "platform/WindowPlacement.hpp"

class QWidget;

namespace quarnel {

class QtWindowPlacement final : public WindowPlacement {
public:
    explicit QtWindowPlacement(QWidget& window);
    ~QtWindowPlacement() override;
    void SetAlwaysOnTop(bool onTop) override;

private:
    class ShowWatcher;

    QWidget& window_;
    // watches the window until its first show; then gone
    std::unique_ptr<ShowWatcher> showWatcher_;
};

}  // namespace quarnel
