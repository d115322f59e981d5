#include "OptionSync.hpp"

#include <string>

#include "OptionIndex.hpp"
#include "OptionStorage.hpp"

namespace quarnel {

void SyncOptionButtons(OptionButtons& buttons) {
    InOptionSync = -1;
    for (int i = 0; i < cOptionCount; ++i) buttons.SetSelected(i, IsOn(i));
    InOptionSync = 0;
}

OptionClickResult ApplyOptionClick(int index, const OptionButtons& buttons, SettingsStore& store,
                                   WindowPlacement& mainWindowPlacement) {
    if (InOptionSync != 0) return OptionClickResult::Ignored;

    if (index == cOptAlwaysOnTop) mainWindowPlacement.SetAlwaysOnTop(true);
    if (index == cOptNormalPlacement) mainWindowPlacement.SetAlwaysOnTop(false);

    std::string optionString;
    optionString.reserve(cOptionCount);
    for (int i = 0; i < cOptionCount; ++i) {
        const std::int16_t selected = buttons.IsSelected(i) ? 1 : 0;
        optionString.push_back(static_cast<char>('0' + selected));
        OptionFlags[i] = selected;
    }
    return SaveKvSetting(store, cOptKey, optionString) ? OptionClickResult::Saved
                                                       : OptionClickResult::SaveRefused;
}

}  // namespace quarnel
