#include "OptionFormBehaviour.hpp"

#include <string>

#include "Messages.hpp"
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
                msgBox_.Show(cMsgOptionsNotSaved, cMsgInformation, ProgramTitle);
            }
            break;
    }
}

}  // namespace quarnel
