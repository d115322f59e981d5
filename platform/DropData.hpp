// What a drop delivered, copied out of the toolkit's data object before the drop returns.
#pragma once

#include <string>
#include <vector>

namespace quarnel {

struct DropData {
    bool holdsFileList = false;
    std::vector<std::string> names;  // full path names, in drop order
};

}  // namespace quarnel
