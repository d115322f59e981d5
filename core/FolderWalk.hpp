// The walk beneath a dropped folder (ExpandDirectory). It lists a folder completely, then walks
// the subfolders it found, the last found first. Names beginning with "." are skipped and never
// walked. The results keep the order in which they were found.
//
// The walk keeps its pending folders in lists of its own instead of one native stack frame per
// level, so no tree is too deep for it. Links to folders found inside the tree are listed but
// not walked, so a link cycle cannot make the walk endless. Lister threads list the folders
// ahead (ReadAhead); the results are taken in on the calling thread, in the walk's order, and
// that thread makes no file-system call itself while they run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DropProgress.hpp"
#include "ReadAhead.hpp"
#include "RecordChunks.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

// The folders the walk has listed, as a tree: each keeps only its own printable name and its
// parent, so a deep tree costs its names, not its paths. A folder's path is built when asked
// for, on top of the path built last, so the folders of one branch cost only their own names.
class FoundFolderTree {
public:
    static constexpr std::uint32_t cNoParent = UINT32_MAX;

    void Clear();
    std::size_t Size() const { return folders_.size(); }
    // name is a dropped folder's whole printable path, or a found folder's own printable name;
    // either ends in the separator.
    std::uint32_t Add(std::uint32_t parent, std::string_view name);
    // The printable path of folder, ending in the separator; valid until the next call.
    std::string_view PathOf(std::uint32_t folder);

private:
    struct Folder {
        std::uint32_t parent;
        std::uint32_t depth;
        std::size_t nameEnd;  // in names_
    };
    std::string_view NameOf(std::uint32_t folder) const;

    std::vector<Folder> folders_;
    std::string names_;
    // The path built last: the folders from its dropped folder down, each with the length of
    // path_ up to and with it.
    std::vector<std::pair<std::uint32_t, std::size_t>> chain_;
    std::string path_;
    std::vector<std::uint32_t> missing_;
};

// The full paths the walk found, in the order it found them. Each is kept as its folder (in
// FoundFolders) and its own name, so a million entries cost little more than their names. Every
// path is printable: a byte that is not printable UTF-8 shows as "?". The paths are read once,
// by taking them: they give their memory back as they are read, while the list that takes the
// names grows.
class FoundPaths {
public:
    explicit FoundPaths(FoundFolderTree& folders) : folders_(folders) {}

    // Empty again.
    void Reset();
    void Add(std::uint32_t folder, std::string_view name);

    // Calls visit with each full path, in the order found, and leaves none behind.
    template <typename Visit>
    void TakeEachFound(Visit&& visit) {
        std::string path;
        std::size_t folderLength = 0;
        std::size_t run = 0;
        TakeEachName([&](std::size_t index, std::string_view name) {
            if (run < runs_.size() && runs_[run].first == index) {
                path.assign(folders_.PathOf(runs_[run].second));
                folderLength = path.size();
                ++run;
            }
            path.resize(folderLength);
            path.append(name);
            visit(std::string_view(path));
        });
    }

    // Calls visit with the names alone, without their folders' paths, in the order found, and
    // leaves none behind.
    template <typename Visit>
    void TakeEachFoundName(Visit&& visit) {
        TakeEachName([&](std::size_t, std::string_view name) { visit(name); });
    }

private:
    template <typename Visit>
    void TakeEachName(Visit&& visit) {
        std::size_t index = 1;
        for (std::size_t chunk = 0; chunk < names_.ChunkCount(); ++chunk) {
            std::string_view names = names_.Chunk(chunk);
            while (!names.empty()) {
                const std::size_t end = names.find('\0');
                visit(index++, names.substr(0, end));
                names.remove_prefix(end + 1);
            }
            names_.GiveBack(chunk);
        }
        Reset();
    }

    FoundFolderTree& folders_;
    // Each name is followed by a 0 byte, which no name holds.
    RecordChunks names_;
    // The paths from which on the folder changes (counted from 1), with that folder.
    std::vector<std::pair<std::size_t, std::uint32_t>> runs_;
    std::size_t count_ = 0;
};

extern FoundFolderTree FoundFolders;
extern FoundPaths FoundFiles;
extern FoundPaths FoundDirs;

struct WalkServices {
    FileSystem& files;
    // Counts the names found, shows the folder being read when asked, and stops the walk.
    DropProgress& progress;
    ThreadStarter startThread = StartThread;
};

// Walks the folder `path` and everything beneath it into FoundFiles and FoundDirs; with fresh
// non-zero both are emptied first. Folders that cannot be listed are skipped and their
// printable names appended to unreadableDirs. Throws DropStopped once progress is stopped.
// Given shownAs (printable, without a trailing separator), every path found, said or shown
// begins with it in place of `path`: a network location walked through its FUSE path keeps
// the name the user gave it.
void ExpandDirectory(const std::string& path, std::int16_t fresh, WalkServices services,
                     std::vector<std::string>& unreadableDirs, std::string_view shownAs = {});

}  // namespace quarnel
