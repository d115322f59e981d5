// Lists the folders beneath a dropped folder on up to 16 lister threads, while the walk takes
// the listings one by one in its own order on the thread that called it, which then makes no
// file-system call of its own. The walk keeps its pending folders as a stack, the next on top,
// a folder's subfolders going on top once it is taken, the last found first; the listers list
// the folders nearest the top ahead of the walk, so the order of the results never depends on
// which thread listed a folder. Without lister threads the calling thread lists everything
// itself, in the same order.
//
// The listings held ahead of the walk are bounded in number and bytes, so a walk that is paused
// does not list the whole disk into memory; the folder the walk needs next is listed whatever
// the bound, so the walk always gets on. A stop makes the walk throw DropStopped within about
// 20 ms, even while a listing hangs in the kernel: the destructor then leaves such a listing to
// its thread, which drops its result when the kernel answers and opens no further folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DropProgress.hpp"
#include "FolderRead.hpp"
#include "ThreadStart.hpp"

namespace quarnel {

struct ReadAheadLimits {
    // As many folders as a share answers at once; a disk queue gains little beyond.
    std::size_t threads = 16;
    // Listed or being listed, and not yet taken. Enough to keep every lister busy while the
    // walk waits for one folder of a cold disk (with 1,024 they ran out of work there), and
    // small beside the list such a tree makes.
    std::size_t listings = 16384;
    std::size_t bytes = std::size_t{32} << 20;
};

class ReadAhead {
public:
    // The walk beneath droppedFolder. The lister threads list with files.ForSecondThread(),
    // started as the walk finds work for them; without one, or when no thread can be started,
    // the calling thread lists with files.
    ReadAhead(std::string droppedFolder, FileSystem& files, const DropProgress& progress,
              const ThreadStarter& startThread, ReadAheadLimits limits = {});
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next listing in the walk's order, its parent counted among the listings handed out
    // before (-1: the dropped folder's own listing); nullopt when every folder has been taken.
    // Throws DropStopped once the progress is stopped. Where the walk has to wait for the
    // listing, waiting is told the folder it waits for: its parent, counted as in a listing, and
    // its name, valid only during the call.
    using Waiting = std::function<void(std::int32_t parent, std::string_view name)>;
    std::optional<FolderListing> Next(const Waiting& waiting = nullptr);

private:
    struct Job;
    struct Shared;

    // Hands the folders nearest the top of the stack to the listers, within the bounds.
    void HandOutAhead();
    void StartLister();
    // The walk had to wait for a listing: twice as many listers may list at once.
    void MoreListers();
    // Whether the storage's waits are counted, as on a local disk; known once the dropped
    // folder has been listed, and not before.
    bool OnLocalDisk();

    // Shared with the lister threads, which may outlive this after a stop.
    std::shared_ptr<Shared> shared_;
    FileSystem& files_;
    const DropProgress& progress_;
    const ThreadStarter startThread_;
    const ReadAheadLimits limits_;
    std::vector<std::shared_ptr<Job>> stack_;  // the walk's own; the next at the back
    std::int32_t handedOut_ = 0;
    std::vector<std::thread> listers_;
    std::size_t allowedListers_;
    bool noMoreListers_ = false;
    // When the listers last grew.
    std::uint64_t storageWaitsAtGrowth_ = 0;
    std::int32_t handedOutAtGrowth_ = 0;
    std::optional<bool> onLocalDisk_;
    FolderListing collected_;  // for listing on the walk's thread, without listers
};

}  // namespace quarnel
