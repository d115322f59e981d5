// What a drop delivered, copied out of the toolkit's data object before the drop returns.
#pragma once

#include <string>
#include <vector>

namespace quarnel {

struct DropData {
    bool holdsFileList = false;
    // Full path names, in drop order; on Linux also a file manager's network location as its URI
    // (smb://…, sftp://…: IsNetworkLocation), which the drop reads through its local path.
    std::vector<std::string> names;
};

}  // namespace quarnel
