// quarnel.exe: the Windows desktop program. Paths given as arguments ("Senden an" passes the
// chosen files so) are one drop, handled without showing the window.
#include <windows.h>

#include "ProgramRun.hpp"
#include "platform/windows/CommandLineName.hpp"
#include "platform/windows/WinMsgBox.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    quarnel::WinMsgBox msgBox;
    return quarnel::RunProgram(quarnel::SystemStartupCalls(), msgBox,
                               quarnel::CommandLineArguments());
}
