// The walk beneath a dropped folder (ExpandDirectory). It lists a folder completely, lets the event
// loop run once, then walks the subfolders it found, the last found first. Names beginning with "."
// are skipped and never walked. The results keep the order in which they were found.
//
// The walk keeps its pending folders in lists of its own instead of one native stack frame per
// level, so no tree is too deep for it. Links to folders found inside the tree are listed but
// not walked, so a link cycle cannot make the walk endless. A second thread may list folders
// ahead; the results are taken in on the calling thread, in the walk's order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ReadAhead.hpp"
#include "platform/FileSystem.hpp"
#include "platform/Yield.hpp"

namespace quarnel {

// A growable array of full paths whose element 0 is always the empty string. The paths are
// kept as their folder's prefix (shared, in FoundFolders) and their own name, so a million
// entries cost little more than their names. Every path is printable: a byte that is not
// printable UTF-8 shows as "?".
class FoundPaths {
public:
    explicit FoundPaths(const std::vector<std::string>& folders) : folders_(folders) {}

    // Back to the single empty element 0.
    void Reset();
    void Add(std::uint32_t folder, std::string_view name);

    // Calls visit with the full paths of elements 1 to the upper bound, in index order.
    template <typename Visit>
    void ForEachFound(Visit&& visit) const {
        std::string path;
        for (std::size_t index = 1; index < folderOf_.size(); ++index) {
            path.assign(folders_[folderOf_[index]]);
            path.append(Name(index));
            visit(std::string_view(path));
        }
    }

private:
    std::string_view Name(std::size_t index) const;

    const std::vector<std::string>& folders_;
    std::vector<std::uint32_t> folderOf_;
    std::vector<std::size_t> nameEnds_;
    std::string names_;
};

// The printable prefixes (with their trailing separator) of the folders the walk has listed.
extern std::vector<std::string> FoundFolders;
extern FoundPaths FoundFiles;
extern FoundPaths FoundDirs;

struct WalkServices {
    FileSystem& files;
    Yield& yield;
    ThreadStarter startThread = StartThread;
};

// Walks the folder `path` and everything beneath it into FoundFiles and FoundDirs; with fresh
// non-zero both are emptied first. Folders that cannot be listed are skipped and their
// printable names appended to unreadableDirs.
void ExpandDirectory(const std::string& path, std::int16_t fresh, WalkServices services,
                     std::vector<std::string>& unreadableDirs);

}  // namespace quarnel
