// What quarnel.exe itself says, in German, beside the messages of the core and the windows: why
// it could not start.
#pragma once

#include <string>

#include "ui/windows/StartupCalls.hpp"

namespace quarnel {

// MessageBoxW's error icon, MB_ICONERROR.
inline constexpr int cMsgError = 16;

// Names the call that failed, and its error code where the system gave one.
std::string StartupFailureMessage(const StartupFailure& failure);

}  // namespace quarnel
