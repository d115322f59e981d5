#include "UpperHalfListing.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstddef>
#include <new>
#include <system_error>

namespace quarnel {
namespace {

constexpr long cExt4Magic = 0xEF53;
// Below this the second thread costs about what it saves.
constexpr off_t cLargeFolderBytes = 256 * 1024;
constexpr std::size_t cBlockBytes = 1024 * 1024;
constexpr std::size_t cReadBytes = 64 * 1024;

bool IsLargeHashTreeFolder(int folder) {
    struct stat status {};
    struct statfs fileSystem {};
    int flags = 0;
    return ::fstat(folder, &status) == 0 && status.st_size >= cLargeFolderBytes &&
           ::fstatfs(folder, &fileSystem) == 0 && fileSystem.f_type == cExt4Magic &&
           ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_INDEX_FL) != 0;
}

}  // namespace

UpperHalfListing::UpperHalfListing(int folder, std::uint64_t place) {
    if (place >= cMiddle || !IsLargeHashTreeFolder(folder)) return;
    upper_ = FileDescriptor(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!upper_.Valid() || ::lseek(upper_.Get(), static_cast<off_t>(cMiddle), SEEK_SET) < 0) {
        return;
    }
    try {
        reader_ = std::thread([this] {
            try {
                Read();
            } catch (const std::bad_alloc&) {
                // Not complete: the lower listing goes on to the end instead.
            }
        });
    } catch (const std::system_error&) {
        // Without a second thread one listing lists it all.
    }
}

UpperHalfListing::~UpperHalfListing() {
    if (reader_.joinable()) reader_.join();
}

bool UpperHalfListing::Finish() {
    reader_.join();
    return complete_;
}

std::size_t UpperHalfListing::RecordLength(const char* record) {
    return reinterpret_cast<const dirent64*>(record)->d_reclen;
}

void UpperHalfListing::Read() {
    for (;;) {
        if (blocks_.empty() || cBlockBytes - blocks_.back().used < cReadBytes) {
            blocks_.push_back({std::unique_ptr<char[]>(new char[cBlockBytes]), 0});
        }
        Block& block = blocks_.back();
        char* const start = block.bytes.get() + block.used;
        const ssize_t filled = ::getdents64(upper_.Get(), start, cReadBytes);
        if (filled <= 0) {
            complete_ = filled == 0;
            return;
        }
        // Every place in the upper half lies beyond the middle; anything else is not the
        // listing this relies on.
        for (ssize_t offset = 0; offset < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(start + offset);
            if (static_cast<std::uint64_t>(entry->d_off) < cMiddle) return;
            offset += entry->d_reclen;
        }
        block.used += static_cast<std::size_t>(filled);
    }
}

}  // namespace quarnel
