#include "FolderWalk.hpp"

#include "FolderListing.hpp"
#include "NameCheck.hpp"
#include "ReadAhead.hpp"

namespace quarnel {

std::vector<std::string> FoundFolders;
FoundPaths FoundFiles{FoundFolders};
FoundPaths FoundDirs{FoundFolders};

void FoundPaths::Reset() {
    folderOf_.assign(1, 0);
    nameEnds_.assign(1, 0);
    names_.clear();
}

void FoundPaths::Add(std::uint32_t folder, std::string_view name) {
    if (folderOf_.empty()) Reset();
    folderOf_.push_back(folder);
    names_.append(name);
    nameEnds_.push_back(names_.size());
}

std::string_view FoundPaths::Name(std::size_t index) const {
    const std::size_t begin = nameEnds_[index - 1];
    return std::string_view(names_).substr(begin, nameEnds_[index] - begin);
}

namespace {

std::string WithoutTrailingSeparator(const std::string& dir, char separator) {
    const bool isRoot = dir.find(separator) == dir.size() - 1;
    return isRoot ? dir : dir.substr(0, dir.size() - 1);
}

void TakeIntoResults(const FolderListing& listing, char separator,
                     std::vector<std::string>& unreadableDirs) {
    FoundFolders.push_back(PrintableName(listing.dir));
    const auto folder = static_cast<std::uint32_t>(FoundFolders.size() - 1);
    std::string replaced;
    for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
        std::string_view name = listing.Name(i);
        if (!IsPrintableUtf8(name)) {
            replaced = PrintableName(name);
            name = replaced;
        }
        (listing.kinds[i] == EntryKind::File ? FoundFiles : FoundDirs).Add(folder, name);
    }
    if (!listing.complete) {
        unreadableDirs.push_back(PrintableName(WithoutTrailingSeparator(listing.dir, separator)));
    }
    // Whether such an entry is a folder is not known: it is said like a folder not read.
    for (const std::string& name : listing.unreadable) {
        unreadableDirs.push_back(PrintableName(listing.dir + name));
    }
}

}  // namespace

void ExpandDirectory(const std::string& path, std::int16_t fresh, WalkServices services,
                     std::vector<std::string>& unreadableDirs) {
    if (fresh != 0) {
        FoundFolders.clear();
        FoundFiles.Reset();
        FoundDirs.Reset();
    }
    const char separator = services.files.PathSeparator();
    SubtreeWalk dropped(path, true);
    TakeIntoResults(dropped.ReadNext(services.files), separator, unreadableDirs);
    services.yield.YieldOnce();

    ReadAhead subfolders(dropped.TakePending(), services.files, services.files.ForSecondThread(),
                         services.startThread);
    while (const auto listing = subfolders.Next()) {
        TakeIntoResults(*listing, separator, unreadableDirs);
        services.yield.YieldOnce();
    }
}

}  // namespace quarnel
