#include "platform/windows/support/OleDropData.hpp"

#include <gtest/gtest.h>

#include "FakeDataObject.hpp"
#include "platform/windows/support/WideText.hpp"

namespace quarnel {
namespace {

using testing::FakeDataObject;
using testing::HDropBytes;

TEST(OleDropData, FileListGivesTheFullNamesInDropOrder) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L"\\datei.txt";
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\b\\zwei.txt", L"C:\\a\\Größe ß.txt", longName}));

    const DropData drop = DropDataFrom(&data);

    EXPECT_TRUE(drop.holdsFileList);
    EXPECT_EQ(drop.names, (std::vector<std::string>{"C:\\b\\zwei.txt", "C:\\a\\Größe ß.txt",
                                                    Utf8FromWide(longName)}));
}

TEST(OleDropData, DataWithoutFormat15HoldsNoFileList) {
    FakeDataObject data;
    data.Offer(CF_UNICODETEXT, {'h', 0, 0, 0});

    const DropData drop = DropDataFrom(&data);

    EXPECT_FALSE(drop.holdsFileList);
    EXPECT_TRUE(drop.names.empty());
    EXPECT_EQ(data.getDataCalls, 0);
}

TEST(OleDropData, AnEmptyFileListStillHoldsAFileList) {
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({}));

    const DropData drop = DropDataFrom(&data);

    EXPECT_TRUE(drop.holdsFileList);
    EXPECT_EQ(drop.names, std::vector<std::string>{});
}

struct IdListFree {
    void operator()(ITEMIDLIST* list) const { ILFree(list); }
};
using IdList = std::unique_ptr<ITEMIDLIST, IdListFree>;

IdList ParsedName(const std::wstring& name) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHParseDisplayName(name.c_str(), nullptr, &list, 0, nullptr))) return nullptr;
    return IdList(list);
}

// CFSTR_SHELLIDLIST bytes: CIDA with the offsets, the parent's ID list, then each child's.
std::vector<BYTE> ShellIdListBytes(const ITEMIDLIST* parent,
                                   const std::vector<const ITEMIDLIST*>& children) {
    const UINT count = static_cast<UINT>(children.size());
    std::vector<BYTE> bytes(sizeof(UINT) * (count + 2));
    std::vector<UINT> offsets;
    const auto append = [&](const ITEMIDLIST* list) {
        offsets.push_back(static_cast<UINT>(bytes.size()));
        const auto* raw = reinterpret_cast<const BYTE*>(list);
        bytes.insert(bytes.end(), raw, raw + ILGetSize(list));
    };
    append(parent);
    for (const ITEMIDLIST* child : children) append(child);
    std::memcpy(bytes.data(), &count, sizeof count);
    std::memcpy(bytes.data() + sizeof(UINT), offsets.data(), offsets.size() * sizeof(UINT));
    return bytes;
}

// Explorer leaves a name too long for MAX_PATH out of CF_HDROP; its ID list still has it.
TEST(OleDropData, ShellIdListGivesTheNamesTheFileListLeftOut) {
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"quarnel-oledropdata";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring first = folder + L"\\erste.txt";
    const std::wstring second = folder + L"\\zweite.txt";
    for (const auto& name : {first, second}) {
        CloseHandle(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    const IdList parent = ParsedName(folder);
    const IdList secondList = ParsedName(second);
    const IdList firstList = ParsedName(first);
    ASSERT_TRUE(parent && firstList && secondList);

    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({first}));
    data.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST)),
               ShellIdListBytes(parent.get(),
                                {ILFindLastID(secondList.get()), ILFindLastID(firstList.get())}));

    const DropData drop = DropDataFrom(&data);

    EXPECT_TRUE(drop.holdsFileList);
    EXPECT_EQ(drop.names, (std::vector<std::string>{Utf8FromWide(second), Utf8FromWide(first)}));
    DeleteFileW(first.c_str());
    DeleteFileW(second.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(OleDropData, MalformedShellIdListFallsBackToTheFileList) {
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({L"C:\\eins.txt"}));
    data.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST)),
               {5, 0, 0, 0, 0xFF, 0xFF, 0, 0});

    const DropData drop = DropDataFrom(&data);

    EXPECT_EQ(drop.names, std::vector<std::string>{"C:\\eins.txt"});
}

}  // namespace
}  // namespace quarnel
