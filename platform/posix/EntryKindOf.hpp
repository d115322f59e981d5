// What a folder listing's entry is, from the type the listing gives; asked of the file system
// only when the listing does not tell, or for a link.
#pragma once

#include <sys/stat.h>

#include "platform/FileSystem.hpp"

namespace quarnel {

using StatAt = int (*)(int folder, const char* name, struct stat* status, int flags);

// type is the listing's d_type. A link lists as what it points to, a dangling one as a file;
// an entry the file system will not describe is Unreadable.
EntryKind EntryKindOf(int folder, const char* name, unsigned char type, StatAt statAt = ::fstatat);

}  // namespace quarnel
