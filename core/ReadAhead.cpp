#include "ReadAhead.hpp"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <iterator>
#include <list>
#include <mutex>
#include <system_error>

namespace quarnel {
namespace {

// How long the walk waits for a listing before it looks at the progress again.
constexpr std::chrono::milliseconds cStopCheck{20};

std::size_t BytesOf(const FolderListing& listing) {
    std::size_t bytes = sizeof listing + listing.name.capacity() + listing.names.capacity() +
                        listing.nameEnds.capacity() * sizeof(std::uint32_t) +
                        listing.kinds.capacity() * sizeof(EntryKind);
    for (const std::string& name : listing.unreadable) bytes += sizeof name + name.capacity();
    return bytes;
}

}  // namespace

// Everything here only under mutex.
struct ReadAhead::Shared {
    struct Subtree {
        Subtree(SubtreeWalk::Pending root, const Subtree* foundIn, std::int32_t foundBy)
            : walk(std::move(root)), foundIn(foundIn), foundBy(foundBy) {}
        bool Finished() const { return walk.Done() && !listing; }

        SubtreeWalk walk;
        bool owned = false;    // by a lister
        bool listing = false;  // one of its folders is being listed
        std::deque<FolderListing> ready;
        // Where the root was found: the subtree, nullptr for the dropped folder, and the
        // number of the listing there.
        const Subtree* foundIn;
        std::int32_t foundBy;
        std::int32_t firstHandedOut = -1;
    };

    explicit Shared(ReadAheadLimits limits) : limits(limits) {}

    // Whether the listers are to end: after a stop, a failure, or once the walk has gone.
    bool Ending() const {
        return ending || failure || (progress != nullptr && progress->Stopped());
    }
    // Whether a folder of subtree may be listed now: within the bound, or when the walk waits
    // for it, so that the walk always gets on.
    bool MayList(const Subtree& subtree) const {
        return (IsCurrent(subtree) && subtree.ready.empty()) ||
               (heldListings < limits.listings && heldBytes < limits.bytes);
    }
    bool IsCurrent(const Subtree& subtree) const {
        return current != subtrees.end() && &subtree == &*current;
    }

    // A subtree for a lister: the next nobody has started, or else the part a started one
    // would come to last, the one nearest the walk first.
    Subtree* Claim() {
        while (nextUnclaimed != subtrees.end() && nextUnclaimed->owned) ++nextUnclaimed;
        if (nextUnclaimed != subtrees.end()) {
            nextUnclaimed->owned = true;
            return &*nextUnclaimed++;
        }
        for (auto subtree = current; subtree != subtrees.end(); ++subtree) {
            if (auto last = subtree->walk.TakeLast(subtree->listing)) {
                const std::int32_t foundBy = last->parent;
                const auto part =
                    subtrees.emplace(std::next(subtree), std::move(*last), &*subtree, foundBy);
                part->owned = true;
                return &*part;
            }
        }
        return nullptr;
    }

    // Lists the next folder of subtree with the lock released meanwhile. A listing that ends
    // after the listers were told to end is dropped.
    void ListNext(Subtree& subtree, FileSystem& files, std::unique_lock<std::mutex>& lock) {
        auto [folder, number] = subtree.walk.TakeNext();
        subtree.listing = true;
        WakeIdleIfSomethingToTake(subtree);
        lock.unlock();
        FolderListing listing = SubtreeWalk::Read(std::move(folder), files);
        lock.lock();
        subtree.listing = false;
        if (Ending()) return;
        subtree.walk.Queue(listing, number);
        heldListings += 1;
        heldBytes += BytesOf(listing);
        subtree.ready.push_back(std::move(listing));
        if (IsCurrent(subtree)) forWalk.notify_one();
        WakeIdleIfSomethingToTake(subtree);
    }

    void WakeIdleIfSomethingToTake(const Subtree& subtree) {
        if (idleListers > 0 && subtree.walk.CanGiveLast(subtree.listing)) {
            forListers.notify_all();
        }
    }

    FolderListing HandOut() {
        Subtree& subtree = *current;
        FolderListing listing = std::move(subtree.ready.front());
        subtree.ready.pop_front();
        const bool wasFull = heldListings >= limits.listings || heldBytes >= limits.bytes;
        heldListings -= 1;
        heldBytes -= BytesOf(listing);
        if (wasFull) forListers.notify_all();
        if (subtree.firstHandedOut < 0) subtree.firstHandedOut = handedOut;
        if (listing.parent >= 0) {
            listing.parent += subtree.firstHandedOut;
        } else if (subtree.foundIn != nullptr) {
            // Handed out before this subtree, as everything of the subtree it was part of.
            listing.parent = subtree.foundIn->firstHandedOut + subtree.foundBy;
        }
        ++handedOut;
        return listing;
    }

    void RunLister(FileSystem& files) {
        std::unique_lock lock(mutex);
        try {
            Subtree* mine = nullptr;
            while (!Ending()) {
                if (mine != nullptr && mine->walk.Done()) {
                    // Its end may be what the walk waits for.
                    if (IsCurrent(*mine)) forWalk.notify_one();
                    mine = nullptr;
                }
                if (mine == nullptr) mine = Claim();
                if (mine == nullptr || !MayList(*mine)) {
                    ++idleListers;
                    forListers.wait(lock);
                    --idleListers;
                    continue;
                }
                ListNext(*mine, files, lock);
            }
        } catch (...) {
            if (!lock.owns_lock()) lock.lock();
            if (!failure) failure = std::current_exception();
        }
        forWalk.notify_one();
        forListers.notify_all();
    }

    const ReadAheadLimits limits;
    std::mutex mutex;
    std::condition_variable forWalk;
    std::condition_variable forListers;
    std::list<Subtree> subtrees;  // in the walk's order; elements stay where they are
    std::list<Subtree>::iterator current;
    std::list<Subtree>::iterator nextUnclaimed;
    std::size_t heldListings = 0;
    std::size_t heldBytes = 0;
    std::int32_t handedOut = 0;
    int idleListers = 0;
    bool ending = false;
    // The walk's, until the walk has gone.
    const DropProgress* progress = nullptr;
    std::exception_ptr failure;
};

ReadAhead::ReadAhead(std::string droppedFolder, FileSystem& files, const DropProgress& progress,
                     const ThreadStarter& startThread, ReadAheadLimits limits)
    : shared_(std::make_shared<Shared>(limits)), files_(files), progress_(progress) {
    Shared& shared = *shared_;
    shared.progress = &progress;
    shared.subtrees.emplace_back(SubtreeWalk::Pending{nullptr, std::move(droppedFolder), -1},
                                 nullptr, -1);
    shared.current = shared.subtrees.begin();
    shared.nextUnclaimed = shared.subtrees.begin();
    while (listers_.size() < limits.threads) {
        std::shared_ptr<FileSystem> listerFiles = files.ForSecondThread();
        if (!listerFiles) break;
        try {
            // The thread holds what it uses, so that it can be left to a listing that hangs.
            listers_.push_back(
                startThread([shared = shared_, listerFiles] { shared->RunLister(*listerFiles); }));
        } catch (const std::system_error&) {
            // No more threads to be had: those started list everything, in the same order.
            break;
        }
    }
}

ReadAhead::~ReadAhead() {
    bool stopped = false;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->ending = true;
        shared_->progress = nullptr;
        stopped = progress_.Stopped();
    }
    shared_->forListers.notify_all();
    // After a stop a lister may hang in the kernel for good: it is left to end on its own.
    for (std::thread& lister : listers_) {
        if (stopped) {
            lister.detach();
        } else {
            lister.join();
        }
    }
}

std::optional<FolderListing> ReadAhead::Next() {
    Shared& shared = *shared_;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        progress_.ThrowIfStopped();
        if (shared.failure) std::rethrow_exception(shared.failure);
        if (shared.current == shared.subtrees.end()) return std::nullopt;
        Shared::Subtree& subtree = *shared.current;
        if (!subtree.ready.empty()) return shared.HandOut();
        if (subtree.Finished()) {
            ++shared.current;
            shared.forListers.notify_all();
            continue;
        }
        if (listers_.empty()) {
            shared.ListNext(subtree, files_, lock);
        } else {
            shared.forWalk.wait_for(lock, cStopCheck);
        }
    }
}

}  // namespace quarnel
