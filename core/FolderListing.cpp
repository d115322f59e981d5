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
    FolderListing listing;
    listing.dir = std::move(pending_.back().dir);
    listing.parent = pending_.back().parent;
    pending_.pop_back();
    const char separator = files.PathSeparator();
    if (!dropped_) listing.nameBegin = listing.dir.rfind(separator) + 1;
    if (listing.dir.empty() || listing.dir.back() != separator) listing.dir += separator;

    ListingCollector collector(listing);
    listing.complete = files.ListFolder(listing.dir, dropped_, collector);
    dropped_ = false;
    const std::int32_t number = listed_++;
    for (std::size_t i = 0; i < listing.kinds.size(); ++i) {
        if (listing.kinds[i] == EntryKind::Folder) {
            pending_.push_back({listing.dir + std::string(listing.Name(i)), number});
        }
    }
    return listing;
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
