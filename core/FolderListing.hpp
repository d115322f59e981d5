// One folder's listing as the walk keeps it until it is taken into the results, and the walk
// through one subtree that produces such listings in the walk's order: a folder, then its
// subfolders, the last found first. Names beginning with "." are left out here, once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.hpp"

namespace quarnel {

struct FolderListing {
    std::string dir;            // as the file system needs it, ending in the separator
    std::size_t nameBegin = 0;  // of the folder's own name in dir; 0 for a dropped folder
    // The listing of its subtree that listed this folder (counted from 0 in the order the
    // subtree's listings are made), or -1 when that was the dropped folder.
    std::int32_t parent = -1;
    std::size_t subtree = 0;  // set by whoever hands out listings of several subtrees
    bool complete = true;
    std::string names;
    std::vector<std::uint32_t> nameEnds;
    std::vector<EntryKind> kinds;
    std::vector<std::string> unreadable;  // entries the file system would not describe

    std::string_view Name(std::size_t index) const {
        const std::uint32_t begin = index == 0 ? 0 : nameEnds[index - 1];
        return std::string_view(names).substr(begin, nameEnds[index] - begin);
    }
};

class SubtreeWalk {
public:
    SubtreeWalk(std::string root, bool dropped)
        : pending_{{std::move(root), -1}}, dropped_(dropped) {}

    bool Done() const { return pending_.empty(); }
    // Lists the next folder of the subtree and queues its subfolders.
    FolderListing ReadNext(FileSystem& files);

    // Takes out the queued subfolders, in the order the walk would take them.
    std::vector<std::string> TakePending();

private:
    struct Pending {
        std::string dir;
        std::int32_t parent;
    };
    std::vector<Pending> pending_;
    std::int32_t listed_ = 0;
    bool dropped_;
};

}  // namespace quarnel
