// One folder's listing as the walk reads it: the folder named by its parent's handle and its
// own name (or, for the dropped folder, by its path), and its entries without the names that
// begin with ".", which the walk leaves out here, once.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "FolderListing.hpp"
#include "platform/FileSystem.hpp"

namespace quarnel {

// A folder the walk has yet to list: its name in the folder that listed it, or, without that
// folder, the dropped folder's path.
struct PendingFolder {
    std::shared_ptr<FolderHandle> in;
    std::string name;
    std::int32_t parent;  // as in FolderListing
};

// The entries go to collected first, buffers the caller keeps from one folder to the next, and
// then into the listing at their size: grown there, each would be allocated again at every
// doubling.
FolderListing ReadFolder(const PendingFolder& folder, FileSystem& files, FolderListing& collected);

}  // namespace quarnel
