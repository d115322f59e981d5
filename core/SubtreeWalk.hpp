// The walk through one subtree, producing its folders' listings in the walk's order: a folder,
// then its subfolders, the last found first. Names beginning with "." are left out here, once.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FolderListing.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

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

    // Takes out the folder the walk would list last, for a walk of its own: it comes after
    // everything else of this one. One is left for whoever walks this one, unless that one is
    // busy listing a folder of it, which will leave it more or send it elsewhere.
    bool CanGiveLast(bool busy) const { return pending_.size() >= (busy ? 1u : 2u); }
    std::optional<Pending> TakeLast(bool busy);
    // Takes out the queued subfolders, in the order the walk would take them.
    std::vector<Pending> TakePending();

private:
    std::deque<Pending> pending_;  // the next at the back
    std::int32_t listed_ = 0;
};

}  // namespace quarnel
