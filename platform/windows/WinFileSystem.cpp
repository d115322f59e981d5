#include "WinFileSystem.hpp"

#include <windows.h>

#include "support/WideText.hpp"

namespace quarnel {
namespace {

// A find handle, closed on every way out.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle() {
        if (Valid()) ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Junctions, symbolic links and every other reparse point that is a folder are listed as
// links: the walk does not follow them, so it can never run in a circle.
EntryKind KindOf(const WIN32_FIND_DATAW& entry) {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return EntryKind::File;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::FolderLink;
    return EntryKind::Folder;
}

}  // namespace

std::wstring LongPathForm(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    if (wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\")) return wide;
    if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
    const bool drivePath = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return drivePath ? L"\\\\?\\" + wide : wide;
}

std::optional<std::uint32_t> WinFileSystem::Attributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return static_cast<std::uint32_t>(attributes);
}

// A dropped folder that is a link is listed through it, as Windows opens any path; a folder
// found by the walk is reached only when it was listed as a plain folder.
bool WinFileSystem::ListFolder(const std::string& dir, bool /*dropped*/, FolderVisitor& visitor) {
    const std::wstring pattern = LongPathForm(dir) + L"*";
    WIN32_FIND_DATAW entry;
    const FindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
    // an empty drive root has not even "." and ".."
    if (!find.Valid()) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        visitor.Entry(Utf8FromWide(entry.cFileName), KindOf(entry));
    } while (::FindNextFileW(find.Get(), &entry));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::unique_ptr<FileSystem> WinFileSystem::ForSecondThread() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace quarnel
