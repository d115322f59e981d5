// Lists the subtrees below a dropped folder on two threads, while the walk takes the listings
// one by one in its own order on the thread that called it. Each thread walks a subtree of its
// own: the next one nobody has started, or else the folder the other thread's last subtree
// would come to last, taken out of it with everything beneath it. Such a folder comes after all
// the rest of its subtree in the walk, so it becomes a subtree of its own right behind it, and
// the order of the results never depends on which thread listed a folder. The calling thread
// lists the subtree it needs itself, or lists ahead while it waits for the other.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "SubtreeWalk.hpp"
#include "ThreadStart.hpp"

namespace quarnel {

class ReadAhead {
public:
    // subtreeRoots in the order the walk takes them; without secondFiles, or when no second
    // thread can be started, all listing stays on the calling thread.
    ReadAhead(std::vector<SubtreeWalk::Pending> subtreeRoots, FileSystem& files,
              std::unique_ptr<FileSystem> secondFiles, const ThreadStarter& startThread);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next listing in the walk's order, its parent counted among the listings handed out
    // before (-1: the dropped folder); nullopt when every subtree has been taken.
    std::optional<FolderListing> Next();

private:
    enum class Owner { Nobody, Caller, Second };
    struct Subtree {
        Subtree(SubtreeWalk::Pending root, const Subtree* foundIn, std::int32_t foundBy)
            : walk(std::move(root)), foundIn(foundIn), foundBy(foundBy) {}
        bool Finished() const { return walk.Done() && !listing; }

        SubtreeWalk walk;  // its folders are taken only under the lock
        Owner owner = Owner::Nobody;
        bool listing = false;  // its owner is listing one of its folders
        std::deque<FolderListing> ready;
        // Where the root was found: the subtree, nullptr for the dropped folder, and the
        // number of the listing there.
        const Subtree* foundIn;
        std::int32_t foundBy;
        std::int32_t firstHandedOut = -1;
    };

    // Lists the next folder of a subtree owner owns, with the lock released meanwhile; false
    // when it has none left.
    bool ListNext(Subtree& subtree, FileSystem& files, std::unique_lock<std::mutex>& lock);
    Subtree* Claim(Owner owner);
    FolderListing HandOut(Subtree& subtree);
    void ListOnSecondThread();

    FileSystem& files_;
    std::unique_ptr<FileSystem> secondFiles_;
    std::list<Subtree> subtrees_;  // in the walk's order; elements stay where they are
    std::list<Subtree>::iterator current_;
    std::list<Subtree>::iterator nextUnclaimed_;
    Subtree* callerAhead_ = nullptr;
    std::int32_t handedOut_ = 0;
    bool stopping_ = false;
    std::exception_ptr secondFailure_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread second_;
};

}  // namespace quarnel
