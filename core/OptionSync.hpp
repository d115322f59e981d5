// The two routines that keep the options dialog's buttons and the option flags in step: the
// buttons are set from the flags when the dialog opens, and every click rebuilds and saves all
// fourteen flags from the buttons.
#pragma once

#include "ProgramState.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/WindowPlacement.hpp"

namespace quarnel {

// The fourteen option buttons `Opt` of the options dialog, by their index into OptionFlags.
// Selecting a button raises its click, as a click by the user does.
class OptionButtons {
public:
    virtual ~OptionButtons() = default;
    virtual bool IsSelected(int index) const = 0;
    virtual void SetSelected(int index, bool selected) = 0;
};

// Sets the buttons from OptionFlags; the clicks this causes change and save nothing.
void SyncOptionButtons(OptionButtons& buttons);

enum class OptionClickResult { Ignored, Saved, SaveRefused };

// A click on Opt(index): moves the main window for the two placement buttons, rebuilds all
// fourteen flags from the buttons as shown and saves them as fourteen "0"/"1" characters.
OptionClickResult ApplyOptionClick(int index, const OptionButtons& buttons, SettingsStore& store,
                                   WindowPlacement& mainWindowPlacement);

}  // namespace quarnel
