// The folders from the dropped one down to the folder listed last, kept open so that each
// subfolder opens relative to its parent: one path step for the kernel, and no limit on the
// length of the whole path. Only the deepest few stay open; a closed one is opened again,
// step by step from the nearest open ancestor, when the walk comes back to it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "FileDescriptor.hpp"

namespace quarnel {

class OpenFolderChain {
public:
    // Opens the folder `dir` (ending in "/"). A dropped folder starts a new chain and may be a
    // link; any other folder is opened without following a link, relative to its nearest
    // ancestor in the chain, or by its full name as the start of a new chain. Returns the
    // descriptor, owned by the chain, or -1 with errno set.
    int Open(const std::string& dir, bool dropped);

private:
    struct Level {
        std::size_t length;  // of the folder's path within deepest_
        FileDescriptor fd;
    };

    int StartChain(const std::string& dir, int flags);
    int OpenBeneath(const std::string& dir);
    int Push(const std::string& dir, FileDescriptor fd);
    void CloseBeyondLimit();

    std::string deepest_;
    std::vector<Level> levels_;
    std::size_t openCount_ = 0;
};

}  // namespace quarnel
