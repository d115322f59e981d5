#include "WindowsProgram.hpp"

namespace quarnel {

WindowsProgram::WindowsProgram()
    : dropHandler_({files_, clipboard_, msgBox_, beep_, textRules_, mainForm_.Image1(), yield_}) {
    msgBox_.SetOwner(mainForm_.Handle());
    placement_.SetWindow(mainForm_.Handle());
    mainForm_.Image1().SetDropAction(
        [this](const DropData& data) { dropHandler_.HandleDrop(data); });
    mainForm_.SetButtonServices(msgBox_, optionClicks_);
    MainFormLoad(mainForm_, settings_, placement_);
}

}  // namespace quarnel
