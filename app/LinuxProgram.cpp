#include "LinuxProgram.hpp"

#include <QGuiApplication>

#include "platform/ProgramVersion.hpp"
#include "platform/icu/CollationLocale.hpp"
#include "platform/posix/CommandLineName.hpp"

namespace quarnel {

LinuxProgram::LinuxProgram()
    : textRules_(CollationLocaleFromEnvironment()),
      dropHandler_({files_, clipboard_, msgBox_, beep_, textRules_, mainForm_.Image1(), yield_}),
      dropGate_([this](const DropData& data) { dropHandler_.HandleDrop(data); }, mainForm_,
                msgBox_),
      buttons_(optionForms_, msgBox_, RunningVersion()) {
    mainForm_.Connect(dropGate_, buttons_);
    QGuiApplication::setQuitOnLastWindowClosed(false);
    mainForm_.WhenClosed([this] { afterClose_.EndWhenDone(); });
    MainFormLoad(mainForm_, settings_, placement_);
}

void LinuxProgram::DropAtStart(const std::vector<std::string>& paths) {
    const std::string currentFolder = CurrentFolder();
    DropData drop{true, {}};
    for (const std::string& path : paths) {
        drop.names.push_back(FullNameOfArgument(path, currentFolder));
    }
    dropGate_.DropAtStart(std::move(drop));
}

}  // namespace quarnel
