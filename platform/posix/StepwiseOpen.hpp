// Opening a path one name at a time, so that no path is too long for the kernel.
#pragma once

#include <string_view>

#include "FileDescriptor.hpp"

namespace quarnel {

// Opens path from the folder `at` (or from the root for an absolute path), each name relative
// to the one before it, with flags for every step. An invalid descriptor, with errno set, when a
// step fails.
FileDescriptor OpenStepwise(int at, std::string_view path, int flags);

}  // namespace quarnel
