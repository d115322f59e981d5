#include "WindowsProgram.hpp"

#include "platform/ProgramVersion.hpp"
#include "platform/windows/CommandLineName.hpp"

namespace quarnel {

WindowsProgram::WindowsProgram(StartupCalls& calls)
    : mainForm_(calls),
      windowThread_(clipboard_, msgBox_, beep_, mainForm_.Image1()),
      dropHandler_(
          {files_, windowThread_, windowThread_, windowThread_, textRules_, windowThread_}),
      dropGate_([this](const DropData& data,
                       DropProgress& progress) { dropHandler_.HandleDrop(data, progress); },
                mainForm_, msgBox_),
      optionForms_(optionClicks_, mainForm_.Handle()),
      buttons_(optionForms_, msgBox_, RunningVersion()) {
    msgBox_.SetOwner(mainForm_.Handle());
    placement_.SetWindow(mainForm_.Handle());
    mainForm_.Connect(dropGate_, buttons_);
    MainFormLoad(mainForm_, settings_, placement_);
}

void WindowsProgram::DropAtStart(const std::vector<std::string>& paths) {
    DropData drop{true, {}};
    for (const std::string& path : paths) drop.names.push_back(FullNameFrom(path));
    dropGate_.DropAtStart(std::move(drop));
}

}  // namespace quarnel
