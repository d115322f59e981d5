#include "ProgramRun.hpp"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "AppMessages.hpp"
#include "WindowsProgram.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {
namespace {

// OLE for the drop target, for as long as the program runs.
class OleSession {
public:
    explicit OleSession(StartupCalls& calls) {
        const long result = calls.OleInitialize();
        if (FAILED(result)) {
            throw StartupFailure(StartupCall::OleInitialize, static_cast<unsigned long>(result));
        }
    }
    ~OleSession() { OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
};

int RunMessageLoop(HWND mainWindow) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(mainWindow, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int RunProgram(StartupCalls& calls, MsgBox& msgBox, const std::vector<std::string>& paths) {
    try {
        const OleSession ole(calls);
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        WindowsProgram program(calls);
        if (paths.empty()) {
            program.Show();
        } else {
            program.DropAtStart(paths);
        }
        const int status = RunMessageLoop(program.MainWindow());
        return program.StoppedAtStart() ? 1 : status;
    } catch (const StartupFailure& failure) {
        msgBox.Show(StartupFailureMessage(failure), cMsgError, ProgramTitle);
        return cExitStartFailed;
    }
}

}  // namespace quarnel
