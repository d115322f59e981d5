// The file system as the drop handling sees it: what a dropped name is, and folder listings for
// the walk beneath a dropped folder.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// What a dropped name is; a link counts as what it points to.
enum class NameKind { File, Folder };

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

// A folder the walk has listed, as the file system that listed it keeps it for opening its
// subfolders by name: each is reached from it, never through a link, so that a folder swapped
// for a link while the walk runs leads nowhere outside the dropped folder. Shared by the
// subfolders waiting to be listed, on any of the walk's threads; only the file system that gave
// it out (or one it made with ForSecondThread) takes it back.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;
};

struct ListedFolder {
    bool complete = false;  // false when the folder could not be listed completely
    // For opening its subfolders; null when it could not be opened.
    std::shared_ptr<FolderHandle> folder;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual char PathSeparator() const = 0;
    // nullopt when the name cannot be reached (removed, no access to its folder).
    virtual std::optional<NameKind> Attributes(const std::string& path) = 0;
    // Pass every entry of a folder to the visitor, hidden and system entries included; "." and
    // ".." may be left out. The
    // dropped folder `path` is opened by its path, and followed when it is a link; a folder
    // found by the walk only as the folder its parent listed under `name`: one that is a link
    // by now, or another folder, is not listed.
    virtual ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) = 0;
    virtual ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent,
                                       std::string_view name, FolderVisitor& visitor) = 0;
    // A file system of its own for each thread that lists folders ahead of the walk, or
    // nullptr where listing is to stay on one thread. Each takes the others' folders.
    virtual std::unique_ptr<FileSystem> ForSecondThread() = 0;
    // A count that goes up as this process waits for the storage its listings read, from any
    // thread: a disk's blocks of 512 bytes read; nullopt where that cannot be told, as on a
    // share, whose answers always take their time.
    virtual std::optional<std::uint64_t> StorageWaits() { return std::nullopt; }
};

}  // namespace quarnel
