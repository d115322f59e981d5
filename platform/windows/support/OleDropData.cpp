#include "OleDropData.hpp"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <optional>

#include "WideText.hpp"

namespace quarnel {
namespace {

// Longest name Windows accepts with the "\\?\" prefix, in UTF-16 code units.
constexpr DWORD cLongPathLength = 32768;

FORMATETC HGlobalFormat(CLIPFORMAT format) {
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool Offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = HGlobalFormat(format);
    return data->QueryGetData(&wanted) == S_OK;
}

// The data of one format, released with the medium on every way out; locked while it lives.
class LockedMedium {
public:
    LockedMedium(IDataObject* data, CLIPFORMAT format) {
        FORMATETC wanted = HGlobalFormat(format);
        if (FAILED(data->GetData(&wanted, &medium_))) return;
        held_ = true;
        if (medium_.tymed == TYMED_HGLOBAL) bytes_ = GlobalLock(medium_.hGlobal);
    }
    ~LockedMedium() {
        if (bytes_ != nullptr) GlobalUnlock(medium_.hGlobal);
        if (held_) ReleaseStgMedium(&medium_);
    }
    LockedMedium(const LockedMedium&) = delete;
    LockedMedium& operator=(const LockedMedium&) = delete;

    const void* Bytes() const { return bytes_; }
    SIZE_T Size() const { return bytes_ != nullptr ? GlobalSize(medium_.hGlobal) : 0; }

private:
    STGMEDIUM medium_{};
    bool held_ = false;
    void* bytes_ = nullptr;
};

std::vector<std::string> NamesFromHDrop(const LockedMedium& medium) {
    std::vector<std::string> names;
    if (medium.Bytes() == nullptr) return names;
    const auto drop = static_cast<HDROP>(const_cast<void*>(medium.Bytes()));
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        name.resize(DragQueryFileW(drop, i, name.data(), length + 1));
        // Wine counts one empty name in a list that holds none
        if (!name.empty()) names.push_back(Utf8FromWide(name));
    }
    return names;
}

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};

// Every item of the shell ID list as a file system name, or nothing when one of them is not
// one (a virtual item) or the list is malformed.
std::optional<std::vector<std::string>> NamesFromIdList(const LockedMedium& medium) {
    if (medium.Bytes() == nullptr || medium.Size() < sizeof(CIDA)) return std::nullopt;
    const auto* ida = static_cast<const CIDA*>(medium.Bytes());
    const auto* base = static_cast<const BYTE*>(medium.Bytes());
    if (medium.Size() < sizeof(CIDA) + ida->cidl * sizeof(UINT)) return std::nullopt;
    const auto item = [&](UINT i) {
        return reinterpret_cast<const ITEMIDLIST*>(base + ida->aoffset[i]);
    };
    for (UINT i = 0; i <= ida->cidl; ++i) {
        if (ida->aoffset[i] >= medium.Size()) return std::nullopt;
    }
    std::vector<std::string> names;
    std::wstring path(cLongPathLength, L'\0');
    for (UINT i = 1; i <= ida->cidl; ++i) {
        const std::unique_ptr<ITEMIDLIST, IdListFree> absolute(ILCombine(item(0), item(i)));
        if (!absolute ||
            !SHGetPathFromIDListEx(absolute.get(), path.data(), cLongPathLength, GPFIDL_DEFAULT)) {
            return std::nullopt;
        }
        names.push_back(Utf8FromWide(path.c_str()));
    }
    return names;
}

}  // namespace

DropData DropDataFrom(IDataObject* data) {
    DropData drop;
    if (data == nullptr || !Offers(data, CF_HDROP)) return drop;
    drop.holdsFileList = true;
    const auto shellIdList = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST));
    if (Offers(data, shellIdList)) {
        if (auto names = NamesFromIdList(LockedMedium(data, shellIdList))) {
            drop.names = std::move(*names);
            return drop;
        }
    }
    drop.names = NamesFromHDrop(LockedMedium(data, CF_HDROP));
    return drop;
}

}  // namespace quarnel
