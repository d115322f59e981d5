#include "FolderRead.hpp"

namespace quarnel {
namespace {

constexpr std::size_t cKeptBufferBytes = std::size_t{1} << 20;

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

FolderListing ReadFolder(const PendingFolder& folder, FileSystem& files, FolderListing& collected) {
    collected.names.clear();
    collected.nameEnds.clear();
    collected.kinds.clear();
    collected.unreadable.clear();
    ListingCollector collector(collected);
    ListedFolder listed = folder.in ? files.ListSubfolder(folder.in, folder.name, collector)
                                    : files.ListDroppedFolder(folder.name, collector);
    FolderListing listing;
    listing.parent = folder.parent;
    listing.names = collected.names;
    listing.nameEnds = collected.nameEnds;
    listing.kinds = collected.kinds;
    listing.unreadable = std::move(collected.unreadable);
    // A huge folder's buffers are not kept for the folders after it.
    if (collected.names.capacity() > cKeptBufferBytes) collected = FolderListing();
    listing.complete = listed.complete;
    listing.handle = std::move(listed.folder);
    listing.name = folder.name;
    const char separator = files.PathSeparator();
    if (listing.name.empty() || listing.name.back() != separator) listing.name += separator;
    return listing;
}

}  // namespace quarnel
