#include "LinuxProgram.hpp"

#include "platform/icu/CollationLocale.hpp"

namespace quarnel {

LinuxProgram::LinuxProgram()
    : textRules_(CollationLocaleFromEnvironment()),
      dropHandler_({files_, clipboard_, msgBox_, beep_, textRules_, mainForm_.Image1(), yield_}) {
    mainForm_.Image1().SetDropAction(
        [this](const DropData& data) { dropHandler_.HandleDrop(data); });
    mainForm_.SetButtonServices(msgBox_, optionClicks_);
    MainFormLoad(mainForm_, settings_, placement_);
}

}  // namespace quarnel
