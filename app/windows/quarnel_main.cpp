// quarnel.exe: the Windows desktop program.
#include <windows.h>

#include "ProgramRun.hpp"
#include "platform/windows/WinMsgBox.hpp"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    quarnel::WinMsgBox msgBox;
    return quarnel::RunProgram(quarnel::SystemStartupCalls(), msgBox);
}
