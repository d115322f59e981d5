#include "StepwiseOpen.hpp"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace quarnel {

FileDescriptor OpenStepwise(int at, std::string_view path, int flags) {
    FileDescriptor current;
    if (!path.empty() && path.front() == '/') {
        current = FileDescriptor(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!current.Valid()) return current;
        at = current.Get();
    }
    while (!path.empty()) {
        const std::size_t slash = std::min(path.find('/'), path.size());
        const std::string name(path.substr(0, slash));
        path.remove_prefix(std::min(slash + 1, path.size()));
        if (name.empty()) continue;
        FileDescriptor next(::openat(at, name.c_str(), flags));
        if (!next.Valid()) {
            const int error = errno;
            current.Reset();
            errno = error;
            return next;
        }
        current = std::move(next);
        at = current.Get();
    }
    return current;
}

}  // namespace quarnel
