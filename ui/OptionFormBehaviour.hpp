// What OptionForm does, apart from how it is drawn: its load and the clicks on its buttons.
#pragma once

#include "CaptionedWindow.hpp"
#include "core/OptionSync.hpp"
#include "platform/MsgBox.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/WindowPlacement.hpp"

namespace quarnel {

// Runs each time the dialog is created: "Quarnel! 2.5 Optionen".
void OptionFormLoad(CaptionedWindow& optionForm);

// The clicks on option buttons, for the whole run: every dialog opened uses the same handler,
// so a store that keeps refusing is reported once, not on every click. A save that works again
// ends the refusal; the next refused one is reported anew.
class OptionClickHandler {
public:
    OptionClickHandler(SettingsStore& store, WindowPlacement& mainWindowPlacement, MsgBox& msgBox)
        : store_(store), mainWindowPlacement_(mainWindowPlacement), msgBox_(msgBox) {}

    // Opt(index) became selected: ApplyOptionClick, and a refused save said once.
    void OnOptClick(int index, const OptionButtons& buttons);

private:
    void ReportRefusal();

    SettingsStore& store_;
    WindowPlacement& mainWindowPlacement_;
    MsgBox& msgBox_;
    bool refusalReported_ = false;
};

}  // namespace quarnel
