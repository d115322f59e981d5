// The one-line-per-setting text of the settings file, read and written as a person would edit
// it: a value is whatever stands after "=", blanks around it trimmed, with no quoting, escaping
// or list parsing. Every other line is kept as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

std::optional<std::string> IniValue(std::string_view fileText, std::string_view section,
                                    std::string_view key);

// fileText with key's line in section set to "key=value", added where it is missing.
std::string WithIniValue(std::string_view fileText, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace quarnel
