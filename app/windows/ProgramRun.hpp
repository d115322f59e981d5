// quarnel.exe from start to end: OLE, the windows, the message loop. A start that fails ends
// in one message box that names what failed, and a non-zero exit status, never in a window that
// takes no drops.
#pragma once

#include <string>
#include <vector>

#include "platform/MsgBox.hpp"
#include "ui/windows/StartupCalls.hpp"

namespace quarnel {

inline constexpr int cExitStartFailed = 1;

// Runs until the main window is closed and returns the exit status; the message box of a failed
// start has no owner. Paths given are one drop, handled without showing the window; the
// program ends when it is done, the list on the clipboard.
int RunProgram(StartupCalls& calls, MsgBox& msgBox, const std::vector<std::string>& paths);

}  // namespace quarnel
