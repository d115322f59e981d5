#include "OptionFormBehaviour.hpp"

#include <string>

#include "Messages.hpp"
#include "core/OptionStorage.hpp"
#include "core/ProgramTitle.hpp"

namespace quarnel {

void OptionFormLoad(CaptionedWindow& optionForm) {
    optionForm.SetCaption(std::string(ProgramTitle) + " Optionen");
}

void OptionClickHandler::OnOptClick(int index, const OptionButtons& buttons) {
    switch (ApplyOptionClick(index, buttons, store_, mainWindowPlacement_)) {
        case OptionClickResult::Ignored:
            break;
        case OptionClickResult::Saved:
            refusalReported_ = false;
            break;
        case OptionClickResult::SaveRefused:
            if (!refusalReported_) {
                refusalReported_ = true;
                ReportRefusal();
            }
            break;
    }
}

void OptionClickHandler::ReportRefusal() {
    const SettingsPlace place = store_.Place(cAppName, ProgramTitle);
    const bool stored = place.readable && store_.Read(cAppName, ProgramTitle, cOptKey).has_value();
    msgBox_.Show(OptionsNotSavedMessage(place, stored), cMsgInformation, ProgramTitle);
}

}  // namespace quarnel
