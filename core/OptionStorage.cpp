#include "OptionStorage.hpp"

#include "NameCheck.hpp"
#include "OptionIndex.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {

OptionFlagArray OptionFlagsFromString(std::string_view optionString) {
    OptionFlagArray flags{};
    for (int i = 0; i < cOptionCount && !optionString.empty(); ++i) {
        const char c = optionString.front();
        flags[i] = (c >= '0' && c <= '9') ? static_cast<std::int16_t>(c - '0') : 0;
        optionString.remove_prefix(CharacterLength(optionString));
    }
    return flags;
}

OptionFlagArray StoredOptionFlags(SettingsStore& store) {
    const auto stored = store.Read(cAppName, ProgramTitle, cOptKey);
    return OptionFlagsFromString(stored ? std::string_view(*stored) : cDefaultOptions);
}

void LoadOptions(SettingsStore& store, WindowPlacement& mainWindowPlacement) {
    OptionFlags = StoredOptionFlags(store);
    if (IsOn(cOptAlwaysOnTop)) mainWindowPlacement.SetAlwaysOnTop(true);
}

bool SaveKvSetting(SettingsStore& store, std::string_view key, std::string_view value) {
    return store.Write(cAppName, ProgramTitle, key, value);
}

}  // namespace quarnel
