// The system clipboard, as far as the drop handling writes it. Text is UTF-8.
#pragma once

#include <functional>

#include "OutputText.hpp"

namespace quarnel {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard and puts the text on it, in one step; false when the clipboard
    // could not be set (another program holds it, or the system refused the text).
    virtual bool SetText(const OutputText& text) = 0;
    // SetText in two steps, for a text made away from the window's thread: what takes its time
    // with a large text (copying it out, converting it) runs here, on any thread; the function
    // returned sets the clipboard, on the window's thread, while text still lives.
    virtual std::function<bool()> PrepareText(const OutputText& text) {
        return [this, &text] { return SetText(text); };
    }
};

}  // namespace quarnel
