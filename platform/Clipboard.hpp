// The system clipboard, as far as the drop handling writes it. Text is UTF-8.
#pragma once

#include <string>

namespace quarnel {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const std::string& text) = 0;
};

}  // namespace quarnel
