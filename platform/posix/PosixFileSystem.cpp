#include "PosixFileSystem.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace quarnel {
namespace {

constexpr std::size_t cListingBufferBytes = 64 * 1024;

EntryKind KindOf(int folder, const char* name, unsigned char type) {
    if (type == DT_DIR) return EntryKind::Folder;
    if (type != DT_LNK && type != DT_UNKNOWN) return EntryKind::File;
    struct stat status {};
    if (type == DT_UNKNOWN) {
        if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::File;
        if (S_ISDIR(status.st_mode)) return EntryKind::Folder;
        if (!S_ISLNK(status.st_mode)) return EntryKind::File;
    }
    // A link lists as what it points to; a dangling one as a file.
    if (::fstatat(folder, name, &status, 0) == 0 && S_ISDIR(status.st_mode)) {
        return EntryKind::FolderLink;
    }
    return EntryKind::File;
}

}  // namespace

PosixFileSystem::PosixFileSystem() : listingBuffer_(cListingBufferBytes / sizeof(std::uint64_t)) {}

std::optional<std::uint32_t> PosixFileSystem::Attributes(const std::string& path) {
    struct stat status {};
    // A link counts as what it points to; a dangling link is still a name that exists.
    if (::stat(path.c_str(), &status) != 0 && ::lstat(path.c_str(), &status) != 0) {
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
                          KindOf(folder, entry->d_name, entry->d_type));
        }
    }
}

}  // namespace quarnel
