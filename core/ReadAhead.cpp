#include "ReadAhead.hpp"

#include <system_error>

namespace quarnel {

std::thread StartThread(std::function<void()> work) { return std::thread(std::move(work)); }

ReadAhead::ReadAhead(std::vector<std::string> subtreeRoots, FileSystem& files,
                     std::unique_ptr<FileSystem> secondFiles, const ThreadStarter& startThread)
    : files_(files), secondFiles_(std::move(secondFiles)) {
    subtrees_.reserve(subtreeRoots.size());
    for (std::string& root : subtreeRoots) subtrees_.emplace_back(std::move(root));
    if (!secondFiles_ || subtrees_.size() < 2) return;
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
    if (second_.joinable()) second_.join();
}

ReadAhead::Subtree* ReadAhead::ClaimNext(Owner owner) {
    if (nextUnclaimed_ == subtrees_.size()) return nullptr;
    Subtree& subtree = subtrees_[nextUnclaimed_++];
    subtree.owner = owner;
    return &subtree;
}

// Lists one folder of a subtree the caller owns, with the lock released meanwhile.
FolderListing ReadAhead::ReadFor(Subtree& subtree, FileSystem& files,
                                 std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    FolderListing listing = subtree.walk.ReadNext(files);
    const bool done = subtree.walk.Done();
    lock.lock();
    subtree.finished = done;
    return listing;
}

std::optional<FolderListing> ReadAhead::Next() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (secondFailure_) std::rethrow_exception(secondFailure_);
        if (current_ == subtrees_.size()) return std::nullopt;
        Subtree& subtree = subtrees_[current_];
        if (!subtree.ready.empty()) {
            FolderListing listing = std::move(subtree.ready.front());
            subtree.ready.pop_front();
            listing.subtree = current_;
            return listing;
        }
        if (subtree.finished) {
            ++current_;
            continue;
        }
        if (subtree.owner == Owner::Nobody) ClaimNext(Owner::Caller);
        if (subtree.owner == Owner::Caller) {
            FolderListing listing = ReadFor(subtree, files_, lock);
            listing.subtree = current_;
            return listing;
        }

        // The second thread is on this subtree: list ahead in a later one meanwhile.
        if (callerAhead_ == nullptr || callerAhead_->finished)
            callerAhead_ = ClaimNext(Owner::Caller);
        if (callerAhead_ != nullptr) {
            Subtree& ahead = *callerAhead_;
            FolderListing listing = ReadFor(ahead, files_, lock);
            ahead.ready.push_back(std::move(listing));
            continue;
        }
        listed_.wait(lock,
                     [&] { return !subtree.ready.empty() || subtree.finished || secondFailure_; });
    }
}

void ReadAhead::ListOnSecondThread() {
    try {
        std::unique_lock lock(mutex_);
        while (Subtree* subtree = stopping_ ? nullptr : ClaimNext(Owner::Second)) {
            while (!subtree->finished && !stopping_) {
                FolderListing listing = ReadFor(*subtree, *secondFiles_, lock);
                subtree->ready.push_back(std::move(listing));
                listed_.notify_one();
            }
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        secondFailure_ = std::current_exception();
        listed_.notify_one();
    }
}

}  // namespace quarnel
