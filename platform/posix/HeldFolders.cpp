#include "HeldFolders.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "LocalDisk.hpp"
#include "StepwiseOpen.hpp"

namespace quarnel {
namespace {

constexpr int cFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int cFoundFolderFlags = cFolderFlags | O_NOFOLLOW;
// For all threads of a walk together: far below the usual limit of 1024 descriptors, far above
// the depth of everyday trees.
constexpr std::size_t cMostOpen = 128;

}  // namespace

HeldFolder::HeldFolder(std::shared_ptr<HeldFolders> owner, std::shared_ptr<HeldFolder> parent,
                       std::string name, FileDescriptor fd)
    : owner_(std::move(owner)),
      parent_(std::move(parent)),
      name_(std::move(name)),
      fd_(std::move(fd)) {}

HeldFolder::~HeldFolder() {
    {
        const std::lock_guard lock(owner_->mutex_);
        if (recent_) {
            recent_->open.erase(place_);
            --owner_->open_;
        }
    }
    // The ancestors nobody else holds go one by one, not in a recursion as deep as the tree.
    std::shared_ptr<HeldFolder> up = std::move(parent_);
    while (up && up.use_count() == 1) {
        // Others read a folder's parent under the lock, while they still hold the folder.
        std::shared_ptr<HeldFolder> next;
        {
            const std::lock_guard lock(owner_->mutex_);
            next = std::move(up->parent_);
        }
        up = std::move(next);
    }
}

WalkedFolder::~WalkedFolder() {
    HeldFolders& owner = *folder->owner_;
    // Closed once the lock is let go: the other threads need it for every folder they open.
    FileDescriptor closed;
    const std::lock_guard lock(owner.mutex_);
    // The dropped folder stays open; one in use is closed later, when it is the oldest.
    if (!folder->parent_ || folder->uses_ > 0 || !folder->fd_.Valid()) return;
    closed = std::move(folder->fd_);
    if (folder->recent_) {
        folder->recent_->open.erase(folder->place_);
        folder->recent_.reset();
        --owner.open_;
    }
}

FolderInUse::FolderInUse(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent)
    : folder_(folder) {
    HeldFolders& owner = *folder.owner_;
    const std::lock_guard lock(owner.mutex_);
    if (!folder.fd_.Valid() && !owner.Reopen(folder, recent)) return;
    ++folder.uses_;
    fd_ = folder.fd_.Get();
    if (folder.parent_) owner.MarkUsed(folder, recent);
    owner.CloseBeyondLimit(*recent);
}

FolderInUse::~FolderInUse() {
    if (fd_ >= 0) folder_.uses_.fetch_sub(1, std::memory_order_release);
}

std::shared_ptr<HeldFolder> HeldFolders::OpenDropped(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), cFolderFlags));
    if (!fd.Valid() && errno == ENAMETOOLONG) fd = OpenStepwise(AT_FDCWD, path, cFolderFlags);
    if (!fd.Valid()) return nullptr;
    droppedOnShare_.store(!OnLocalDisk(fd.Get()), std::memory_order_relaxed);
    return std::make_shared<HeldFolder>(shared_from_this(), nullptr, std::string(), std::move(fd));
}

std::shared_ptr<HeldFolder> HeldFolders::OpenSubfolder(
    const std::shared_ptr<HeldFolder>& parent, std::string name,
    const std::shared_ptr<RecentFolders>& recent) {
    FileDescriptor fd;
    {
        const FolderInUse in(*parent, recent);
        if (in.Fd() < 0) return nullptr;
        if (beforeOpen_) beforeOpen_(in.Fd(), name.c_str());
        fd = FileDescriptor(::openat(in.Fd(), name.c_str(), cFoundFolderFlags));
    }
    if (!fd.Valid()) return nullptr;
    auto folder =
        std::make_shared<HeldFolder>(shared_from_this(), parent, std::move(name), std::move(fd));
    const std::lock_guard lock(mutex_);
    MarkUsed(*folder, recent);
    return folder;
}

void HeldFolders::MarkUsed(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent) {
    if (!folder.recent_) {
        folder.place_ = recent->open.insert(recent->open.end(), &folder);
        ++open_;
    } else {
        recent->open.splice(recent->open.end(), folder.recent_->open, folder.place_);
    }
    if (folder.recent_ != recent) folder.recent_ = recent;
}

bool HeldFolders::Reopen(HeldFolder& folder, const std::shared_ptr<RecentFolders>& recent) {
    // Up to the nearest ancestor still open (the dropped folder always is), then down again,
    // each step by name and without following a link, and the folder checked to be the one it
    // was: the walk still holds it, so it was closed as the oldest and is known. An ancestor the
    // walk let go is not known, and need not be: whatever folder a name along the way means by
    // now, the way ends in this one or fails.
    std::vector<HeldFolder*> closed;
    HeldFolder* at = &folder;
    while (!at->fd_.Valid()) {
        if (!at->parent_) return false;
        closed.push_back(at);
        at = at->parent_.get();
    }
    for (auto down = closed.rbegin(); down != closed.rend(); ++down) {
        HeldFolder& next = **down;
        FileDescriptor fd(::openat(at->fd_.Get(), next.name_.c_str(), cFoundFolderFlags));
        struct stat status {};
        if (!fd.Valid()) return false;
        const bool checked = next.known_ || &next == &folder;
        if (checked && (::fstat(fd.Get(), &status) != 0 || !next.known_ ||
                        status.st_dev != next.device_ || status.st_ino != next.inode_)) {
            errno = ESTALE;
            return false;
        }
        next.fd_ = std::move(fd);
        MarkUsed(next, recent);
        // The way down may be long: only the step just taken must stay open for the next.
        ++next.uses_;
        CloseBeyondLimit(*recent);
        --next.uses_;
        at = &next;
    }
    return true;
}

void HeldFolders::CloseBeyondLimit(RecentFolders& recent) {
    auto& open = recent.open;
    // The thread that opens one more closes one of its own, used longest ago.
    for (auto folder = open.begin(); open_ > cMostOpen && folder != open.end();) {
        HeldFolder& held = **folder;
        if (held.uses_ > 0) {
            ++folder;
            continue;
        }
        // Read now, while the descriptor is still the folder first opened, so that opening it
        // again by name can tell whether that name still means the same folder.
        struct stat status {};
        if (!held.known_ && ::fstat(held.fd_.Get(), &status) == 0) {
            held.known_ = true;
            held.device_ = status.st_dev;
            held.inode_ = status.st_ino;
        }
        held.fd_.Reset();
        folder = open.erase(folder);
        --open_;
        held.recent_.reset();
    }
}

}  // namespace quarnel
