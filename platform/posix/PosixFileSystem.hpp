// The file system on Linux. Paths are bytes and pass through unchanged. Folders are listed with
// getdents64 into a large buffer, their subfolders opened relative to them, and an entry is
// only asked for its type when the listing does not tell it or it is a link.
#pragma once

#include <cstdint>
#include <vector>

#include "OpenFolderChain.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

class PosixFileSystem final : public FileSystem {
public:
    PosixFileSystem();

    char PathSeparator() const override { return '/'; }
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool ListFolder(const std::string& dir, bool dropped, FolderVisitor& visitor) override;
    std::unique_ptr<FileSystem> ForSecondThread() override;

private:
    OpenFolderChain openFolders_;
    std::vector<std::uint64_t> listingBuffer_;  // 8-byte aligned for the kernel's records
};

}  // namespace quarnel
