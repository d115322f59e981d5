// Module1: the state the whole program shares for its lifetime, and the two routines that keep
// the options dialog and the option flags in step. The flags are 16-bit and any non-zero value
// counts as on, because a hand-edited stored value may hold digits 2 to 9.
#pragma once

#include <array>
#include <cstdint>

#include "platform/AAJ.hpp"
#include "platform/SettingsStore.hpp"

namespace quarnel {

inline constexpr int cOptionCount = 14;

using OptionFlagArray = std::array<std::int16_t, cOptionCount>;

extern OptionFlagArray OptionFlags;
extern std::int16_t ActiveList;
extern std::int16_t InOptionSync;

inline bool IsOn(int optionIndex) { return OptionFlags[optionIndex] != 0; }

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
                                   AAJ& mainWindowPlacement);

}  // namespace quarnel
