// The Linux desktop program wired together: the main window, the platform services, the drop
// handler and its gate, and the buttons' behaviour, each alive for the whole run. The program
// ends when the list on the clipboard no longer needs it, not when its window closes. Under
// Wayland a program without a focused window cannot set the clipboard through Qt: names given
// at start go through the compositor's data-control protocol (also when Qt runs on XWayland),
// or, where it has none, are refused with a message (on XWayland, X11's way stays).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ClipboardAfterClose.hpp"
#include "core/DropGate.hpp"
#include "core/DropHandler.hpp"
#include "core/WindowThreadServices.hpp"
#include "platform/gio/GioNetworkLocations.hpp"
#include "platform/icu/IcuTextRules.hpp"
#include "platform/posix/IniSettingsStore.hpp"
#include "platform/posix/PosixFileSystem.hpp"
#include "platform/qt/QtBeep.hpp"
#include "platform/qt/QtClipboard.hpp"
#include "platform/qt/QtMsgBox.hpp"
#include "platform/qt/QtWindowPlacement.hpp"
#include "platform/wayland/DataControlClipboard.hpp"
#include "ui/MainFormBehaviour.hpp"
#include "ui/OptionFormBehaviour.hpp"
#include "ui/qt/MainForm.hpp"
#include "ui/qt/OptionForm.hpp"

namespace quarnel {

class LinuxProgram {
public:
    // With namesAtStart, the program runs for DropAtStart, without its window.
    explicit LinuxProgram(bool namesAtStart);
    void Show() { mainForm_.show(); }
    // The paths (or URIs), made full as quarnel-list makes them, as one drop without the window.
    // False when the clipboard cannot be set from here: the user has been told, the program ends.
    bool DropAtStart(const std::vector<std::string>& paths);
    // The names given at start were stopped before their list was made.
    bool StoppedAtStart() const { return dropGate_.StoppedAtStart(); }

private:
    void WindowClosed();

    MainForm mainForm_;
    PosixFileSystem files_;
    GioNetworkLocations networkLocations_;
    QtClipboard clipboard_;
    // A Wayland session with names given at start: the clipboard through data-control, none
    // where the compositor offers no such protocol.
    std::unique_ptr<DataControlClipboard> dataControl_;
    QtMsgBox msgBox_{&mainForm_};
    QtBeep beep_;
    IcuTextRules textRules_;
    QtWindowPlacement placement_{mainForm_};
    IniSettingsStore settings_{IniSettingsStore::DefaultConfigHome()};
    // What the drop's thread asks of the window, run on the window's thread.
    WindowThreadServices windowThread_;
    DropHandler dropHandler_;
    DropGate dropGate_;
    OptionClickHandler optionClicks_{settings_, placement_, msgBox_};
    OptionFormMaker optionForms_{optionClicks_, mainForm_};
    MainFormButtons buttons_;
    ClipboardAfterClose afterClose_{clipboard_};
};

}  // namespace quarnel
