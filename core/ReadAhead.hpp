// Lists the folders beneath a dropped folder on up to 16 lister threads, while the walk takes
// the listings one by one in its own order on the thread that called it, which then makes no
// file-system call of its own. Each lister walks a subtree of its own: the next one nobody has
// started, or else the folder some other lister's subtree would come to last, taken out of it
// with everything beneath it. Such a folder comes after all the rest of its subtree in the
// walk, so it becomes a subtree of its own right behind it, and the order of the results never
// depends on which thread listed a folder. Without lister threads the calling thread lists
// everything itself, in the same order. Listers list ahead of the walk's own subtree only while
// listings wait for the storage (a share, a cold disk): on a warm disk they would only cost each
// other time on the processors.
//
// The listings held ahead of the walk are bounded in number and bytes, so a walk that is paused
// does not list the whole disk into memory; the subtree the walk needs next is listed whatever
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
#include <thread>
#include <vector>

#include "DropProgress.hpp"
#include "SubtreeWalk.hpp"
#include "ThreadStart.hpp"

namespace quarnel {

struct ReadAheadLimits {
    // As many folders as a share answers at once; a disk queue gains little beyond.
    std::size_t threads = 16;
    // Listed but not yet taken (beside up to 32 the walk takes at once). A few thousand folders
    // keep every lister busy for a while on a share (2 ms a folder) while the walk is elsewhere; 32
    // MiB holds them with room for a large folder or two, and is small beside the list a tree of
    // that size makes.
    std::size_t listings = 4096;
    std::size_t bytes = std::size_t{32} << 20;
};

class ReadAhead {
public:
    // The walk beneath droppedFolder. The lister threads list with files.ForSecondThread();
    // without one, or when no thread can be started, the calling thread lists with files.
    ReadAhead(std::string droppedFolder, FileSystem& files, const DropProgress& progress,
              const ThreadStarter& startThread, ReadAheadLimits limits = {});
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next listing in the walk's order, its parent counted among the listings handed out
    // before (-1: the dropped folder's own listing); nullopt when every folder has been taken.
    // Throws DropStopped once the progress is stopped.
    std::optional<FolderListing> Next();

private:
    struct Shared;

    // Shared with the lister threads, which may outlive this after a stop.
    std::shared_ptr<Shared> shared_;
    FileSystem& files_;
    const DropProgress& progress_;
    std::vector<std::thread> listers_;
};

}  // namespace quarnel
