// The names of an OLE drop, copied out of its data object before IDropTarget::Drop returns.
// The file list is format 15, CF_HDROP. Explorer leaves names longer than MAX_PATH out of it but
// keeps them in its shell ID list, so where the data object also offers that list and every item
// of it is a file system name, the names come from there, in the same order.
// Both come from another program and may be malformed or hostile: each is read only inside its
// block (GlobalSize). An ID list that does not fit its block gives way to the file list; data
// whose file list does not fit either holds no file list.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/DropData.hpp"

struct IDataObject;

namespace quarnel {

DropData DropDataFrom(IDataObject* data);

// The names in one block of each format, or nothing when it does not fit the block.
std::optional<std::vector<std::string>> NamesFromHDrop(std::span<const unsigned char> block);
std::optional<std::vector<std::string>> NamesFromIdList(std::span<const unsigned char> block);

}  // namespace quarnel
