// Lists the subtrees below a dropped folder on two threads, while the walk takes the listings
// one by one in its own order on the thread that called it. The second thread takes whole
// subtrees, the next one the walk has not started; the calling thread lists the subtree it
// needs itself, or lists ahead in a later one while it waits. So the order of the results
// never depends on which thread listed a folder.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "FolderListing.hpp"

namespace quarnel {

// Starts a thread running work; throws std::system_error when the system has none to give.
using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

std::thread StartThread(std::function<void()> work);

class ReadAhead {
public:
    // subtreeRoots in the order the walk takes them; without secondFiles, or when no second
    // thread can be started, all listing stays on the calling thread.
    ReadAhead(std::vector<std::string> subtreeRoots, FileSystem& files,
              std::unique_ptr<FileSystem> secondFiles, const ThreadStarter& startThread);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next listing in the walk's order; nullopt when every subtree has been taken.
    std::optional<FolderListing> Next();

private:
    enum class Owner { Nobody, Caller, Second };
    struct Subtree {
        explicit Subtree(std::string root) : walk(std::move(root), false) {}
        SubtreeWalk walk;  // touched only by its owner
        Owner owner = Owner::Nobody;
        std::deque<FolderListing> ready;
        bool finished = false;
    };

    FolderListing ReadFor(Subtree& subtree, FileSystem& files, std::unique_lock<std::mutex>& lock);
    Subtree* ClaimNext(Owner owner);
    void ListOnSecondThread();

    FileSystem& files_;
    std::unique_ptr<FileSystem> secondFiles_;
    std::vector<Subtree> subtrees_;
    std::size_t current_ = 0;
    std::size_t nextUnclaimed_ = 0;
    Subtree* callerAhead_ = nullptr;
    bool stopping_ = false;
    std::exception_ptr secondFailure_;
    std::mutex mutex_;
    std::condition_variable listed_;
    std::thread second_;
};

}  // namespace quarnel
