#include "PosixFileSystem.hpp"

#include <sys/stat.h>

namespace quarnel {

std::optional<std::uint32_t> PosixFileSystem::attributes(const std::string& path) {
    struct stat status {};
    // A link counts as what it points to; a dangling link is still a name that exists.
    if (::stat(path.c_str(), &status) != 0 && ::lstat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(status.st_mode) ? cDirectoryAttribute : 0u;
}

}  // namespace quarnel
