#include "ReadAhead.hpp"

#include <algorithm>
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

// How long the walk waits for a listing before it looks at the progress again, and takes what
// is there.
constexpr std::chrono::milliseconds cStopCheck{20};
// The listings the walk waits for at once: on a warm disk, where its subtree is listed faster
// than it takes them, it would otherwise sleep and wake for each.
constexpr std::size_t cWakeBatch = 32;
// A listing that took longer than this, beyond its entries' share, waited for the storage: more
// listers then help. On a warm disk, where every lister only costs the others time on the
// processors, the walk's own subtree is listed alone.
constexpr std::chrono::microseconds cWaitedListing{60};
constexpr std::chrono::nanoseconds cPerEntry{250};
// Listings that did not wait, in a row, before one lister fewer lists ahead.
constexpr int cFastBeforeFewer = 4;

std::size_t BytesOf(const FolderListing& listing) {
    std::size_t bytes = sizeof listing + listing.name.capacity() + listing.names.capacity() +
                        listing.nameEnds.capacity() * sizeof(std::uint32_t) +
                        listing.kinds.capacity() * sizeof(EntryKind);
    for (const std::string& name : listing.unreadable) bytes += sizeof name + name.capacity();
    return bytes;
}

}  // namespace

// Everything here only under mutex, but for what only the walk's thread uses.
struct ReadAhead::Shared {
    // A lister thread, as the others wake it: each only when there is something for it.
    struct Lister {
        std::condition_variable wake;
        bool idle = false;
    };

    struct Subtree {
        Subtree(SubtreeWalk::Pending root, const Subtree* foundIn, std::int32_t foundBy)
            : walk(std::move(root)), foundIn(foundIn), foundBy(foundBy) {}
        bool Finished() const { return walk.Done() && !listing; }

        SubtreeWalk walk;
        Lister* owner = nullptr;
        bool listing = false;  // one of its folders is being listed
        std::deque<FolderListing> ready;
        // Where the root was found: the subtree, nullptr for the dropped folder, and the
        // number of the listing there.
        const Subtree* foundIn;
        std::int32_t foundBy;
        std::int32_t firstHandedOut = -1;  // only on the walk's thread
    };

    explicit Shared(ReadAheadLimits limits) : limits(limits) {}

    // Whether the listers are to end: after a stop, a failure, or once the walk has gone.
    bool Ending() const {
        return ending || failure || (progress != nullptr && progress->Stopped());
    }
    // Whether a folder of subtree may be listed now. The walk's own subtree within the bound,
    // or when the walk waits for it, so that the walk always gets on; any other within the
    // bound, and while listing ahead pays.
    bool MayList(const Subtree& subtree) const {
        if (IsCurrent(subtree)) return subtree.ready.empty() || !Full();
        return !Full() && listingAhead < ahead;
    }
    // Whether an idle lister may take a subtree: the walk's own when nobody has, any other
    // while listing ahead pays.
    bool MayClaim() const {
        return listingAhead < ahead || (current != subtrees.end() && current->owner == nullptr);
    }
    // More listers list ahead after a listing that waited for the storage, fewer after many
    // that did not.
    void Adapt(std::chrono::nanoseconds took, std::size_t entries) {
        if (took > cWaitedListing + cPerEntry * static_cast<std::int64_t>(entries)) {
            fastInARow = 0;
            if (ahead + 1 < limits.threads) {
                ++ahead;
                WakeOneIdle();
            }
        } else if (++fastInARow >= cFastBeforeFewer) {
            fastInARow = 0;
            if (ahead > 0) --ahead;
        }
    }
    bool Full() const { return heldListings >= limits.listings || heldBytes >= limits.bytes; }
    bool IsCurrent(const Subtree& subtree) const {
        return current != subtrees.end() && &subtree == &*current;
    }

    // A subtree for a lister: the next nobody has started, or else the part a started one
    // would come to last, the one nearest the walk first.
    Subtree* Claim(Lister& lister) {
        while (nextUnclaimed != subtrees.end() && nextUnclaimed->owner != nullptr) {
            ++nextUnclaimed;
        }
        if (nextUnclaimed != subtrees.end()) {
            nextUnclaimed->owner = &lister;
            return &*nextUnclaimed++;
        }
        for (auto subtree = current; subtree != subtrees.end(); ++subtree) {
            if (auto last = subtree->walk.TakeLast(subtree->listing)) {
                const std::int32_t foundBy = last->parent;
                const auto part =
                    subtrees.emplace(std::next(subtree), std::move(*last), &*subtree, foundBy);
                part->owner = &lister;
                WakeIdleIfSomethingToTake(*subtree);
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
        const bool isAhead = !IsCurrent(subtree);
        listingAhead += isAhead ? 1 : 0;
        WakeIdleIfSomethingToTake(subtree);
        lock.unlock();
        const auto began = std::chrono::steady_clock::now();
        FolderListing listing = SubtreeWalk::Read(std::move(folder), files);
        const auto took = std::chrono::steady_clock::now() - began;
        lock.lock();
        subtree.listing = false;
        if (isAhead) {
            --listingAhead;
            WakeOneIdle();
        }
        Adapt(took, listing.kinds.size());
        if (Ending()) return;
        subtree.walk.Queue(listing, number);
        heldListings += 1;
        heldBytes += BytesOf(listing);
        subtree.ready.push_back(std::move(listing));
        if (IsCurrent(subtree) &&
            (subtree.ready.size() >= cWakeBatch || subtree.walk.Done() || Full())) {
            forWalk.notify_one();
        }
        WakeIdleIfSomethingToTake(subtree);
    }

    // One at a time: the one woken wakes the next if there is more to take.
    void WakeIdleIfSomethingToTake(const Subtree& subtree) {
        if (listingAhead < ahead && subtree.walk.CanGiveLast(subtree.listing)) WakeOneIdle();
    }

    // Not while one woken has yet to look: it may take what there is.
    void WakeOneIdle() {
        if (idle.empty() || waking > 0) return;
        Wake(*idle.back());
    }
    void WakeAll() {
        while (!idle.empty()) Wake(*idle.back());
    }
    // The lister of the walk's subtree, which may have waited for it to become the walk's, or
    // someone to take it.
    void WakeForCurrent() {
        if (current == subtrees.end()) return;
        if (current->owner == nullptr) {
            WakeOneIdle();
        } else if (current->owner->idle) {
            Wake(*current->owner);
        }
    }
    void Wake(Lister& lister) {
        idle.erase(std::find(idle.begin(), idle.end(), &lister));
        lister.idle = false;
        ++waking;
        lister.wake.notify_one();
    }

    // Takes the ready listings of the walk's subtree, up to a batch at once, so that the walk
    // locks once for many on a fast disk.
    void TakeReady() {
        Subtree& subtree = *current;
        const bool wasFull = Full();
        while (!subtree.ready.empty() && taken.size() < cWakeBatch) {
            heldListings -= 1;
            heldBytes -= BytesOf(subtree.ready.front());
            taken.push_back(std::move(subtree.ready.front()));
            subtree.ready.pop_front();
        }
        takenFrom = &subtree;
        if (wasFull) WakeAll();
    }

    // The next listing taken, its parent numbered among the listings handed out before; without
    // the lock, as only the walk's thread reads and writes the numbers.
    FolderListing HandOutTaken() {
        FolderListing listing = std::move(taken.front());
        taken.pop_front();
        Subtree& subtree = *takenFrom;
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
        Lister& me = listers.emplace_back();
        try {
            Subtree* mine = nullptr;
            while (!Ending()) {
                if (mine != nullptr && mine->walk.Done()) {
                    // Its end may be what the walk waits for.
                    if (IsCurrent(*mine)) forWalk.notify_one();
                    mine = nullptr;
                }
                if (mine == nullptr && MayClaim()) mine = Claim(me);
                if (mine == nullptr || !MayList(*mine)) {
                    me.idle = true;
                    idle.push_back(&me);
                    me.wake.wait(lock, [&] { return !me.idle; });
                    --waking;
                    continue;
                }
                ListNext(*mine, files, lock);
            }
        } catch (...) {
            if (!lock.owns_lock()) lock.lock();
            if (!failure) failure = std::current_exception();
        }
        forWalk.notify_one();
        WakeAll();
    }

    const ReadAheadLimits limits;
    std::mutex mutex;
    std::condition_variable forWalk;
    std::deque<Lister> listers;  // stay where they are
    std::vector<Lister*> idle;
    int waking = 0;               // listers woken that have yet to look
    std::list<Subtree> subtrees;  // in the walk's order; elements stay where they are
    std::list<Subtree>::iterator current;
    std::list<Subtree>::iterator nextUnclaimed;
    std::size_t heldListings = 0;
    std::size_t heldBytes = 0;
    // Only on the walk's thread: the listings it has taken and not yet handed out, and from
    // which subtree, and how many it handed out.
    std::deque<FolderListing> taken;
    Subtree* takenFrom = nullptr;
    std::int32_t handedOut = 0;
    std::size_t ahead = 0;         // listers that may list ahead of the walk's own subtree
    std::size_t listingAhead = 0;  // listings of other subtrees than the walk's, under way
    int fastInARow = 0;
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
        shared_->WakeAll();
    }
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
    progress_.ThrowIfStopped();
    if (!shared.taken.empty()) return shared.HandOutTaken();
    std::unique_lock lock(shared.mutex);
    for (;;) {
        progress_.ThrowIfStopped();
        if (shared.failure) std::rethrow_exception(shared.failure);
        if (shared.current == shared.subtrees.end()) return std::nullopt;
        Shared::Subtree& subtree = *shared.current;
        if (!subtree.ready.empty()) {
            shared.TakeReady();
            lock.unlock();
            return shared.HandOutTaken();
        }
        if (subtree.Finished()) {
            ++shared.current;
            shared.WakeForCurrent();
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
