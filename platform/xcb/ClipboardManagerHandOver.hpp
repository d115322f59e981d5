// Hands the text that this program serves on the CLIPBOARD selection to a clipboard manager, by
// the X11 exchange for it (converting CLIPBOARD_MANAGER to SAVE_TARGETS), and checks that the
// manager really serves the whole text afterwards: some refuse large texts, or keep only a part.
// Runs on a connection of its own and blocks for a few seconds at most; the thread that serves
// the clipboard must go on meanwhile, since the manager asks it for the text.
#pragma once

#include <cstddef>

namespace quarnel {

enum class HandOver {
    // a clipboard manager owns the clipboard and serves textBytes bytes
    Taken,
    // no manager, or it refused or did not answer: the clipboard is as the manager found it
    NotTaken,
    // the manager took the clipboard, but serves another text (a part of it, or none)
    Spoiled,
};

HandOver HandClipboardToManager(std::size_t textBytes);

}  // namespace quarnel
