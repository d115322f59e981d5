// The clipboard as CF_UNICODETEXT. Another program may hold the clipboard open for a moment:
// opening is retried for about a second, and a clipboard that stays busy is reported in a
// message box, never passed over in silence.
#pragma once

#include <memory>

#include "platform/Clipboard.hpp"
#include "platform/MsgBox.hpp"

namespace quarnel {

extern const std::string_view cMsgClipboardBusy;

class WinClipboard final : public Clipboard {
public:
    explicit WinClipboard(MsgBox& msgBox);
    ~WinClipboard() override;
    WinClipboard(const WinClipboard&) = delete;
    WinClipboard& operator=(const WinClipboard&) = delete;

    // Both open the clipboard on their own; the text replaces whatever it held.
    void clear() override;
    void setText(const std::string& text) override;

private:
    class OwnerWindow;
    std::unique_ptr<OwnerWindow> owner_;
    MsgBox& msgBox_;
};

}  // namespace quarnel
