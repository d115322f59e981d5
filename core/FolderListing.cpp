#include "FolderListing.hpp"

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
    listing.dir = std::move(folder.dir);
    listing.parent = folder.parent;
    const char separator = files.PathSeparator();
    if (!folder.dropped) listing.nameBegin = listing.dir.rfind(separator) + 1;
    if (listing.dir.empty() || listing.dir.back() != separator) listing.dir += separator;

    ListingCollector collector(listing);
    listing.complete = files.ListFolder(listing.dir, folder.dropped, collector);
    return listing;
}

void SubtreeWalk::Queue(const FolderListing& listing, std::int32_t number) {
    for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
        if (listing.kinds[i] == EntryKind::Folder) {
            pending_.push_back({listing.dir + std::string(listing.Name(i)), number, false});
        }
    }
}

std::optional<SubtreeWalk::Pending> SubtreeWalk::TakeLast() {
    if (!CanGiveLast()) return std::nullopt;
    Pending last = std::move(pending_.front());
    pending_.pop_front();
    return last;
}

std::vector<std::string> SubtreeWalk::TakePending() {
    std::vector<std::string> taken;
    taken.reserve(pending_.size());
    for (auto folder = pending_.rbegin(); folder != pending_.rend(); ++folder) {
        taken.push_back(std::move(folder->dir));
    }
    pending_.clear();
    return taken;
}

}  // namespace quarnel
