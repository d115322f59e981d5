// The option flags in the settings store: read once at start-up, written as fourteen
// characters after every click in the options dialog, all under one application name and the
// program's title as section.
#pragma once

#include <string_view>

#include "ProgramState.hpp"
#include "platform/SettingsStore.hpp"
#include "platform/WindowPlacement.hpp"

namespace quarnel {

inline constexpr std::string_view cAppName = "Kelvaro's Tools";
inline constexpr std::string_view cOptKey = "Options";
inline constexpr std::string_view cDefaultOptions = "01010101000110";

// Reads each of the first fourteen characters (UTF-8 characters, not bytes: "ä" is one) as a
// number: a digit gives its value, anything else (or a missing character) gives 0. Longer
// values are cut after the fourteenth.
OptionFlagArray OptionFlagsFromString(std::string_view optionString);

// The stored flags, or the default ones when nothing is stored.
OptionFlagArray StoredOptionFlags(SettingsStore& store);

// Fills OptionFlags from the store (default when the value is missing) and raises the main
// window into the top band when flag 10 is on.
void LoadOptions(SettingsStore& store, WindowPlacement& mainWindowPlacement);

bool SaveKvSetting(SettingsStore& store, std::string_view key, std::string_view value);

}  // namespace quarnel
