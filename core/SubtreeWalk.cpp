#include "SubtreeWalk.hpp"

#include <algorithm>

namespace quarnel {
namespace {

class ListingCollector final : public FolderVisitor {
public:
    explicit ListingCollector(FolderListing& listing) : listing_(listing) {}

    void Entry(std::string_view name, EntryKind kind) override {
        if (name.empty() || name.front() == '.') return;
        if (kind == EntryKind::Unreadable) {
            listing_.unreadable.emplace_back(name);
            return;
        }
        listing_.names.append(name);
        listing_.nameEnds.push_back(static_cast<std::uint32_t>(listing_.names.size()));
        listing_.kinds.push_back(kind);
    }

private:
    FolderListing& listing_;
};

}  // namespace

FolderListing SubtreeWalk::ReadNext(FileSystem& files) {
    auto [folder, number] = TakeNext();
    FolderListing listing = Read(std::move(folder), files);
    Queue(listing, number);
    return listing;
}

std::pair<SubtreeWalk::Pending, std::int32_t> SubtreeWalk::TakeNext() {
    Pending folder = std::move(pending_.back());
    pending_.pop_back();
    return {std::move(folder), listed_++};
}

FolderListing SubtreeWalk::Read(Pending folder, FileSystem& files) {
    FolderListing listing;
    listing.parent = folder.parent;
    ListingCollector collector(listing);
    ListedFolder listed = folder.in ? files.ListSubfolder(folder.in, folder.name, collector)
                                    : files.ListDroppedFolder(folder.name, collector);
    listing.complete = listed.complete;
    listing.handle = std::move(listed.folder);
    listing.name = std::move(folder.name);
    const char separator = files.PathSeparator();
    if (listing.name.empty() || listing.name.back() != separator) listing.name += separator;
    return listing;
}

void SubtreeWalk::Queue(FolderListing& listing, std::int32_t number) {
    const std::shared_ptr<FolderHandle> handle = std::move(listing.handle);
    if (!handle) return;
    for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
        if (listing.kinds[i] == EntryKind::Folder) {
            pending_.push_back({handle, std::string(listing.Name(i)), number});
        }
    }
}

std::optional<SubtreeWalk::Pending> SubtreeWalk::TakeLast(bool busy) {
    if (!CanGiveLast(busy)) return std::nullopt;
    Pending last = std::move(pending_.front());
    pending_.pop_front();
    return last;
}

std::vector<SubtreeWalk::Pending> SubtreeWalk::TakePending() {
    std::vector<Pending> taken;
    taken.reserve(pending_.size());
    for (auto folder = pending_.rbegin(); folder != pending_.rend(); ++folder) {
        taken.push_back(std::move(*folder));
    }
    pending_.clear();
    return taken;
}

}  // namespace quarnel
