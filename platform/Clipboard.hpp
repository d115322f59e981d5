// The system clipboard, as far as the drop handling writes it. Text is UTF-8.
#pragma once

#include "OutputText.hpp"

namespace quarnel {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard and puts the text on it, in one step; false when the clipboard
    // could not be set (another program holds it, or the system refused the text).
    virtual bool SetText(const OutputText& text) = 0;
};

}  // namespace quarnel
