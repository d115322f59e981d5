// The Windows desktop program wired together: the main window, the platform services and the
// drop handler, each alive for the whole run.
#pragma once

#include "core/DropHandler.hpp"
#include "platform/windows/RegistrySettingsStore.hpp"
#include "platform/windows/WinBeep.hpp"
#include "platform/windows/WinClipboard.hpp"
#include "platform/windows/WinFileSystem.hpp"
#include "platform/windows/WinMsgBox.hpp"
#include "platform/windows/WinTextRules.hpp"
#include "platform/windows/WinWindowPlacement.hpp"
#include "platform/windows/WinYield.hpp"
#include "ui/windows/MainForm.hpp"

namespace quarnel {

class WindowsProgram {
public:
    // Makes the main window and runs its load; the window is not shown yet.
    WindowsProgram();
    void Show() { mainForm_.Show(); }
    NativeWindow MainWindow() const { return mainForm_.Handle(); }

private:
    MainForm mainForm_;
    WinFileSystem files_;
    WinMsgBox msgBox_;
    WinClipboard clipboard_{msgBox_};
    WinBeep beep_;
    WinTextRules textRules_;
    WinWindowPlacement placement_;
    WinYield yield_;
    RegistrySettingsStore settings_;
    DropHandler dropHandler_;
    OptionClicks optionClicks_{settings_, placement_};
};

}  // namespace quarnel
