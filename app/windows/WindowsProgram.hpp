// The Windows desktop program wired together: the main window, the platform services, the drop
// handler and its gate, and the buttons' behaviour, each alive for the whole run.
#pragma once

#include <string>
#include <vector>

#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"
#include "core/WindowThreadServices.hpp"
#include "platform/windows/RegistrySettingsStore.hpp"
#include "platform/windows/WinBeep.hpp"
#include "platform/windows/WinClipboard.hpp"
#include "platform/windows/WinFileSystem.hpp"
#include "platform/windows/WinMsgBox.hpp"
#include "platform/windows/WinTextRules.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/windows/MainForm.hpp"
#include "ui/windows/OptionForm.hpp"

namespace quarnel {

class WindowsProgram {
public:
    // Makes the main window and runs its load; the window is not shown yet. Throws
    // StartupFailure when a window or the drop target cannot be made; calls outlives the program.
    explicit WindowsProgram(StartupCalls& calls);
    void Show() { mainForm_.Show(); }
    // The paths, made full as quarnel-list.exe makes them, as one drop without the window.
    void DropAtStart(const std::vector<std::string>& paths);
    // The names given at start were stopped before their list was made.
    bool StoppedAtStart() const { return dropGate_.StoppedAtStart(); }
    NativeWindow MainWindow() const { return mainForm_.Handle(); }

private:
    MainForm mainForm_;
    WinFileSystem files_;
    WinMsgBox msgBox_;
    WinClipboard clipboard_;
    WinBeep beep_;
    WinTextRules textRules_;
    WinWindowPlacement placement_;
    RegistrySettingsStore settings_;
    // What the drop's thread asks of the window, run on the window's thread.
    WindowThreadServices windowThread_;
    DropHandler dropHandler_;
    DropGate dropGate_;
    OptionClickHandler optionClicks_{settings_, placement_, msgBox_};
    OptionFormMaker optionForms_;
    MainFormButtons buttons_;
};

}  // namespace quarnel
