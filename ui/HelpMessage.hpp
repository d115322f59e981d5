// The help message of the main window's second button: what the program is for.
#pragma once

#include <string_view>

#include "platform/MsgBox.hpp"

namespace quarnel {

// Shows the help under the version line, with the question icon and the program's title.
void ShowHelp(MsgBox& msgBox, std::string_view versionLine);

}  // namespace quarnel
