#include "platform/windows/support/OleDropData.hpp"

#include <gtest/gtest.h>

#include "FakeDataObject.hpp"
#include "platform/windows/support/WideText.hpp"
#include "tests/windows/WinTempFolder.hpp"

namespace quarnel {
namespace {

using testing::FakeDataObject;
using testing::HDropBytes;

TEST(OleDropData, FileListGivesTheFullNamesInDropOrder) {
    const std::wstring longName = L"C:\\" + std::wstring(300, L'x') + L"\\datei.txt";
    FakeDataObject data;
    // the long-path prefix is no part of a name
    data.Offer(CF_HDROP, HDropBytes({L"C:\\b\\zwei.txt", L"C:\\a\\Größe ß.txt", longName,
                                     L"\\\\?\\" + longName, L"\\\\?\\UNC\\server\\share\\a",
                                     L"\\\\?\\unc\\s\\t", L"\\\\?\\Volume{1}\\x"}));

    const DropData drop = DropDataFrom(&data);

    EXPECT_TRUE(drop.holdsFileList);
    EXPECT_EQ(drop.names, (std::vector<std::string>{"C:\\b\\zwei.txt", "C:\\a\\Größe ß.txt",
                                                    Utf8FromWide(longName), Utf8FromWide(longName),
                                                    "\\\\server\\share\\a", "\\\\s\\t",
                                                    "\\\\?\\Volume{1}\\x"}));

    // an older source writes the names in the ANSI code page
    const char names[] = "C:\\alt.txt\0C:\\x\0";
    std::vector<BYTE> ansi(sizeof(DROPFILES));
    ansi[0] = sizeof(DROPFILES);
    ansi.insert(ansi.end(), names, names + sizeof names);
    FakeDataObject old;
    old.Offer(CF_HDROP, ansi);
    EXPECT_EQ(DropDataFrom(&old).names, (std::vector<std::string>{"C:\\alt.txt", "C:\\x"}));
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

CLIPFORMAT ShellIdListFormat() {
    return static_cast<CLIPFORMAT>(RegisterClipboardFormatW(CFSTR_SHELLIDLIST));
}

// Two files in a fresh folder and the shell ID list of both, the second first.
struct TwoFiles {
    TwoFiles() {
        for (const auto& name : {first, second}) {
            CloseHandle(
                CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
    }
    std::vector<BYTE> IdListBytes() const {
        const IdList parent = ParsedName(folder.Path().wstring());
        const IdList secondList = ParsedName(second);
        const IdList firstList = ParsedName(first);
        if (!parent || !firstList || !secondList) return {};
        return ShellIdListBytes(parent.get(),
                                {ILFindLastID(secondList.get()), ILFindLastID(firstList.get())});
    }

    testing::WinTempFolder folder;
    std::wstring first = folder.Path().wstring() + L"\\erste.txt";
    std::wstring second = folder.Path().wstring() + L"\\zweite.txt";
};

// Explorer leaves a name too long for MAX_PATH out of CF_HDROP; its ID list still has it.
TEST(OleDropData, ShellIdListGivesTheNamesTheFileListLeftOut) {
    const TwoFiles files;
    FakeDataObject data;
    data.Offer(CF_HDROP, HDropBytes({files.first}));
    data.Offer(ShellIdListFormat(), files.IdListBytes());

    const DropData drop = DropDataFrom(&data);

    EXPECT_TRUE(drop.holdsFileList);
    EXPECT_EQ(drop.names,
              (std::vector<std::string>{Utf8FromWide(files.second), Utf8FromWide(files.first)}));
}

// A block as a drag source sent it: its bytes, of which only the first blockSize are the block.
struct Block {
    const char* what;
    std::vector<BYTE> bytes;
    std::size_t blockSize;
};

// A copy of a block's bytes that ends right where a page begins that the process may not read:
// a parser reading one byte past the block stops the test.
class GuardedBlock {
public:
    explicit GuardedBlock(const Block& block) {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        const std::size_t page = system.dwPageSize;
        const std::size_t pages = block.blockSize / page + 1;
        memory_ = static_cast<BYTE*>(
            VirtualAlloc(nullptr, (pages + 1) * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD previous = 0;
        VirtualProtect(memory_ + pages * page, page, PAGE_NOACCESS, &previous);
        bytes_ = {memory_ + pages * page - block.blockSize, block.blockSize};
        if (block.blockSize > 0) std::memcpy(bytes_.data(), block.bytes.data(), block.blockSize);
    }
    ~GuardedBlock() { VirtualFree(memory_, 0, MEM_RELEASE); }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    std::span<const BYTE> Bytes() const { return bytes_; }

private:
    BYTE* memory_;
    std::span<BYTE> bytes_;
};

void Put(std::vector<BYTE>& bytes, std::size_t at, UINT value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

// The drag source is another program: whatever its ID list claims, nothing is read past the
// block, and the file list serves instead.
TEST(OleDropData, AShellIdListThatDoesNotFitItsBlockFallsBackToTheFileList) {
    const TwoFiles files;
    const std::vector<BYTE> good = files.IdListBytes();
    ASSERT_FALSE(good.empty());
    const std::size_t parentAt = 4 * sizeof(UINT);
    std::vector<BYTE> offsetPastEnd = good;
    Put(offsetPastEnd, 2 * sizeof(UINT), static_cast<UINT>(good.size()));
    std::vector<BYTE> hugeCount = good;
    Put(hugeCount, 0, 0x80000000u);
    std::vector<BYTE> itemPastEnd = good;
    itemPastEnd[parentAt] = 0xFF;
    itemPastEnd[parentAt + 1] = 0xFF;
    std::vector<BYTE> endlessChain = good;
    endlessChain[good.size() - 2] = 4;

    for (const Block& idList : std::vector<Block>{
             {"an empty block", {}, 0},
             {"a header cut short", good, 2 * sizeof(UINT)},
             {"a count of 2^31", hugeCount, good.size()},
             {"an offset at the end", offsetPastEnd, good.size()},
             {"an item longer than the block", itemPastEnd, good.size()},
             {"a terminator just past the block", good, good.size() - 2},
             {"a chain that runs off the block", endlessChain, good.size()},
         }) {
        FakeDataObject data;
        data.Offer(CF_HDROP, HDropBytes({L"C:\\eins.txt"}));
        data.OfferCutShort(ShellIdListFormat(), idList.bytes, idList.blockSize);

        const DropData drop = DropDataFrom(&data);

        EXPECT_TRUE(drop.holdsFileList) << idList.what;
        EXPECT_EQ(drop.names, std::vector<std::string>{"C:\\eins.txt"}) << idList.what;
        EXPECT_EQ(NamesFromIdList(GuardedBlock(idList).Bytes()), std::nullopt) << idList.what;
    }
}

TEST(OleDropData, AFileListThatDoesNotFitItsBlockIsNoFileList) {
    const std::vector<BYTE> good = HDropBytes({L"C:\\eins.txt", L"C:\\zwei.txt"});
    std::vector<BYTE> listPastEnd = good;
    Put(listPastEnd, 0, 0x10000);
    std::vector<BYTE> listInHeader = good;
    Put(listInHeader, 0, sizeof(UINT));

    for (const Block& fileList : std::vector<Block>{
             {"an empty block", {}, 0},
             {"a header cut short", good, sizeof(DROPFILES) - 4},
             {"a list past the end", listPastEnd, good.size()},
             {"a list inside the header", listInHeader, good.size()},
             {"a list without its closing terminator", good, good.size() - 2},
             {"a name cut short", good, sizeof(DROPFILES) + 6},
         }) {
        // and the shell ID list, when there is one, is of no use either
        for (const bool withIdList : {false, true}) {
            FakeDataObject data;
            data.OfferCutShort(CF_HDROP, fileList.bytes, fileList.blockSize);
            if (withIdList) data.Offer(ShellIdListFormat(), {0, 0, 0, 0x80, 0xFF, 0xFF});

            const DropData drop = DropDataFrom(&data);

            EXPECT_FALSE(drop.holdsFileList) << fileList.what << ", ID list " << withIdList;
            EXPECT_TRUE(drop.names.empty()) << fileList.what << ", ID list " << withIdList;
        }
        EXPECT_EQ(NamesFromHDrop(GuardedBlock(fileList).Bytes()), std::nullopt) << fileList.what;
    }
}

}  // namespace
}  // namespace quarnel
