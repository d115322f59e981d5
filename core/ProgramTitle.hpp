// The program's name as every window, message box and the settings store show it.
#pragma once

#include <string_view>

namespace quarnel {

inline constexpr std::string_view ProgramTitle = "Quarnel! 2.5";

}  // namespace quarnel
