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

FolderListing ReadFolder(const PendingFolder& folder, FileSystem& files);

}  // namespace quarnel
