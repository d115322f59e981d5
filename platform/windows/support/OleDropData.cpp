#include "OleDropData.hpp"

#include <windows.h>

#include <shlobj.h>

#include <cstring>
#include <memory>
#include <optional>
#include <span>

#include "LongPathPrefix.hpp"
#include "WideText.hpp"

namespace quarnel {
namespace {

// Longest name Windows accepts with the "\\?\" prefix, in UTF-16 code units.
constexpr DWORD cLongPathLength = 32768;

using Block = std::span<const BYTE>;

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

    // Empty when the data could not be had; the block is the sender's, its size all we know.
    Block Bytes() const {
        if (bytes_ == nullptr) return {};
        return {static_cast<const BYTE*>(bytes_), GlobalSize(medium_.hGlobal)};
    }

private:
    STGMEDIUM medium_{};
    bool held_ = false;
    void* bytes_ = nullptr;
};

// A value of the block at a byte offset; the caller has checked that it lies inside. The
// sender decides the offsets, so a value may stand unaligned.
template <typename Value>
Value ReadAt(Block block, std::size_t at) {
    Value value;
    std::memcpy(&value, block.data() + at, sizeof value);
    return value;
}

// The names of a file list, each ended by a zero unit, the list by an empty name; nothing when
// the list runs off the block.
template <typename Unit>
std::optional<std::vector<std::basic_string<Unit>>> SplitNames(Block list) {
    std::vector<std::basic_string<Unit>> names;
    std::basic_string<Unit> name;
    for (std::size_t at = 0; list.size() - at >= sizeof(Unit); at += sizeof(Unit)) {
        const Unit unit = ReadAt<Unit>(list, at);
        if (unit != 0) {
            name += unit;
        } else if (name.empty()) {
            return names;
        } else {
            names.push_back(std::move(name));
            name.clear();
        }
    }
    return std::nullopt;
}

std::wstring WideFromAnsi(const std::string& name) {
    const int length =
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length);
    return wide;
}

}  // namespace

// CF_HDROP as documented: DROPFILES, then from pFiles the names, wide or in the ANSI code page.
std::optional<std::vector<std::string>> NamesFromHDrop(Block block) {
    if (block.size() < sizeof(DROPFILES)) return std::nullopt;
    const auto header = ReadAt<DROPFILES>(block, 0);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles > block.size()) return std::nullopt;
    const Block list = block.subspan(header.pFiles);
    std::vector<std::string> names;
    if (header.fWide) {
        auto wide = SplitNames<wchar_t>(list);
        if (!wide) return std::nullopt;
        for (const auto& name : *wide) names.push_back(Utf8FromWide(name));
    } else {
        auto ansi = SplitNames<char>(list);
        if (!ansi) return std::nullopt;
        for (const auto& name : *ansi) names.push_back(Utf8FromWide(WideFromAnsi(name)));
    }
    return names;
}

namespace {

// Whether the ID list at offset, item by item (each SHITEMID counts its own cb), reaches its
// zero terminator inside the block.
bool IdListInside(Block block, std::size_t offset) {
    for (;;) {
        if (offset > block.size() || block.size() - offset < sizeof(USHORT)) return false;
        const auto itemSize = ReadAt<USHORT>(block, offset);
        if (itemSize == 0) return true;
        if (itemSize < sizeof(USHORT)) return false;
        offset += itemSize;
    }
}

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};

}  // namespace

// Every item of the shell ID list (CIDA: the count, then count + 1 offsets, the parent's list
// first) as a file system name, or nothing when one of them is not one (a virtual item) or the
// list does not lie wholly inside its block.
std::optional<std::vector<std::string>> NamesFromIdList(Block block) {
    if (block.size() < sizeof(UINT)) return std::nullopt;
    const auto count = ReadAt<UINT>(block, 0);
    if (count == 0 || (std::size_t{count} + 2) * sizeof(UINT) > block.size()) return std::nullopt;
    std::vector<const ITEMIDLIST*> lists;
    for (std::size_t i = 0; i <= count; ++i) {
        const auto offset = ReadAt<UINT>(block, (i + 1) * sizeof(UINT));
        if (!IdListInside(block, offset)) return std::nullopt;
        lists.push_back(reinterpret_cast<const ITEMIDLIST*>(block.data() + offset));
    }
    std::vector<std::string> names;
    std::wstring path(cLongPathLength, L'\0');
    for (std::size_t i = 1; i <= count; ++i) {
        const std::unique_ptr<ITEMIDLIST, IdListFree> absolute(ILCombine(lists[0], lists[i]));
        if (!absolute ||
            !SHGetPathFromIDListEx(absolute.get(), path.data(), cLongPathLength, GPFIDL_DEFAULT)) {
            return std::nullopt;
        }
        names.push_back(Utf8FromWide(path.c_str()));
    }
    return names;
}

DropData DropDataFrom(IDataObject* data) {
    DropData drop;
    if (data == nullptr || !Offers(data, CF_HDROP)) return drop;
    const auto shellIdList = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST));
    std::optional<std::vector<std::string>> names;
    if (Offers(data, shellIdList)) names = NamesFromIdList(LockedMedium(data, shellIdList).Bytes());
    if (!names) names = NamesFromHDrop(LockedMedium(data, CF_HDROP).Bytes());
    if (names) {
        drop.holdsFileList = true;
        for (std::string& name : *names) name = WithoutLongPathPrefix(name);
        drop.names = std::move(*names);
    }
    return drop;
}

}  // namespace quarnel
