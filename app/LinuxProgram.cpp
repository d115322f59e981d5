#include "LinuxProgram.hpp"

#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/ProgramTitle.hpp"
#include "platform/ProgramVersion.hpp"
#include "platform/icu/CollationLocale.hpp"
#include "platform/posix/CommandLineName.hpp"

namespace quarnel {
namespace {

constexpr std::string_view cMsgWaylandRefusesClipboard =
    "Die Wayland-Sitzung lässt die Liste nicht in die Zwischenablage: Sie nimmt Text nur von "
    "einem Fenster an, das den Fokus hat, und bietet Quarnel! 2.5 keinen anderen Weg.\r"
    "Die Zwischenablage bleibt, wie sie war. Starten Sie Quarnel! 2.5 ohne Namen und ziehen Sie "
    "die Dateien und Ordner auf sein Fenster.";

bool OnWayland() { return QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }

// Wayland, or X11 through XWayland in a Wayland session: there a list set on the X clipboard
// without a focused window may never reach Wayland's programs (sway's XWayland keeps it to
// the X ones).
bool InWaylandSession() { return OnWayland() || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

void EndProgram() { QCoreApplication::quit(); }

}  // namespace

LinuxProgram::LinuxProgram(bool namesAtStart)
    : dataControl_(namesAtStart && InWaylandSession() ? DataControlClipboard::Connect() : nullptr),
      textRules_(CollationLocaleFromEnvironment()),
      windowThread_(dataControl_ ? static_cast<Clipboard&>(*dataControl_) : clipboard_, msgBox_,
                    beep_, mainForm_.Image1()),
      dropHandler_({files_, windowThread_, windowThread_, windowThread_, textRules_, windowThread_,
                    &networkLocations_}),
      dropGate_([this](const DropData& data,
                       DropProgress& progress) { dropHandler_.HandleDrop(data, progress); },
                mainForm_, msgBox_),
      buttons_(optionForms_, msgBox_, RunningVersion()) {
    mainForm_.Connect(dropGate_, buttons_);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    mainForm_.WhenClosed([this] { WindowClosed(); });
    MainFormLoad(mainForm_, settings_, placement_);
}

void LinuxProgram::WindowClosed() {
    if (dataControl_) {
        dataControl_->WhenLost(EndProgram);
    } else {
        afterClose_.EndWhenDone();
    }
}

bool LinuxProgram::DropAtStart(const std::vector<std::string>& paths) {
    if (OnWayland() && !dataControl_) {
        // Without a window that has had the keyboard, the compositor ignores Qt's request, and
        // nothing would tell this program so: it would wait for good for a clipboard it never had.
        std::string said(cMsgWaylandRefusesClipboard);
        std::replace(said.begin(), said.end(), '\r', '\n');
        std::fprintf(stderr, "%s\n", said.c_str());
        msgBox_.Show(cMsgWaylandRefusesClipboard, cMsgInformation, ProgramTitle);
        return false;
    }
    const std::string currentFolder = CurrentFolder();
    DropData drop{true, {}};
    for (const std::string& path : paths) {
        drop.names.push_back(DroppedNameOfArgument(path, currentFolder));
    }
    dropGate_.DropAtStart(std::move(drop));
    return true;
}

}  // namespace quarnel
