#include "ReadAhead.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <iterator>
#include <mutex>
#include <system_error>
#include <thread>

namespace quarnel {
namespace {

// How long the walk waits for a listing before it looks at the progress again.
constexpr std::chrono::milliseconds cStopCheck{20};
// Listers to begin with: on a warm disk more would only cost each other time on the processors.
constexpr std::size_t cFirstListers = 2;
// A wait for the next listing this long, where the storage kept the listers waiting (a share, a
// cold disk), has twice as many list at once, up to the limit.
constexpr std::chrono::microseconds cSlowWait{300};
// The storage waits since the listers last grew that say the storage is slow, not that a few
// blocks of a warm disk had been let go from memory: 128 KiB read from a disk, and a block of
// 4 KiB for every four folders taken meanwhile (a cold disk reads six for four, a warm one
// that the kernel trims now and then a few for a thousand).
constexpr std::uint64_t cStorageWaitsToGrow = 256;
constexpr std::uint64_t cStorageWaitsPerFolderToGrow = 2;

// The top of the stack that is looked at for folders to list ahead at each step: the nearest
// are needed first, and the walk looks at no more than these each time.
constexpr std::size_t cWindow = 64;
// On a local disk, until the listers grow, a walk waiting for its next listing is woken once it
// is ready and this many more folders have been listed since the walk began to wait, or the
// listers have run out of work: on a warm disk the walk takes a listing in a fraction of the time
// one takes to list, so woken for each it went to sleep again at once, and the sleeping and waking
// for every folder cost more processor time than the walk's own work (regular tree: 0.36 s of the
// processors' time in all, 0.28 s with this).
constexpr std::size_t cListedPerWake = 32;
// Elsewhere the walk waits awake this long for its next listing before it sleeps: with many
// listers the listings come close together (a share with the kernel's cache on: 0.92 x the best
// fdfind with it, 1.00 without).
constexpr std::chrono::microseconds cSpin{50};

std::size_t BytesOf(const FolderListing& listing) {
    std::size_t bytes = sizeof listing + listing.name.capacity() + listing.names.capacity() +
                        listing.nameEnds.capacity() * sizeof(std::uint32_t) +
                        listing.kinds.capacity() * sizeof(EntryKind);
    for (const std::string& name : listing.unreadable) bytes += sizeof name + name.capacity();
    return bytes;
}

}  // namespace

// A folder on the walk's stack, or about to be. Once handed out, its state, listing and
// subfolders change only under the shared mutex. Small until listed, and a listed one holds
// only the subfolders handed out to the listers, the others made when the walk takes it: a
// wide folder listed far ahead of the walk holds no more than its listing.
struct ReadAhead::Job {
    explicit Job(PendingFolder pending) : folder(std::move(pending)) {}

    // Its subfolder k: the one handed out, or else a new one.
    std::shared_ptr<Job> Child(std::size_t k) {
        if (children[k]) return std::move(children[k]);
        return std::make_shared<Job>(
            PendingFolder{handle, std::string(listing->Name(subfolders[k])), -1});
    }

    enum class State { Pending, Queued, Listing, Ready };
    // Its name stays for the walk to tell; whoever lists it lets go of the folder it is in.
    PendingFolder folder;
    State state = State::Pending;
    std::atomic<bool> ready{false};  // state is Ready: for a look without the mutex
    std::unique_ptr<FolderListing> listing;
    std::size_t bytes = 0;
    // For opening its subfolders not handed out yet, until the walk has taken it.
    std::shared_ptr<FolderHandle> handle;
    // Its subfolders in the order they were found: their entries in the listing, and those
    // handed out.
    std::vector<std::uint32_t> subfolders;
    std::vector<std::shared_ptr<Job>> children;
    std::int32_t parentNumber = -1;  // only on the walk's thread
};

struct ReadAhead::Shared {
    explicit Shared(ReadAheadLimits limits) : limits(limits) {}

    // Lists job and notes its subfolders; a folder without any is let go at once.
    // collected: the lister's own buffers for ReadFolder.
    static void List(Job& job, FileSystem& files, FolderListing& collected) {
        job.listing = std::make_unique<FolderListing>(ReadFolder(job.folder, files, collected));
        job.folder.in.reset();
        const FolderListing& listing = *job.listing;
        job.subfolders.reserve(static_cast<std::size_t>(
            std::count(listing.kinds.begin(), listing.kinds.end(), EntryKind::Folder)));
        for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
            if (listing.kinds[i] == EntryKind::Folder) {
                job.subfolders.push_back(static_cast<std::uint32_t>(i));
            }
        }
        std::shared_ptr<FolderHandle> handle = std::move(job.listing->handle);
        // A folder that cannot be opened has no subfolders to be listed.
        if (!handle) job.subfolders.clear();
        if (!job.subfolders.empty()) job.handle = std::move(handle);
        job.children.resize(job.subfolders.size());
    }

    // Whether the listers are to end: once the walk has gone, or after a stop.
    bool Ending() const { return ending || (progress != nullptr && progress->Stopped()); }
    bool Within() const { return ahead < limits.listings && heldBytes < limits.bytes; }

    // Takes folders from the queue; where one has subfolders, goes on with the one the walk
    // takes next, so that a branch is listed down without waiting for the walk.
    void RunLister(FileSystem& files) {
        FolderListing collected;
        std::unique_lock lock(mutex);
        for (;;) {
            ++idle;
            forListers.wait(lock, [this] { return Ending() || !queue.empty(); });
            --idle;
            if (woken > 0) --woken;
            if (Ending()) return;
            std::shared_ptr<Job> job = std::move(queue.front());
            queue.pop_front();
            while (job) {
                job->state = Job::State::Listing;
                lock.unlock();
                std::exception_ptr failed;
                try {
                    List(*job, files, collected);
                } catch (...) {
                    failed = std::current_exception();
                }
                lock.lock();
                if (failed && !failure) failure = failed;
                // After a stop, or once the walk has gone, the listing is dropped here.
                if (Ending() || failed) {
                    forWalk.notify_one();
                    return;
                }
                job->bytes = BytesOf(*job->listing) +
                             job->subfolders.capacity() * sizeof(std::uint32_t) +
                             job->children.capacity() * sizeof(std::shared_ptr<Job>);
                heldBytes += job->bytes;
                job->state = Job::State::Ready;
                job->ready.store(true, std::memory_order_release);
                ++listed;
                job = HandOutChildren(*job);
                if (awaited && awaited->state == Job::State::Ready &&
                    (listed >= wakeWalkAt || (!job && queue.empty()))) {
                    forWalk.notify_one();
                }
            }
        }
    }

    // The subfolders of a folder just listed, within the bounds: the walk takes them right
    // after it, the last found first. The lister goes on with that one; the others go before
    // what was queued earlier, which the walk needs only after them.
    std::shared_ptr<Job> HandOutChildren(Job& job) {
        std::shared_ptr<Job> next;
        std::size_t queuedNow = 0;
        auto place = queue.begin();
        for (std::size_t k = job.children.size(); k-- > 0;) {
            if (!Within()) break;
            const std::shared_ptr<Job>& child = job.children[k] = job.Child(k);
            child->state = Job::State::Queued;
            ++ahead;
            if (!next) {
                next = child;
            } else {
                place = std::next(queue.insert(place, child));
                ++queuedNow;
            }
        }
        // Once all are handed out, they alone hold the folder, which is closed as soon as the
        // last of them is listed: a share answers every reopening and check of it in its time.
        if (job.children.empty() || job.children.front()) job.handle.reset();
        const std::size_t toWake = std::min(queuedNow, idle - std::min(idle, woken));
        for (std::size_t i = 0; i < toWake; ++i) forListers.notify_one();
        woken += toWake;
        return next;
    }

    const ReadAheadLimits limits;
    std::mutex mutex;
    std::condition_variable forListers;
    std::condition_variable forWalk;
    std::deque<std::shared_ptr<Job>> queue;  // the one needed first at the front
    std::shared_ptr<Job> awaited;            // the one the walk waits for
    std::size_t listed = 0;                  // folders listed so far
    std::size_t wakeWalkAt = 0;              // listed, for waking the walk
    std::size_t ahead = 0;                   // handed out and not yet taken by the walk
    std::size_t heldBytes = 0;               // of the listings ready and not yet taken
    std::size_t idle = 0;                    // listers waiting for a folder
    std::size_t woken = 0;                   // of those, woken and yet to look
    bool ending = false;
    // The walk's, until the walk has gone.
    const DropProgress* progress = nullptr;
    std::exception_ptr failure;
};

ReadAhead::ReadAhead(std::string droppedFolder, FileSystem& files, const DropProgress& progress,
                     const ThreadStarter& startThread, ReadAheadLimits limits)
    : shared_(std::make_shared<Shared>(limits)),
      files_(files),
      progress_(progress),
      startThread_(startThread),
      limits_(limits),
      allowedListers_(cFirstListers) {
    shared_->progress = &progress;
    stack_.push_back(std::make_shared<Job>(PendingFolder{nullptr, std::move(droppedFolder), -1}));
}

ReadAhead::~ReadAhead() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->ending = true;
        shared_->progress = nullptr;
        shared_->queue.clear();
        shared_->forListers.notify_all();
    }
    // After a stop a lister may hang in the kernel for good: it is left to end on its own.
    const bool stopped = progress_.Stopped();
    for (std::thread& lister : listers_) {
        if (stopped) {
            lister.detach();
        } else {
            lister.join();
        }
    }
}

void ReadAhead::StartLister() {
    std::shared_ptr<FileSystem> listerFiles = files_.ForSecondThread();
    if (!listerFiles) {
        noMoreListers_ = true;
        return;
    }
    try {
        // The thread holds what it uses, so that it can be left to a listing that hangs.
        listers_.push_back(
            startThread_([shared = shared_, listerFiles] { shared->RunLister(*listerFiles); }));
    } catch (const std::system_error&) {
        // No more threads to be had: those started list everything, in the same order.
        noMoreListers_ = true;
    }
}

void ReadAhead::MoreListers() {
    if (allowedListers_ >= limits_.threads) return;
    allowedListers_ *= 2;
    HandOutAhead();
}

bool ReadAhead::OnLocalDisk() {
    if (!onLocalDisk_ && handedOut_ > 0) onLocalDisk_ = files_.StorageWaits().has_value();
    return onLocalDisk_.value_or(false);
}

void ReadAhead::HandOutAhead() {
    const std::lock_guard lock(shared_->mutex);
    Shared& shared = *shared_;
    // Those found above every folder handed out before are needed before those: they go first,
    // in their order (first is not used once any went to the back).
    auto first = shared.queue.begin();
    bool belowHandedOut = false;
    const std::size_t window = std::min(cWindow, stack_.size());
    for (std::size_t i = 0; i < window; ++i) {
        const std::shared_ptr<Job>& job = stack_[stack_.size() - 1 - i];
        if (job->state != Job::State::Pending) {
            belowHandedOut = true;
            continue;
        }
        // The next folder is listed whatever the bounds, so the walk always gets on.
        if (i != 0 && !shared.Within()) break;
        job->state = Job::State::Queued;
        ++shared.ahead;
        if (belowHandedOut) {
            shared.queue.push_back(job);
        } else {
            first = std::next(shared.queue.insert(first, job));
        }
    }
    // A lister for each folder waiting in the queue: an idle one woken, or else a new one, up
    // to the number allowed.
    std::size_t wanted = shared.queue.size() - std::min(shared.queue.size(), shared.woken);
    const std::size_t woken = std::min(wanted, shared.idle - std::min(shared.idle, shared.woken));
    for (std::size_t i = 0; i < woken; ++i) shared.forListers.notify_one();
    shared.woken += woken;
    wanted -= woken;
    while (wanted > 0 && listers_.size() < std::min(allowedListers_, limits_.threads) &&
           !noMoreListers_) {
        StartLister();
        --wanted;
    }
}

std::optional<FolderListing> ReadAhead::Next(const Waiting& waiting) {
    progress_.ThrowIfStopped();
    if (stack_.empty()) return std::nullopt;
    const std::shared_ptr<Job> job = stack_.back();
    if (listers_.empty() && noMoreListers_) {
        Shared::List(*job, files_, collected_);
    } else {
        HandOutAhead();
        const auto began = std::chrono::steady_clock::now();
        // Where the listers have grown, or the storage cannot be told fast (a share), each
        // listing is worth taking at once.
        const bool inBatches = allowedListers_ == cFirstListers && OnLocalDisk();
        while (!inBatches && !job->ready.load(std::memory_order_acquire) &&
               std::chrono::steady_clock::now() - began < cSpin) {
            std::this_thread::yield();
        }
        Shared& shared = *shared_;
        std::unique_lock lock(shared.mutex);
        if (listers_.empty() && noMoreListers_) {
            // No lister could be started: the walk lists on its own from here on.
            shared.queue.clear();
            for (const std::shared_ptr<Job>& pending : stack_) {
                if (pending->state == Job::State::Queued) pending->state = Job::State::Pending;
            }
            shared.ahead = 0;
            lock.unlock();
            return Next(waiting);
        }
        shared.awaited = job;
        shared.wakeWalkAt = shared.listed + (inBatches ? cListedPerWake : 0);
        bool grown = false;
        // Twice as many listers, once per wait, where the wait was long and the storage kept
        // the listers waiting since they last grew: where the processors kept them busy
        // instead, more would only take turns on them.
        const auto growWhereSlow = [&] {
            if (grown || std::chrono::steady_clock::now() - began < cSlowWait) return;
            grown = true;
            const std::optional<std::uint64_t> waits = files_.StorageWaits();
            const auto taken = static_cast<std::uint64_t>(handedOut_ - handedOutAtGrowth_);
            if (waits && *waits - storageWaitsAtGrowth_ <
                             std::max(cStorageWaitsToGrow, cStorageWaitsPerFolderToGrow * taken)) {
                return;
            }
            if (waits) storageWaitsAtGrowth_ = *waits;
            handedOutAtGrowth_ = handedOut_;
            lock.unlock();
            MoreListers();
            lock.lock();
        };
        while (job->state != Job::State::Ready) {
            if (shared.failure) std::rethrow_exception(shared.failure);
            // told again at each look, as the progress may ask for the folder at any time
            if (waiting) {
                lock.unlock();
                waiting(job->parentNumber, job->folder.name);
                lock.lock();
                if (job->state == Job::State::Ready) break;
            }
            shared.forWalk.wait_for(lock, cStopCheck);
            progress_.ThrowIfStopped();
            growWhereSlow();
        }
        growWhereSlow();
        shared.awaited = nullptr;
        --shared.ahead;
        shared.heldBytes -= job->bytes;
    }
    stack_.pop_back();
    const std::int32_t number = handedOut_++;
    // Its subfolders go on top, the last found first.
    for (std::size_t k = 0; k < job->children.size(); ++k) {
        std::shared_ptr<Job> child = job->Child(k);
        child->parentNumber = number;
        stack_.push_back(std::move(child));
    }
    job->children.clear();
    job->subfolders.clear();
    job->handle.reset();
    FolderListing listing = std::move(*job->listing);
    listing.parent = job->parentNumber;
    return listing;
}

}  // namespace quarnel
