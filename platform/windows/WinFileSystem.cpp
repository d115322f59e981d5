#include "WinFileSystem.hpp"

#include <windows.h>

#include <unordered_map>

#include "support/WideText.hpp"

namespace quarnel {
namespace {

constexpr std::size_t cListingBufferBytes = 64 * 1024;

// A handle on an open folder, closed on every way out.
class FolderHandleOnDisk {
public:
    explicit FolderHandleOnDisk(HANDLE handle) : handle_(handle) {}
    ~FolderHandleOnDisk() {
        if (Valid()) ::CloseHandle(handle_);
    }
    FolderHandleOnDisk(const FolderHandleOnDisk&) = delete;
    FolderHandleOnDisk& operator=(const FolderHandleOnDisk&) = delete;

    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// A folder the walk listed: its path, the volume it lies on and the file IDs of the subfolders
// it listed, so that a subfolder swapped for another folder or a link is found out when opened.
class ListedWinFolder final : public FolderHandle {
public:
    ListedWinFolder(std::wstring path, DWORD volume) : path(std::move(path)), volume(volume) {}

    const std::wstring path;  // in the long form, ending in "\"
    const DWORD volume;
    std::unordered_map<std::string, std::uint64_t> subfolders;
};

std::uint64_t FileIdOf(const BY_HANDLE_FILE_INFORMATION& information) {
    return std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow;
}

// Junctions, symbolic links and every other reparse point that is a folder are listed as
// links: the walk does not follow them, so it can never run in a circle.
EntryKind KindOf(DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return EntryKind::File;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EntryKind::FolderLink;
    return EntryKind::Folder;
}

// Lists the open folder into visitor and keeps its subfolders' file IDs in listed; false when
// it could not be listed completely.
bool ListOpen(HANDLE folder, std::vector<std::uint64_t>& buffer, ListedWinFolder& listed,
              FolderVisitor& visitor) {
    auto* const bytes = reinterpret_cast<char*>(buffer.data());
    for (bool first = true;; first = false) {
        if (!::GetFileInformationByHandleEx(folder, FileIdBothDirectoryInfo, bytes,
                                            cListingBufferBytes)) {
            const DWORD error = ::GetLastError();
            // an empty drive root has not even "." and ".."
            return error == ERROR_NO_MORE_FILES || (first && error == ERROR_FILE_NOT_FOUND);
        }
        for (std::size_t offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            const std::string name = Utf8FromWide(
                std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(wchar_t)));
            const EntryKind kind = KindOf(entry->FileAttributes);
            if (kind == EntryKind::Folder) {
                listed.subfolders[name] = static_cast<std::uint64_t>(entry->FileId.QuadPart);
            }
            visitor.Entry(name, kind);
            if (entry->NextEntryOffset == 0) break;
            offset += entry->NextEntryOffset;
        }
    }
}

HANDLE OpenFolder(const std::wstring& path, DWORD flags) {
    // Reading its attributes, ID and volume takes FILE_READ_ATTRIBUTES besides the listing.
    return ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

}  // namespace

std::wstring LongPathForm(const std::string& path) {
    const std::wstring wide = WideFromUtf8(path);
    if (wide.starts_with(L"\\\\?\\") || wide.starts_with(L"\\\\.\\")) return wide;
    if (wide.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + wide.substr(2);
    const bool drivePath = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return drivePath ? L"\\\\?\\" + wide : wide;
}

WinFileSystem::WinFileSystem() : listingBuffer_(cListingBufferBytes / sizeof(std::uint64_t)) {}

std::optional<NameKind> WinFileSystem::Attributes(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(LongPathForm(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? NameKind::Folder : NameKind::File;
}

// A dropped folder that is a link is listed through it, as Windows opens any path.
ListedFolder WinFileSystem::ListDroppedFolder(const std::string& path, FolderVisitor& visitor) {
    std::wstring longPath = LongPathForm(path);
    if (longPath.empty() || longPath.back() != L'\\') longPath += L'\\';
    const FolderHandleOnDisk folder(OpenFolder(longPath, 0));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!folder.Valid() || !::GetFileInformationByHandle(folder.Get(), &information)) return {};
    auto listed =
        std::make_shared<ListedWinFolder>(std::move(longPath), information.dwVolumeSerialNumber);
    const bool complete = ListOpen(folder.Get(), listingBuffer_, *listed, visitor);
    return {complete, std::move(listed)};
}

// A found folder is opened as itself, never through a link, and listed only when it is a
// folder, no reparse point, and the very one its parent listed under that name: on the path to
// it a folder may have been swapped for a junction since.
ListedFolder WinFileSystem::ListSubfolder(const std::shared_ptr<FolderHandle>& parent,
                                          std::string_view name, FolderVisitor& visitor) {
    // Every handle the walk hands back is one of ours.
    const auto& in = static_cast<const ListedWinFolder&>(*parent);
    const auto id = in.subfolders.find(std::string(name));
    if (id == in.subfolders.end()) return {};
    std::wstring path = in.path + WideFromUtf8(name) + L'\\';
    const FolderHandleOnDisk folder(OpenFolder(path, FILE_FLAG_OPEN_REPARSE_POINT));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!folder.Valid() || !::GetFileInformationByHandle(folder.Get(), &information) ||
        KindOf(information.dwFileAttributes) != EntryKind::Folder ||
        information.dwVolumeSerialNumber != in.volume || FileIdOf(information) != id->second) {
        return {};
    }
    auto listed = std::make_shared<ListedWinFolder>(std::move(path), in.volume);
    const bool complete = ListOpen(folder.Get(), listingBuffer_, *listed, visitor);
    return {complete, std::move(listed)};
}

std::unique_ptr<FileSystem> WinFileSystem::ForSecondThread() {
    return std::make_unique<WinFileSystem>();
}

}  // namespace quarnel
