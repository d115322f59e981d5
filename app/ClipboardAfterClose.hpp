// What becomes of the list when the main window has closed. On X11 the clipboard's text lives in
// the program that set it, so the program ends only once the text no longer needs it: at once
// when another program owns the clipboard or the text is empty; when a clipboard manager has
// taken the whole text; otherwise, without windows, when another program takes the clipboard.
#pragma once

#include <cstdint>
#include <thread>

#include "platform/qt/QtClipboard.hpp"
#include "platform/xcb/ClipboardManagerHandOver.hpp"

namespace quarnel {

class ClipboardAfterClose {
public:
    // The clipboard outlives this.
    explicit ClipboardAfterClose(QtClipboard& clipboard) : clipboard_(clipboard) {}
    ~ClipboardAfterClose();
    ClipboardAfterClose(const ClipboardAfterClose&) = delete;
    ClipboardAfterClose& operator=(const ClipboardAfterClose&) = delete;

    // Ends the event loop once the text no longer needs the program.
    void EndWhenDone();

private:
    void AfterHandOver(HandOverResult result);
    // Puts the list on the clipboard again, from owner, the window that offered it before.
    void TakeBack(std::uint32_t owner, int triesLeft);

    QtClipboard& clipboard_;
    // asks the clipboard manager while the event loop serves it the text; joined at the end
    std::thread handOver_;
};

}  // namespace quarnel
