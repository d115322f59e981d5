// The file system on Windows: attributes with GetFileAttributesW; a folder is listed through a
// handle opened on it, which never follows a junction or link found by the walk, and a found
// folder is listed only when it is still the folder its parent listed (its file ID). Paths go to
// Windows with the "\\?\" prefix, so folders deeper than MAX_PATH can be walked, while the names
// the program shows never carry it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileSystem.hpp"

namespace quarnel {

class WinFileSystem final : public FileSystem {
public:
    WinFileSystem();

    char PathSeparator() const override { return '\\'; }
    std::optional<NameKind> Attributes(const std::string& path) override;
    ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) override;
    ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent, std::string_view name,
                               FolderVisitor& visitor) override;
    std::unique_ptr<FileSystem> ForSecondThread() override;

private:
    std::vector<std::uint64_t> listingBuffer_;  // 8-byte aligned for the system's records
};

// The form of a full path that Windows accepts beyond MAX_PATH: "C:\a" becomes "\\?\C:\a",
// "\\server\share\a" becomes "\\?\UNC\server\share\a"; anything else is left as it is.
std::wstring LongPathForm(const std::string& path);

}  // namespace quarnel
