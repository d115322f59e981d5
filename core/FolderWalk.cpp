#include "FolderWalk.hpp"

#include "FolderRead.hpp"
#include "NameCheck.hpp"
#include "ReadAhead.hpp"
#include "ReplacedNames.hpp"

namespace quarnel {

FoundFolderTree FoundFolders;
FoundPaths FoundFiles{FoundFolders};
FoundPaths FoundDirs{FoundFolders};

void FoundFolderTree::Clear() {
    // A walk of a million folders may come before a small one: the memory goes back.
    std::vector<Folder>().swap(folders_);
    std::string().swap(names_);
    chain_.clear();
    std::string().swap(path_);
}

std::uint32_t FoundFolderTree::Add(std::uint32_t parent, std::string_view name) {
    names_.append(name);
    const std::uint32_t depth = parent == cNoParent ? 0 : folders_[parent].depth + 1;
    folders_.push_back({parent, depth, names_.size()});
    return static_cast<std::uint32_t>(folders_.size() - 1);
}

std::string_view FoundFolderTree::NameOf(std::uint32_t folder) const {
    const std::size_t begin = folder == 0 ? 0 : folders_[folder - 1].nameEnd;
    return std::string_view(names_).substr(begin, folders_[folder].nameEnd - begin);
}

std::string_view FoundFolderTree::PathOf(std::uint32_t folder) {
    // Up from folder to the first of its ancestors the path built last passes through.
    missing_.clear();
    std::uint32_t common = folder;
    while (common != cNoParent) {
        const Folder& entry = folders_[common];
        if (entry.depth < chain_.size() && chain_[entry.depth].first == common) break;
        missing_.push_back(common);
        common = entry.parent;
    }
    const std::size_t kept = common == cNoParent ? 0 : folders_[common].depth + 1;
    chain_.resize(kept);
    path_.resize(kept == 0 ? 0 : chain_.back().second);
    for (auto down = missing_.rbegin(); down != missing_.rend(); ++down) {
        path_.append(NameOf(*down));
        chain_.emplace_back(*down, path_.size());
    }
    return path_;
}

void FoundPaths::Reset() {
    names_.Clear();
    std::vector<std::pair<std::size_t, std::uint32_t>>().swap(runs_);
    count_ = 0;
}

void FoundPaths::Add(std::uint32_t folder, std::string_view name) {
    ++count_;
    if (runs_.empty() || runs_.back().second != folder) runs_.emplace_back(count_, folder);
    char* record = names_.At(names_.Append(name.size() + 1));
    name.copy(record, name.size());
    record[name.size()] = '\0';
}

namespace {

std::string_view WithoutTrailingSeparator(std::string_view dir, char separator) {
    const bool isRoot = dir.find(separator) == dir.size() - 1;
    return isRoot ? dir : dir.substr(0, dir.size() - 1);
}

// Takes one folder's listing into the results, the folder under parent, named folderName there;
// returns the folder.
std::uint32_t TakeIntoResults(const FolderListing& listing, std::uint32_t parent,
                              std::string_view folderName, char separator,
                              std::vector<std::string>& unreadableDirs) {
    const std::uint32_t folder = FoundFolders.Add(parent, folderName);
    std::string replaced;
    for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
        std::string_view name = listing.Name(i);
        if (!IsPrintableUtf8(name)) {
            replaced = PrintableName(name);
            // The folder's path as the list writes it: a folder of its own with such a name is
            // among the replaced names too.
            ReplacedNames& noted =
                listing.kinds[i] == EntryKind::File ? ReplacedFileNames : ReplacedDirNames;
            noted.Note(noted.Count() < ReplacedNames::cKept ? FoundFolders.PathOf(folder)
                                                            : std::string_view(),
                       name);
            name = replaced;
        }
        (listing.kinds[i] == EntryKind::File ? FoundFiles : FoundDirs).Add(folder, name);
    }
    if (!listing.complete) {
        unreadableDirs.emplace_back(
            WithoutTrailingSeparator(FoundFolders.PathOf(folder), separator));
    }
    // Whether such an entry is a folder is not known: it is said like a folder not read.
    for (const std::string& name : listing.unreadable) {
        unreadableDirs.push_back(std::string(FoundFolders.PathOf(folder)) + PrintableName(name));
    }
    return folder;
}

}  // namespace

void ExpandDirectory(const std::string& path, std::int16_t fresh, WalkServices services,
                     std::vector<std::string>& unreadableDirs, std::string_view shownAs) {
    if (fresh != 0) {
        FoundFolders.Clear();
        FoundFiles.Reset();
        FoundDirs.Reset();
    }
    const char separator = services.files.PathSeparator();
    DropProgress& progress = services.progress;
    ReadAhead walk(path, services.files, progress, services.startThread);
    // A listing names its parent by its place among the listings handed out before it; the
    // first is the dropped folder's own.
    const std::size_t first = FoundFolders.Size();
    // The folder the walk waits for is the one being read, as the progress shows it.
    const auto waiting = [&](std::int32_t parent, std::string_view name) {
        if (!progress.FolderWanted()) return;
        if (parent < 0) {
            progress.SetFolder(shownAs.empty() ? PrintableName(name) : std::string(shownAs));
            return;
        }
        const std::uint32_t folder = static_cast<std::uint32_t>(first + parent);
        progress.SetFolder(std::string(FoundFolders.PathOf(folder)) + PrintableName(name));
    };
    while (const auto listing = walk.Next(waiting)) {
        const auto parent = listing->parent < 0
                                ? FoundFolderTree::cNoParent
                                : static_cast<std::uint32_t>(first + listing->parent);
        const std::string folderName = parent == FoundFolderTree::cNoParent && !shownAs.empty()
                                           ? std::string(shownAs) + separator
                                           : PrintableName(listing->name);
        const std::uint32_t folder =
            TakeIntoResults(*listing, parent, folderName, separator, unreadableDirs);
        progress.AddNamesFound(listing->kinds.size());
        if (progress.FolderWanted()) {
            progress.SetFolder(WithoutTrailingSeparator(FoundFolders.PathOf(folder), separator));
        }
    }
}

}  // namespace quarnel
