// The version numbers compiled in from the CMake project version.
#include "QuarnelVersion.hpp"
#include "platform/ProgramVersion.hpp"

namespace quarnel {

ProgramVersion RunningVersion() { return {cVersionMajor, cVersionMinor, cVersionRevision}; }

}  // namespace quarnel
