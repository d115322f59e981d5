// The system beep (the X server's bell on X11).
#pragma once

#include "platform/Beep.hpp"

namespace quarnel {

class QtBeep final : public Beep {
public:
    void Sound() override;
};

}  // namespace quarnel
