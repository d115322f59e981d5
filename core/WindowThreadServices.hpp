// The services a drop uses that belong to the window's thread (the clipboard, message boxes,
// the beep and the drop target's frame), as the drop's own thread calls them: each call runs on
// the window's thread while the drop waits for it. After a stop nothing more is shown or set,
// but the frame still goes.
#pragma once

#include <functional>
#include <string_view>

#include "DropGate.hpp"
#include "DropHandler.hpp"

namespace quarnel {

class WindowThreadServices final : public Clipboard,
                                   public MsgBox,
                                   public Beep,
                                   public DropTargetBorder {
public:
    // Each service outlives this.
    WindowThreadServices(Clipboard& clipboard, MsgBox& msgBox, Beep& beep, DropTargetBorder& border)
        : clipboard_(clipboard), msgBox_(msgBox), beep_(beep), border_(border) {}

    // The text is copied out for the clipboard here: a large one would hold up the window.
    bool SetText(const OutputText& text) override {
        const std::function<bool()> setPrepared = clipboard_.PrepareText(text);
        bool set = false;
        DropGate::CallOnWindowThread([&] { set = setPrepared(); });
        return set;
    }
    void Show(std::string_view prompt, int buttonsAndIcon, std::string_view title) override {
        DropGate::CallOnWindowThread([&] { msgBox_.Show(prompt, buttonsAndIcon, title); });
    }
    void Sound() override {
        DropGate::CallOnWindowThread([this] { beep_.Sound(); });
    }
    void SetBorderStyle(int style) override {
        try {
            DropGate::PostToWindowThread([this, style] { border_.SetBorderStyle(style); });
        } catch (...) {
            // Taken down on the way out of a drop: a frame left standing is the least harm.
        }
    }

private:
    Clipboard& clipboard_;
    MsgBox& msgBox_;
    Beep& beep_;
    DropTargetBorder& border_;
};

}  // namespace quarnel
