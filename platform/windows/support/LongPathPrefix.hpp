// Windows names may come with the "\\?\" prefix that lifts the MAX_PATH limit ("\\?\C:\a",
// "\\?\UNC\server\share\a"), from a command line or a drag source. The prefix is no part of the
// name: the names the program shows and lists are the plain ones, and the file system puts the
// prefix back where it opens a path.
#pragma once

#include <string>
#include <string_view>

namespace quarnel {

// "\\?\C:\a" as "C:\a", "\\?\UNC\server\share\a" as "\\server\share\a"; any other name (one
// without the prefix, a volume name "\\?\Volume{…}\") as it is.
std::string WithoutLongPathPrefix(std::string_view name);

}  // namespace quarnel
