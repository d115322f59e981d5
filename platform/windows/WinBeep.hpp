// The beep that ends a drop: the system's default sound.
#pragma once

#include "platform/Beep.hpp"

namespace quarnel {

class WinBeep final : public Beep {
public:
    void Sound() override;
};

}  // namespace quarnel
