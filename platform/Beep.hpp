// The system beep that closes every handled drop.
#pragma once

namespace quarnel {

class Beep {
public:
    virtual ~Beep() = default;
    virtual void Sound() = 0;
};

}  // namespace quarnel
