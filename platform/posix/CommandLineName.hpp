// Turns a path typed on the command line into the full name a drop would deliver: absolute,
// without "." steps, doubled or trailing slashes. ".." steps back one name, as the shell's cd
// does, and links are left as they are.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

// The current folder as the shell names it ($PWD, when that is this folder), else the real one.
std::string CurrentFolder();

std::string FullNameFrom(std::string_view path, std::string_view currentFolder);

}  // namespace quarnel
