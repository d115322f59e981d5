// A folder link for the walk tests. On Windows the test makes a junction; Wine cannot make one,
// so there the test run provides a tree made beforehand with a Unix symbolic link, which Wine
// lists as a reparse-point folder, just as Windows lists a junction.
#pragma once

#include <windows.h>
#include <winioctl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace quarnel::testing {

// QUARNEL_LINK_TREE names a folder holding "target\inner.txt" and "link", a link to "target",
// and "swap\a\top", "swap\c\top" and "swap\b\top", a link to "swap\S".
inline std::filesystem::path ProvidedLinkTree() {
    const char* tree = std::getenv("QUARNEL_LINK_TREE");
    return tree != nullptr ? std::filesystem::path(tree) : std::filesystem::path();
}

// Makes `link` (a new empty folder) a junction to `target`; false where the system cannot.
inline bool MakeJunction(const std::filesystem::path& link, const std::filesystem::path& target) {
    struct MountPointReparseBuffer {
        DWORD ReparseTag;
        WORD ReparseDataLength;
        WORD Reserved;
        WORD SubstituteNameOffset;
        WORD SubstituteNameLength;
        WORD PrintNameOffset;
        WORD PrintNameLength;
        WCHAR PathBuffer[2048];
    } buffer{};
    const std::wstring substitute = L"\\??\\" + std::filesystem::absolute(target).wstring();
    const auto substituteBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    if (substitute.size() + 2 > std::size(buffer.PathBuffer)) return false;
    std::memcpy(buffer.PathBuffer, substitute.c_str(), substituteBytes);
    buffer.ReparseTag = IO_REPARSE_TAG_MOUNT_POINT;
    buffer.SubstituteNameLength = substituteBytes;
    buffer.PrintNameOffset = static_cast<WORD>(substituteBytes + sizeof(wchar_t));
    buffer.ReparseDataLength = static_cast<WORD>(8 + substituteBytes + 2 * sizeof(wchar_t));

    if (!::CreateDirectoryW(link.c_str(), nullptr)) return false;
    const HANDLE handle =
        ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    const BOOL made =
        ::DeviceIoControl(handle, FSCTL_SET_REPARSE_POINT, &buffer, buffer.ReparseDataLength + 8,
                          nullptr, 0, &returned, nullptr);
    ::CloseHandle(handle);
    return made != FALSE;
}

}  // namespace quarnel::testing
