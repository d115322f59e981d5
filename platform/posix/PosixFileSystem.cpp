#include "PosixFileSystem.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "EntryKindOf.hpp"
#include "StepwiseOpen.hpp"

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

PosixFileSystem::PosixFileSystem() : listingBuffer_(cListingBufferBytes / sizeof(std::uint64_t)) {}

std::optional<std::uint32_t> PosixFileSystem::Attributes(const std::string& path) {
    struct stat status {};
    // A link counts as what it points to; a dangling link is still a name that exists.
    if (StatOfPath(path, &status, 0) != 0 && StatOfPath(path, &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(status.st_mode) ? cDirectoryAttribute : 0u;
}

std::unique_ptr<FileSystem> PosixFileSystem::ForSecondThread() {
    return std::make_unique<PosixFileSystem>();
}

bool PosixFileSystem::ListFolder(const std::string& dir, bool dropped, FolderVisitor& visitor) {
    const int folder = openFolders_.Open(dir, dropped);
    if (folder < 0) return false;
    auto* const buffer = reinterpret_cast<char*>(listingBuffer_.data());
    for (;;) {
        const ssize_t filled = ::getdents64(folder, buffer, cListingBufferBytes);
        if (filled == 0) return true;
        if (filled < 0) return false;
        for (ssize_t offset = 0; offset < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
            offset += entry->d_reclen;
            visitor.Entry(std::string_view(entry->d_name, std::strlen(entry->d_name)),
                          EntryKindOf(folder, entry->d_name, entry->d_type));
        }
    }
}

}  // namespace quarnel
