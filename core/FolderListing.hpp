// One folder's listing as the walk keeps it until it is taken into the results, and the walk
// through one subtree that produces such listings in the walk's order: a folder, then its
// subfolders, the last found first. Names beginning with "." are left out here, once.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.hpp"

namespace quarnel {

struct FolderListing {
    // The folder's own name, or a dropped folder's path, ending in the separator.
    std::string name;
    // The listing that listed this folder, counted from 0 in the order the listings are made
    // (by its subtree, or by whoever hands out listings of several), or -1 when that was the
    // dropped folder.
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

class SubtreeWalk {
public:
    // A folder the walk has yet to list: its name in the folder that listed it, or, without
    // that folder, the dropped folder's path.
    struct Pending {
        std::shared_ptr<FolderHandle> in;
        std::string name;
        std::int32_t parent;  // as in FolderListing
    };

    // The walk beneath the dropped folder `path`.
    explicit SubtreeWalk(std::string path) : pending_{{nullptr, std::move(path), -1}} {}
    // The walk beneath a folder found by another walk, which says whose subfolder it is.
    explicit SubtreeWalk(Pending root) {
        root.parent = -1;
        pending_.push_back(std::move(root));
    }

    bool Done() const { return pending_.empty(); }
    // Lists the next folder of the subtree and queues its subfolders.
    FolderListing ReadNext(FileSystem& files);

    // The same in three steps, so that only the listing itself need run outside a lock: takes
    // the next folder, with the number its listing gets; lists it; queues its subfolders.
    std::pair<Pending, std::int32_t> TakeNext();
    static FolderListing Read(Pending folder, FileSystem& files);
    void Queue(FolderListing& listing, std::int32_t number);

    // Takes out the folder the walk would list last, while one more is left, for a walk of
    // its own: it comes after everything else of this one.
    bool CanGiveLast() const { return pending_.size() >= 2; }
    std::optional<Pending> TakeLast();
    // Takes out the queued subfolders, in the order the walk would take them.
    std::vector<Pending> TakePending();

private:
    std::deque<Pending> pending_;  // the next at the back
    std::int32_t listed_ = 0;
};

}  // namespace quarnel
