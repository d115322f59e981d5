// Hands the text that this program serves on the CLIPBOARD selection to a clipboard manager, by
// the X11 exchange for it (converting CLIPBOARD_MANAGER to SAVE_TARGETS), and checks that the
// manager really serves the whole text afterwards: some refuse large texts, or keep only a part.
// Runs on a connection of its own and blocks for a few seconds at most; the thread that serves
// the clipboard must go on meanwhile, since the manager asks it for the text.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quarnel {

enum class HandOver {
    // a clipboard manager owns the clipboard and serves textBytes bytes
    Taken,
    // no manager, or it refused or did not answer: the clipboard is as the manager found it
    NotTaken,
    // the manager took the clipboard, but serves another text (a part of it, or none)
    Spoiled,
};

struct HandOverResult {
    HandOver outcome;
    // the window that owned the clipboard before the hand-over: this program's
    std::uint32_t formerOwner;
};

HandOverResult HandClipboardToManager(std::size_t textBytes);

// The clipboard's owner now.
std::uint32_t ClipboardOwner();

// Changes a property of window, so that its client hears of the server's present time. A
// toolkit claims the clipboard with the time of the last event it saw; older than the
// manager's claim, it is ignored by the server.
void TellWindowTheTime(std::uint32_t window);

}  // namespace quarnel
