// The info message of the main window's third button, with the version and the maker's notes.
#pragma once

#include <string_view>

#include "platform/MsgBox.hpp"

namespace quarnel {

// Shows line (the version line) and the maker's notes, with the information icon, under title.
void ShowInfoBox(MsgBox& msgBox, std::string_view title, std::string_view line);

}  // namespace quarnel
