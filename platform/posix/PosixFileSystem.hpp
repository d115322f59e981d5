// The file system on Linux. Paths are bytes and pass through unchanged.
#pragma once

#include "platform/FileSystem.hpp"

namespace quarnel {

class PosixFileSystem final : public FileSystem {
public:
    char pathSeparator() const override { return '/'; }
    std::optional<std::uint32_t> attributes(const std::string& path) override;
};

}  // namespace quarnel
