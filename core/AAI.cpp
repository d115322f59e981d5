#include "AAI.hpp"

#include "NameCheck.hpp"

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

std::string FoundPaths::operator[](std::size_t index) const {
    if (index == 0) return {};
    return folders_[folderOf_[index]] + std::string(Name(index));
}

namespace {

std::string PrintableCopy(std::string_view text) {
    return IsPrintableUtf8(text) ? std::string(text) : PrintableName(text);
}

// Sorts one folder's entries into the results; its subfolders go on top of the pending list.
class FolderCollector final : public FolderVisitor {
public:
    FolderCollector(const std::string& dir, std::vector<std::string>& pendingDirs)
        : dir_(dir),
          folder_(static_cast<std::uint32_t>(FoundFolders.size() - 1)),
          pendingDirs_(pendingDirs) {}

    void Entry(std::string_view name, EntryKind kind) override {
        if (name.empty() || name.front() == '.') return;
        const bool printable = IsPrintableUtf8(name);
        const std::string replaced = printable ? std::string() : PrintableName(name);
        const std::string_view shown = printable ? name : std::string_view(replaced);
        if (kind == EntryKind::File) {
            FoundFiles.Add(folder_, shown);
            return;
        }
        FoundDirs.Add(folder_, shown);
        if (kind == EntryKind::Folder) pendingDirs_.push_back(dir_ + std::string(name));
    }

private:
    const std::string& dir_;
    std::uint32_t folder_;
    std::vector<std::string>& pendingDirs_;
};

std::string WithoutTrailingSeparator(const std::string& dir, char separator) {
    const bool isRoot = dir.find(separator) == dir.size() - 1;
    return isRoot ? dir : dir.substr(0, dir.size() - 1);
}

}  // namespace

void ExpandDirectory(const std::string& path, std::int16_t fresh, WalkServices services,
                     std::vector<std::string>& unreadableDirs) {
    if (fresh != 0) {
        FoundFolders.clear();
        FoundFiles.Reset();
        FoundDirs.Reset();
    }
    const char separator = services.files.pathSeparator();
    std::vector<std::string> PendingDirs{path};
    bool dropped = true;
    while (!PendingDirs.empty()) {
        std::string dir = std::move(PendingDirs.back());
        PendingDirs.pop_back();
        if (dir.empty() || dir.back() != separator) dir += separator;

        FoundFolders.push_back(PrintableCopy(dir));
        FolderCollector collector(dir, PendingDirs);
        if (!services.files.listFolder(dir, dropped, collector)) {
            unreadableDirs.push_back(PrintableCopy(WithoutTrailingSeparator(dir, separator)));
        }
        dropped = false;
        services.yield.yieldOnce();
    }
}

}  // namespace quarnel
