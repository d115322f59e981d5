// Network locations on a Linux desktop: GIO gives the local path of a location that GVfs has
// mounted (its FUSE daemon, gvfsd-fuse, shows every mount as a folder); where it has none,
// KDE's kio-fuse is asked to mount the location and name its folder.
#pragma once

#include "platform/NetworkLocations.hpp"

namespace quarnel {

class GioNetworkLocations final : public NetworkLocations {
public:
    std::optional<std::string> LocalPathOf(const std::string& uri) override;
};

}  // namespace quarnel
