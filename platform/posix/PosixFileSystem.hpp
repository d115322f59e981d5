// The file system on Linux. Paths are bytes and pass through unchanged. Folders are listed with
// getdents64 into a large buffer (a large folder on ext4 in two halves at once), their
// subfolders opened by name relative to them, never through a link, and an entry is only asked
// for its type when the listing does not tell it or it is a link.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "HeldFolders.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

class PosixFileSystem final : public FileSystem {
public:
    explicit PosixFileSystem(BeforeSubfolderOpen beforeOpen = {});
    // One that shares the folders held open with another, for another thread of the walk.
    explicit PosixFileSystem(std::shared_ptr<HeldFolders> folders);

    char PathSeparator() const override { return '/'; }
    std::optional<NameKind> Attributes(const std::string& path) override;
    ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) override;
    ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent, std::string_view name,
                               FolderVisitor& visitor) override;
    std::unique_ptr<FileSystem> ForSecondThread() override;
    // The blocks read from disk by the whole process.
    std::optional<std::uint64_t> StorageWaits() override;

private:
    ListedFolder List(std::shared_ptr<HeldFolder> folder, FolderVisitor& visitor);
    // False when folder could not be listed completely.
    bool ListOpen(int folder, FolderVisitor& visitor);

    struct ListingEnd {
        enum How { End, Failed, Stopped, BufferFull } how;
        std::uint64_t place;  // of the entry that would have been read next
    };
    // Lists folder from place, where it stands, to its end, or up to the entry whose place is
    // stop or beyond (Stopped), or, with firstBufferOnly, as far as a first read that filled the
    // buffer (BufferFull). An entry's place is the d_off of the entry before it.
    ListingEnd ReadListing(int folder, std::uint64_t place, std::optional<std::uint64_t> stop,
                           bool firstBufferOnly, const std::function<void(const char*)>& visit);

    std::shared_ptr<HeldFolders> folders_;
    const std::shared_ptr<RecentFolders> recent_ = std::make_shared<RecentFolders>();
    std::vector<std::uint64_t> listingBuffer_;  // 8-byte aligned for the kernel's records
};

}  // namespace quarnel
