// The running program's own version numbers. Each build supplies them in its own way; CMake
// picks the implementation.
#pragma once

namespace quarnel {

struct ProgramVersion {
    int major;
    int minor;
    int revision;
};

ProgramVersion RunningVersion();

}  // namespace quarnel
