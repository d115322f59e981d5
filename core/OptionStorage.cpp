#include "OptionStorage.hpp"

#include "OptionIndex.hpp"
#include "ProgramTitle.hpp"

namespace quarnel {

namespace {

// The bytes of the UTF-8 character at the front of text: its lead byte and the continuation
// bytes the lead announces. A byte that starts no whole character counts as one on its own.
std::size_t CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    }
    return length;
}

}  // namespace

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
