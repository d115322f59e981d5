// quarnel-list.exe's arguments: the wide command line as UTF-8 arguments, and a path given there
// made full the way a drop would deliver it.
#pragma once

#include <string>
#include <vector>

namespace quarnel {

std::vector<std::string> CommandLineArguments();

// GetFullPathNameW: relative to the current folder and drive, "." and ".." removed, "/" taken
// as "\"; links are left as they are. A name with the "\\?\" prefix is taken as it stands,
// without the prefix.
std::string FullNameFrom(const std::string& path);

}  // namespace quarnel
