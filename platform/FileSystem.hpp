// The file system as the drop handling sees it: attribute bits in the Windows manner, and folder
// listings for the walk beneath a dropped folder.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

inline constexpr std::uint32_t cDirectoryAttribute = 0x10;

// What a listing reports for one entry. A link to a folder is a folder of its own kind, so the
// walk can list it without following it into a cycle. An entry the file system will not
// describe is Unreadable: the walk can neither list nor walk it, and reports it.
enum class EntryKind { File, Folder, FolderLink, Unreadable };

class FolderVisitor {
public:
    virtual ~FolderVisitor() = default;
    // The name is valid only during the call.
    virtual void Entry(std::string_view name, EntryKind kind) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual char PathSeparator() const = 0;
    // nullopt when the name cannot be reached (removed, no access to its folder).
    virtual std::optional<std::uint32_t> Attributes(const std::string& path) = 0;
    // Passes every entry of the folder `dir` (ending in the separator) to the visitor, hidden
    // and system entries included. A dropped folder that is a link is followed; a folder found
    // by the walk is opened only as the folder it was listed as. False when the folder cannot
    // be listed completely.
    virtual bool ListFolder(const std::string& dir, bool dropped, FolderVisitor& visitor) = 0;
    // A file system of its own for a second thread that lists folders ahead of the walk, or
    // nullptr where listing is to stay on one thread.
    virtual std::unique_ptr<FileSystem> ForSecondThread() = 0;
};

}  // namespace quarnel
