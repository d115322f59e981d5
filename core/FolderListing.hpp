// One folder's listing as the walk keeps it until it is taken into the results. Names beginning
// with "." are not in it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.hpp"

namespace quarnel {

struct FolderListing {
    // The folder's own name, or a dropped folder's path, ending in the separator.
    std::string name;
    // The listing that listed this folder, counted from 0 in the order the walk hands the
    // listings out, or -1 for the dropped folder's own.
    std::int32_t parent = -1;
    bool complete = true;
    std::string names;
    std::vector<std::uint32_t> nameEnds;
    std::vector<EntryKind> kinds;
    std::vector<std::string> unreadable;  // entries the file system would not describe
    // Held only until its subfolders are queued, so that a folder without any closes at once.
    std::shared_ptr<FolderHandle> handle;

    std::string_view Name(std::size_t index) const {
        const std::uint32_t begin = index == 0 ? 0 : nameEnds[index - 1];
        return std::string_view(names).substr(begin, nameEnds[index] - begin);
    }
};

}  // namespace quarnel
