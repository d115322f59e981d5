// What OptionForm does, apart from how it is drawn: its load and the clicks on its buttons.
#pragma once

#include <string_view>

#include "core/Module1.hpp"
#include "platform/AAJ.hpp"
#include "platform/MsgBox.hpp"
#include "platform/SettingsStore.hpp"

namespace quarnel {

inline constexpr std::string_view cMsgOptionsNotSaved =
    "Die Optionen konnten nicht gespeichert werden.\r\r"
    "Die gewählte Einstellung gilt trotzdem, bis Quarnel! beendet wird. Beim nächsten Start "
    "gelten wieder die zuletzt gespeicherten Optionen.";

class OptionFormView {
public:
    virtual ~OptionFormView() = default;
    virtual void SetCaption(std::string_view caption) = 0;
};

// Runs each time the dialog is created: "Quarnel! 2.5 Optionen".
void OptionFormLoad(OptionFormView& view);

// The clicks on option buttons, for the whole run: every dialog opened uses the same one, so a
// store that keeps refusing is reported once, not on every click. A save that works again ends
// the refusal; the next refused one is reported anew.
class OptionClicks {
public:
    OptionClicks(SettingsStore& store, AAJ& mainWindowPlacement)
        : store_(store), mainWindowPlacement_(mainWindowPlacement) {}

    // ApplyOptionClick for Opt(index); a refused save is told through msgBox.
    void OptClick(int index, const OptionButtons& buttons, MsgBox& msgBox);

private:
    SettingsStore& store_;
    AAJ& mainWindowPlacement_;
    bool refusalReported_ = false;
};

}  // namespace quarnel
