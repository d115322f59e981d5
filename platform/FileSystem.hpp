// The file system as the drop handling sees it: attribute bits in the Windows manner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarnel {

inline constexpr std::uint32_t cDirectoryAttribute = 0x10;

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual char pathSeparator() const = 0;
    // nullopt when the name cannot be reached (removed, no access to its folder).
    virtual std::optional<std::uint32_t> attributes(const std::string& path) = 0;
};

}  // namespace quarnel
