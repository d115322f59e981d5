// The clipboard (the CLIPBOARD selection on X11). On X11 the text lives in this program: it is
// served to others only while the program runs and owns the clipboard.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "platform/Clipboard.hpp"

namespace quarnel {

class QtClipboard final : public Clipboard {
public:
    QtClipboard();
    ~QtClipboard() override;

    bool SetText(const OutputText& text) override;
    std::function<bool()> PrepareText(const OutputText& text) override;

    // Whether the clipboard still holds the text set last, no other program having taken it.
    bool Owns() const;
    // The UTF-8 size of the text set last.
    std::size_t TextBytes() const;
    // Puts the text set last on the clipboard again.
    void SetTextAgain();
    // Gives the clipboard up, empty, when this program still owns it.
    void Release();
    // Calls lost once, when the clipboard no longer belongs to this program (at once when it
    // does not now).
    void WhenLost(std::function<void()> lost);

private:
    class LastText;
    std::unique_ptr<LastText> last_;
};

}  // namespace quarnel
