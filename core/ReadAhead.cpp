#include "ReadAhead.hpp"

#include <iterator>
#include <system_error>

namespace quarnel {

ReadAhead::ReadAhead(std::vector<SubtreeWalk::Pending> subtreeRoots, FileSystem& files,
                     std::unique_ptr<FileSystem> secondFiles, const ThreadStarter& startThread)
    : files_(files), secondFiles_(std::move(secondFiles)) {
    for (SubtreeWalk::Pending& root : subtreeRoots) {
        subtrees_.emplace_back(std::move(root), nullptr, -1);
    }
    current_ = subtrees_.begin();
    nextUnclaimed_ = subtrees_.begin();
    if (!secondFiles_ || subtrees_.empty()) return;
    // The walk needs the first subtree at once: the second thread starts on the next.
    subtrees_.front().owner = Owner::Caller;
    try {
        second_ = startThread([this] { ListOnSecondThread(); });
    } catch (const std::system_error&) {
        // No thread to be had: the calling thread lists everything, in the same order.
        secondFiles_.reset();
    }
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (second_.joinable()) second_.join();
}

ReadAhead::Subtree* ReadAhead::Claim(Owner owner) {
    while (nextUnclaimed_ != subtrees_.end() && nextUnclaimed_->owner != Owner::Nobody) {
        ++nextUnclaimed_;
    }
    if (nextUnclaimed_ != subtrees_.end()) {
        nextUnclaimed_->owner = owner;
        return &*nextUnclaimed_++;
    }
    // Every subtree is taken: a part of the last one the other thread walks.
    for (auto subtree = subtrees_.end(); subtree != current_;) {
        --subtree;
        if (subtree->owner == owner) continue;
        if (auto last = subtree->walk.TakeLast()) {
            const std::int32_t foundBy = last->parent;
            const auto part =
                subtrees_.emplace(std::next(subtree), std::move(*last), &*subtree, foundBy);
            part->owner = owner;
            return &*part;
        }
    }
    return nullptr;
}

bool ReadAhead::ListNext(Subtree& subtree, FileSystem& files, std::unique_lock<std::mutex>& lock) {
    if (subtree.walk.Done()) return false;
    auto [folder, number] = subtree.walk.TakeNext();
    subtree.listing = true;
    lock.unlock();
    FolderListing listing = SubtreeWalk::Read(std::move(folder), files);
    lock.lock();
    subtree.walk.Queue(listing, number);
    subtree.listing = false;
    subtree.ready.push_back(std::move(listing));
    // The calling thread waits for the second thread's listings; the second thread, idle, for
    // a folder it can take.
    if (subtree.owner == Owner::Second || subtree.walk.CanGiveLast()) changed_.notify_all();
    return true;
}

FolderListing ReadAhead::HandOut(Subtree& subtree) {
    FolderListing listing = std::move(subtree.ready.front());
    subtree.ready.pop_front();
    if (subtree.firstHandedOut < 0) subtree.firstHandedOut = handedOut_;
    if (listing.parent >= 0) {
        listing.parent += subtree.firstHandedOut;
    } else if (subtree.foundIn != nullptr) {
        // Handed out before this subtree, as everything of the subtree it was part of.
        listing.parent = subtree.foundIn->firstHandedOut + subtree.foundBy;
    }
    ++handedOut_;
    return listing;
}

std::optional<FolderListing> ReadAhead::Next() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (secondFailure_) std::rethrow_exception(secondFailure_);
        if (current_ == subtrees_.end()) return std::nullopt;
        Subtree& subtree = *current_;
        if (!subtree.ready.empty()) return HandOut(subtree);
        if (subtree.Finished()) {
            ++current_;
            continue;
        }
        if (subtree.owner == Owner::Nobody) Claim(Owner::Caller);
        if (subtree.owner == Owner::Caller) {
            ListNext(subtree, files_, lock);
            continue;
        }

        // The second thread is on this subtree: list ahead meanwhile.
        if (callerAhead_ == nullptr || callerAhead_->Finished()) {
            callerAhead_ = Claim(Owner::Caller);
        }
        if (callerAhead_ != nullptr && ListNext(*callerAhead_, files_, lock)) continue;
        changed_.wait(
            lock, [&] { return !subtree.ready.empty() || subtree.Finished() || secondFailure_; });
    }
}

void ReadAhead::ListOnSecondThread() {
    try {
        std::unique_lock lock(mutex_);
        while (!stopping_ && current_ != subtrees_.end()) {
            Subtree* subtree = Claim(Owner::Second);
            if (subtree == nullptr) {
                // Nothing to take now; the caller's next listing may leave something.
                changed_.wait(lock);
                continue;
            }
            while (!stopping_ && ListNext(*subtree, *secondFiles_, lock)) {
            }
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        secondFailure_ = std::current_exception();
        changed_.notify_all();
    }
}

}  // namespace quarnel
