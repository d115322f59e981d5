// The Linux desktop program wired together: the main window, the platform services, the drop
// handler and its gate, and the buttons' behaviour, each alive for the whole run. The program
// ends when the list on the clipboard no longer needs it, not when its window closes.
#pragma once

#include <string>
#include <vector>

#include "ClipboardAfterClose.hpp"
#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/IniSettingsStore.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/qt/QtBeep.hpp"
#include "platform/qt/QtClipboard.hpp"
#include "platform/qt/QtMsgBox.hpp"
#include "platform/qt/QtWindowPlacement.hpp"
#include "platform/qt/QtYield.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/qt/MainForm.hpp"
#include "ui/qt/OptionForm.hpp"

namespace quarnel {

class LinuxProgram {
public:
    LinuxProgram();
    void Show() { mainForm_.show(); }
    // The paths, made full as quarnel-list makes them, as one drop without the window.
    void DropAtStart(const std::vector<std::string>& paths);

private:
    MainForm mainForm_;
    PosixFileSystem files_;
    QtClipboard clipboard_;
    QtMsgBox msgBox_{&mainForm_};
    QtBeep beep_;
    IcuTextRules textRules_;
    QtWindowPlacement placement_{mainForm_};
    QtYield yield_;
    IniSettingsStore settings_{IniSettingsStore::DefaultConfigHome()};
    DropHandler dropHandler_;
    DropGate dropGate_;
    OptionClickHandler optionClicks_{settings_, placement_, msgBox_};
    OptionFormMaker optionForms_{optionClicks_, mainForm_};
    MainFormButtons buttons_;
    ClipboardAfterClose afterClose_{clipboard_};
};

}  // namespace quarnel
