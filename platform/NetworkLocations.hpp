// A file manager's network locations (smb://fs01/projekte/Akte, sftp://…): a drop and the
// command line hand each on as its URI, and the drop asks where it can be read as a folder of
// this machine's (the desktop's FUSE mount of it), to walk it there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quarnel {

// Whether a dropped name is a network location's URI: a scheme of two or more letters, digits,
// "+", "-" or "." (the first a letter) and "://". No full path name looks so: on Linux it
// begins with "/", on Windows with a drive letter and ":" or with "\\".
inline bool IsNetworkLocation(std::string_view name) {
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    const auto schemeEnd = name.find("://");
    if (schemeEnd == std::string_view::npos || schemeEnd < 2 || !isLetter(name.front())) {
        return false;
    }
    for (const char c : name.substr(0, schemeEnd)) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return true;
}

class NetworkLocations {
public:
    virtual ~NetworkLocations() = default;
    // The local path through which the location given by its URI is read, or nullopt where it
    // has none (not mounted, no FUSE daemon, a scheme without one). Asked on a thread of the
    // drop's own, which a stopped drop leaves to a call that does not return.
    virtual std::optional<std::string> LocalPathOf(const std::string& uri) = 0;
};

}  // namespace quarnel
