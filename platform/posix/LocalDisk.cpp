#include "LocalDisk.hpp"

#include <sys/vfs.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace quarnel {
namespace {

// The kernel's magic numbers (linux/magic.h and the file systems' own sources).
constexpr std::array<std::uint32_t, 15> cLocalFileSystems = {
    0xEF53,      // ext2, ext3, ext4
    0x58465342,  // xfs
    0x9123683E,  // btrfs
    0xF2F52010,  // f2fs
    0x2FC12FC1,  // zfs
    0x3153464A,  // jfs
    0x4D44,      // vfat
    0x2011BAB0,  // exfat
    0x5346544E,  // ntfs
    0x7366746E,  // ntfs3
    0x9660,      // iso9660
    0x73717368,  // squashfs
    0x794C7630,  // overlayfs
    0x01021994,  // tmpfs
    0x858458F6,  // ramfs
};

}  // namespace

bool OnLocalDisk(int folder) {
    struct statfs fileSystem {};
    if (::fstatfs(folder, &fileSystem) != 0) return false;
    const auto type = static_cast<std::uint32_t>(fileSystem.f_type);
    return std::find(cLocalFileSystems.begin(), cLocalFileSystems.end(), type) !=
           cLocalFileSystems.end();
}

}  // namespace quarnel
