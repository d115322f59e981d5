// The file system on Windows: attributes with GetFileAttributesW, listings with FindFirstFileExW.
// Paths go to Windows with the "\\?\" prefix, so folders deeper than MAX_PATH can be walked,
// while the names the program shows never carry it.
#pragma once

#include <string>

#include "platform/FileSystem.hpp"

namespace quarnel {

class WinFileSystem final : public FileSystem {
public:
    char PathSeparator() const override { return '\\'; }
    std::optional<std::uint32_t> Attributes(const std::string& path) override;
    bool ListFolder(const std::string& dir, bool dropped, FolderVisitor& visitor) override;
    std::unique_ptr<FileSystem> ForSecondThread() override;
};

// The form of a full path that Windows accepts beyond MAX_PATH: "C:\a" becomes "\\?\C:\a",
// "\\server\share\a" becomes "\\?\UNC\server\share\a"; anything else is left as it is.
std::wstring LongPathForm(const std::string& path);

}  // namespace quarnel
