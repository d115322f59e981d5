// A window whose caption its behaviour sets when it loads; both windows are one.
#pragma once

#include <string_view>

namespace quarnel {

class CaptionedWindow {
public:
    virtual ~CaptionedWindow() = default;
    virtual void SetCaption(std::string_view caption) = 0;
};

}  // namespace quarnel
