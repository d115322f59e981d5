#include "PosixFileSystem.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "EntryKindOf.hpp"
#include "StepwiseOpen.hpp"
#include "UpperHalfListing.hpp"

namespace quarnel {
namespace {

constexpr std::size_t cListingBufferBytes = 64 * 1024;

// stat(), also for a path longer than the kernel takes in one piece: then the name is asked of
// its folder, opened step by step as the walk opens deep folders.
int StatOfPath(const std::string& path, struct stat* status, int flags) {
    if (::fstatat(AT_FDCWD, path.c_str(), status, flags) == 0) return 0;
    const auto slash = path.rfind('/');
    if (errno != ENAMETOOLONG || slash == std::string::npos) return -1;
    const FileDescriptor folder = OpenStepwise(
        AT_FDCWD, std::string_view(path).substr(0, slash + 1), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (!folder.Valid()) return -1;
    return ::fstatat(folder.Get(), path.c_str() + slash + 1, status, flags);
}

}  // namespace

PosixFileSystem::PosixFileSystem(BeforeSubfolderOpen beforeOpen)
    : PosixFileSystem(std::make_shared<HeldFolders>(std::move(beforeOpen))) {}

PosixFileSystem::PosixFileSystem(std::shared_ptr<HeldFolders> folders)
    : folders_(std::move(folders)), listingBuffer_(cListingBufferBytes / sizeof(std::uint64_t)) {}

std::optional<NameKind> PosixFileSystem::Attributes(const std::string& path) {
    struct stat status {};
    // A link counts as what it points to; a dangling link is still a name that exists.
    if (StatOfPath(path, &status, 0) != 0 && StatOfPath(path, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(status.st_mode) ? NameKind::Folder : NameKind::File;
}

std::unique_ptr<FileSystem> PosixFileSystem::ForSecondThread() {
    return std::make_unique<PosixFileSystem>(folders_);
}

std::optional<std::uint64_t> PosixFileSystem::StorageWaits() {
    struct rusage usage {};
    if (folders_->DroppedOnShare() || ::getrusage(RUSAGE_SELF, &usage) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(usage.ru_inblock);
}

ListedFolder PosixFileSystem::ListDroppedFolder(const std::string& path, FolderVisitor& visitor) {
    return List(folders_->OpenDropped(path), visitor);
}

ListedFolder PosixFileSystem::ListSubfolder(const std::shared_ptr<FolderHandle>& parent,
                                            std::string_view name, FolderVisitor& visitor) {
    // Every handle the walk hands back is one of ours.
    return List(folders_->OpenSubfolder(static_cast<const WalkedFolder&>(*parent).folder,
                                        std::string(name), recent_),
                visitor);
}

ListedFolder PosixFileSystem::List(std::shared_ptr<HeldFolder> folder, FolderVisitor& visitor) {
    if (!folder) return {};
    const FolderInUse open(*folder, recent_);
    if (open.Fd() < 0) return {};
    return {ListOpen(open.Fd(), visitor), std::make_shared<WalkedFolder>(std::move(folder))};
}

bool PosixFileSystem::ListOpen(int folder, FolderVisitor& visitor) {
    const auto visit = [&](const char* record) {
        const auto* entry = reinterpret_cast<const dirent64*>(record);
        const std::string_view name(entry->d_name, std::strlen(entry->d_name));
        // No entries of the folder: where a file system does not tell their type (a FUSE share),
        // asking for it would cost two round trips a folder.
        if (name == "." || name == "..") return;
        visitor.Entry(name, EntryKindOf(folder, entry->d_name, entry->d_type));
    };
    // Most folders fit the buffer at once; only one that fills it may be worth two halves.
    const ListingEnd start = ReadListing(folder, 0, std::nullopt, true, visit);
    if (start.how != ListingEnd::BufferFull) return start.how == ListingEnd::End;
    UpperHalfListing upper(folder, start.place);
    const ListingEnd lower = ReadListing(
        folder, start.place,
        upper.Started() ? std::optional(UpperHalfListing::cMiddle) : std::nullopt, false, visit);
    // A lower listing that reached the end has listed all there is.
    if (lower.how != ListingEnd::Stopped) return lower.how == ListingEnd::End;
    if (upper.Finish()) {
        upper.ForEachRecord(visit);
        return true;
    }
    // The upper half is listed here instead, from where the lower one stopped.
    if (::lseek(folder, static_cast<off_t>(lower.place), SEEK_SET) < 0) return false;
    return ReadListing(folder, lower.place, std::nullopt, false, visit).how == ListingEnd::End;
}

PosixFileSystem::ListingEnd PosixFileSystem::ReadListing(
    int folder, std::uint64_t place, std::optional<std::uint64_t> stop, bool firstBufferOnly,
    const std::function<void(const char*)>& visit) {
    // Room the kernel leaves unused in a full buffer: less than one record of the longest name.
    constexpr ssize_t cLargestRecord = sizeof(dirent64) + 256;
    auto* const buffer = reinterpret_cast<char*>(listingBuffer_.data());
    for (;;) {
        const ssize_t filled = ::getdents64(folder, buffer, cListingBufferBytes);
        if (filled == 0) return {ListingEnd::End, place};
        if (filled < 0) return {ListingEnd::Failed, place};
        for (ssize_t offset = 0; offset < filled;) {
            if (stop && place >= *stop) return {ListingEnd::Stopped, place};
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            place = static_cast<std::uint64_t>(entry->d_off);
            visit(buffer + offset - entry->d_reclen);
        }
        if (firstBufferOnly &&
            filled > static_cast<ssize_t>(cListingBufferBytes) - cLargestRecord) {
            return {ListingEnd::BufferFull, place};
        }
        firstBufferOnly = false;
    }
}

}  // namespace quarnel
