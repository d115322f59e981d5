// The clipboard of a Wayland session set through the compositor's data-control protocol
// (ext-data-control-v1, or wlroots' zwlr_data_control_manager_v1), on a connection of its own.
// Unlike the core protocol, which takes a selection only from the window that has the keyboard,
// data-control lets a program without a window own the clipboard. The text lives in this
// program: it is served while the program runs and owns the clipboard, from the Qt event loop.
#pragma once

#include <functional>
#include <memory>

#include "platform/Clipboard.hpp"

namespace quarnel {

class DataControlClipboard final : public Clipboard {
public:
    // The clipboard of the compositor's first seat; none when the compositor cannot be
    // reached or offers no data-control protocol.
    static std::unique_ptr<DataControlClipboard> Connect();
    ~DataControlClipboard() override;

    bool SetText(const OutputText& text) override;

    // Whether the clipboard still holds the text set last, no other program having taken it.
    bool Owns() const;
    // Calls lost once, when the clipboard no longer belongs to this program (at once when it
    // does not now).
    void WhenLost(std::function<void()> lost);

    class Session;
    explicit DataControlClipboard(std::unique_ptr<Session> session);

private:
    std::unique_ptr<Session> session_;
};

}  // namespace quarnel
