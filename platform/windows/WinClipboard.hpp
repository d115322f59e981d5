// The clipboard as CF_UNICODETEXT. Another program may hold the clipboard open for a moment:
// opening is retried for about a second before the text counts as not set.
#pragma once

#include <memory>

#include "platform/Clipboard.hpp"

namespace quarnel {

class WinClipboard final : public Clipboard {
public:
    WinClipboard();
    ~WinClipboard() override;
    WinClipboard(const WinClipboard&) = delete;
    WinClipboard& operator=(const WinClipboard&) = delete;

    // Empties the clipboard and sets the text under one opening.
    bool SetText(const OutputText& text) override;
    // Converts the text to UTF-16 in global memory where it is called.
    std::function<bool()> PrepareText(const OutputText& text) override;

private:
    class OwnerWindow;
    std::unique_ptr<OwnerWindow> owner_;
};

}  // namespace quarnel
