// The folders a walk holds on to for opening their subfolders by name, relative to them: one
// path step for the kernel, never through a link, and no limit on the length of the whole path.
// The threads of a walk share them. Only so many stay open in all: beyond that, the one the
// thread opening another used longest ago is closed, and opened again from its parent by name
// when it is needed once more, checked to be the very folder it was.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "BriefLock.hpp"
#include "FileDescriptor.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

class HeldFolders;
class HeldFolder;

// The open folders one thread used last, the one used longest ago first. Only under the lock of
// the HeldFolders they belong to.
struct RecentFolders {
    std::list<HeldFolder*> open;
};

// Run before a subfolder is opened, with its parent's descriptor: lets a test change the tree
// at the moment a walk is most exposed to it.
using BeforeSubfolderOpen = std::function<void(int parentFolder, const char* name)>;

class HeldFolder final {
public:
    HeldFolder(std::shared_ptr<HeldFolders> owner, std::shared_ptr<HeldFolder> parent,
               std::string name, FileDescriptor fd);
    ~HeldFolder();
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;

private:
    friend class HeldFolders;
    friend class FolderInUse;
    friend class WalkedFolder;

    const std::shared_ptr<HeldFolders> owner_;
    std::shared_ptr<HeldFolder> parent_;  // null for the dropped folder, which stays open
    const std::string name_;              // in the parent
    // Raised only under the owner's lock, so that no thread closes the folder as it is taken
    // into use; lowered without it, as the one who used it needs the folder no longer.
    std::atomic<int> uses_{0};
    // The rest only under the owner's lock.
    FileDescriptor fd_;
    bool known_ = false;  // whether device_ and inode_ were read before the folder was closed
    dev_t device_ = 0;
    ino_t inode_ = 0;
    // Among whose open folders it is, unless it is closed or the dropped folder, which stays.
    std::shared_ptr<RecentFolders> recent_;
    std::list<HeldFolder*>::iterator place_;  // there
};

// A listed folder as the walk holds it while subfolders of it wait to be opened. Once the walk
// lets go, nothing is opened from it any more: it is closed at once, without a call to learn
// what it was, and its subfolders keep only its name for their way back to the dropped folder.
class WalkedFolder final : public FolderHandle {
public:
    explicit WalkedFolder(std::shared_ptr<HeldFolder> folder) : folder(std::move(folder)) {}
    ~WalkedFolder() override;
    WalkedFolder(const WalkedFolder&) = delete;
    WalkedFolder& operator=(const WalkedFolder&) = delete;

    const std::shared_ptr<HeldFolder> folder;
};

// Keeps a folder open while it is listed or a subfolder is opened from it, opening it again
// first when it was closed.
class FolderInUse {
public:
    // recent: of the thread that uses it.
    FolderInUse(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent);
    ~FolderInUse();
    FolderInUse(const FolderInUse&) = delete;
    FolderInUse& operator=(const FolderInUse&) = delete;

    // -1 when the folder could not be opened again, or is no longer the folder it was.
    int Fd() const { return fd_; }

private:
    HeldFolder& folder_;
    int fd_ = -1;
};

class HeldFolders final : public std::enable_shared_from_this<HeldFolders> {
public:
    explicit HeldFolders(BeforeSubfolderOpen beforeOpen) : beforeOpen_(std::move(beforeOpen)) {}

    // The dropped folder, followed when it is a link; null with errno set when it cannot be
    // opened.
    std::shared_ptr<HeldFolder> OpenDropped(const std::string& path);
    // Whether the dropped folder was found on a share or another file system not on a disk of
    // this machine.
    bool DroppedOnShare() const { return droppedOnShare_.load(std::memory_order_relaxed); }
    // The subfolder `name` of parent, never through a link; null when it cannot be opened or is
    // a link by now.
    std::shared_ptr<HeldFolder> OpenSubfolder(const std::shared_ptr<HeldFolder>& parent,
                                              std::string name,
                                              const std::shared_ptr<RecentFolders>& recent);

private:
    friend class HeldFolder;
    friend class FolderInUse;
    friend class WalkedFolder;

    // All under mutex_.
    void MarkUsed(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent);
    bool Reopen(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent);
    void CloseBeyondLimit(RecentFolders& recent);

    const BeforeSubfolderOpen beforeOpen_;
    std::atomic<bool> droppedOnShare_{false};
    BriefLock mutex_;
    std::size_t open_ = 0;  // in the threads' RecentFolders
};

}  // namespace quarnel
