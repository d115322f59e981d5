#include "EntryKindOf.hpp"

#include <dirent.h>
#include <fcntl.h>

namespace quarnel {

EntryKind EntryKindOf(int folder, const char* name, unsigned char type, StatAt statAt) {
    if (type == DT_DIR) return EntryKind::Folder;
    if (type != DT_LNK && type != DT_UNKNOWN) return EntryKind::File;
    struct stat status {};
    if (type == DT_UNKNOWN) {
        if (statAt(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Unreadable;
        if (S_ISDIR(status.st_mode)) return EntryKind::Folder;
        if (!S_ISLNK(status.st_mode)) return EntryKind::File;
    }
    if (statAt(folder, name, &status, 0) == 0 && S_ISDIR(status.st_mode)) {
        return EntryKind::FolderLink;
    }
    return EntryKind::File;
}

}  // namespace quarnel
