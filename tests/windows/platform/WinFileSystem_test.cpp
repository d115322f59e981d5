#include "platform/windows/WinFileSystem.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <vector>

#include "FolderLink.hpp"
#include "core/FolderWalk.hpp"
#include "platform/windows/support/WideText.hpp"
#include "tests/Fakes.hpp"
#include "tests/windows/WinTempFolder.hpp"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

struct KindsByName final : FolderVisitor {
    void Entry(std::string_view name, EntryKind kind) override { kinds[std::string(name)] = kind; }
    std::map<std::string, EntryKind> kinds;
};

std::vector<std::string> Found(FoundPaths& paths) {
    std::vector<std::string> found;
    paths.TakeEachFound([&](std::string_view path) { found.emplace_back(path); });
    return found;
}

std::vector<std::string> Expanded(WinFileSystem& files, const std::string& folder) {
    DropProgress progress;
    std::vector<std::string> unreadable;
    ExpandDirectory(folder, -1, {files, progress}, unreadable);
    EXPECT_TRUE(unreadable.empty());
    std::vector<std::string> found = Found(FoundFiles);
    for (std::string& dir : Found(FoundDirs)) found.push_back("dir " + dir);
    return found;
}

void MakeFile(const fs::path& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    std::ofstream(path) << "x";
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes));
}

TEST(WinFileSystem, ListsHiddenAndSystemEntriesAndTellsFoldersFromFiles) {
    testing::WinTempFolder temp;
    const fs::path top = temp.Path() / L"top";
    fs::create_directories(top / L"Ordner");
    MakeFile(top / L"\u00C4rger.txt");
    MakeFile(top / L"versteckt.txt", FILE_ATTRIBUTE_HIDDEN);
    MakeFile(top / L"system.sys", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    MakeFile(top / L"Ordner" / L"innen.txt");
    ASSERT_TRUE(::SetFileAttributesW((top / L"Ordner").c_str(), FILE_ATTRIBUTE_DIRECTORY |
                                                                    FILE_ATTRIBUTE_HIDDEN |
                                                                    FILE_ATTRIBUTE_SYSTEM));

    WinFileSystem files;
    const std::string topName = temp.Name() + "\\top";
    EXPECT_EQ(files.PathSeparator(), '\\');
    EXPECT_EQ(files.Attributes(topName), NameKind::Folder);
    EXPECT_EQ(files.Attributes(topName + "\\Ordner"), NameKind::Folder);
    EXPECT_EQ(files.Attributes(topName + "\\\xC3\x84rger.txt"), NameKind::File);
    EXPECT_EQ(files.Attributes(topName + "\\versteckt.txt"), NameKind::File);
    EXPECT_EQ(files.Attributes(topName + "\\weg.txt"), std::nullopt);

    KindsByName listed;
    ASSERT_TRUE(files.ListDroppedFolder(topName, listed).complete);
    EXPECT_EQ(listed.kinds, (std::map<std::string, EntryKind>{{".", EntryKind::Folder},
                                                              {"..", EntryKind::Folder},
                                                              {"Ordner", EntryKind::Folder},
                                                              {"\xC3\x84rger.txt", EntryKind::File},
                                                              {"system.sys", EntryKind::File},
                                                              {"versteckt.txt", EntryKind::File}}));

    // the files of a folder come in the order the file system lists them
    std::vector<std::string> walked = Expanded(files, topName);
    ASSERT_EQ(walked.size(), 5u);
    std::sort(walked.begin(), walked.begin() + 3);
    EXPECT_EQ(walked, (std::vector<std::string>{
                          topName + "\\system.sys", topName + "\\versteckt.txt",
                          topName + "\\\xC3\x84rger.txt", topName + "\\Ordner\\innen.txt",
                          "dir " + topName + "\\Ordner"}));
}

TEST(WinFileSystem, AFolderThatIsMissingCannotBeListedAnEmptyOneCan) {
    testing::WinTempFolder temp;
    WinFileSystem files;
    KindsByName listed;
    EXPECT_FALSE(files.ListDroppedFolder(temp.Name() + "\\fehlt", listed).complete);
    EXPECT_TRUE(listed.kinds.empty());
    fs::create_directory(temp.Path() / L"leer");
    EXPECT_TRUE(files.ListDroppedFolder(temp.Name() + "\\leer", listed).complete);
    EXPECT_EQ(listed.kinds.size(), 2u);  // "." and ".."
}

TEST(WinFileSystem, ListsAFolderLinkButWalksOnlyADroppedOne) {
    testing::WinTempFolder temp;
    fs::path tree = testing::ProvidedLinkTree();
    if (tree.empty()) {
        tree = temp.Path();
        fs::create_directory(tree / L"target");
        MakeFile(tree / L"target" / L"inner.txt");
        ASSERT_TRUE(testing::MakeJunction(tree / L"link", tree / L"target"));
    }
    const std::string treeName = Utf8FromWide(tree.wstring());

    WinFileSystem files;
    KindsByName listed;
    const ListedFolder treeListed = files.ListDroppedFolder(treeName, listed);
    ASSERT_TRUE(treeListed.complete);
    EXPECT_EQ(listed.kinds["link"], EntryKind::FolderLink);
    EXPECT_EQ(listed.kinds["target"], EntryKind::Folder);
    KindsByName throughLink;
    EXPECT_FALSE(files.ListSubfolder(treeListed.folder, "link", throughLink).complete);
    EXPECT_TRUE(throughLink.kinds.empty());

    // inside the walk the link is a name, not a way into the tree a second time
    const std::vector<std::string> walked = Expanded(files, treeName);
    EXPECT_EQ(std::count(walked.begin(), walked.end(), treeName + "\\target\\inner.txt"), 1);
    EXPECT_EQ(std::count(walked.begin(), walked.end(), "dir " + treeName + "\\link"), 1);
    EXPECT_EQ(std::count(walked.begin(), walked.end(), treeName + "\\link\\inner.txt"), 0);

    // dropped, the link is what the user chose: it is walked
    EXPECT_EQ(Expanded(files, treeName + "\\link"),
              (std::vector<std::string>{treeName + "\\link\\inner.txt"}));
}

TEST(WinFileSystem, AFoundFolderSwappedForAnotherOrForALinkIsNotListed) {
    testing::WinTempFolder temp;
    fs::path tree = testing::ProvidedLinkTree();
    if (tree.empty()) {
        tree = temp.Path();
        for (const wchar_t* folder : {L"a\\top", L"b", L"c\\top", L"S"}) {
            fs::create_directories(tree / L"swap" / folder);
        }
        ASSERT_TRUE(testing::MakeJunction(tree / L"swap\\b\\top", tree / L"swap\\S"));
    }
    // Each of a, b and c holds a top: in a and c a folder, in b a link to S. Folders are
    // swapped by moving a, b and c, which moves no link itself (Wine would move its target).
    const fs::path swap = tree / L"swap";
    MakeFile(swap / L"a\\top\\oben.txt");
    MakeFile(swap / L"S\\SECRET.txt");
    const auto move = [&](const wchar_t* from, const wchar_t* to) {
        return ::MoveFileW((swap / from).c_str(), (swap / to).c_str()) != FALSE;
    };

    WinFileSystem files;
    KindsByName listed;
    const ListedFolder a = files.ListDroppedFolder(Utf8FromWide((swap / L"a").wstring()), listed);
    ASSERT_TRUE(a.complete);
    KindsByName top;
    EXPECT_TRUE(files.ListSubfolder(a.folder, "top", top).complete);
    EXPECT_EQ(top.kinds.count("oben.txt"), 1u);

    // Since a was listed, its top has become another folder, then a link.
    ASSERT_TRUE(move(L"a", L"a.weg"));
    ASSERT_TRUE(move(L"c", L"a"));
    KindsByName another;
    EXPECT_FALSE(files.ListSubfolder(a.folder, "top", another).complete);
    EXPECT_TRUE(another.kinds.empty());
    ASSERT_TRUE(move(L"a", L"c"));
    ASSERT_TRUE(move(L"b", L"a"));
    KindsByName link;
    EXPECT_FALSE(files.ListSubfolder(a.folder, "top", link).complete);
    EXPECT_TRUE(link.kinds.empty());
    ASSERT_TRUE(move(L"a", L"b"));
    ASSERT_TRUE(move(L"a.weg", L"a"));
}

TEST(WinFileSystem, WalksBeyondTheOldPathLimitAndShowsNoPrefix) {
    testing::WinTempFolder temp;
    const std::wstring level(60, L'v');
    std::wstring deepest = L"\\\\?\\" + temp.Path().wstring();
    for (int depth = 0; depth < 8; ++depth) {
        deepest += L"\\" + level + std::to_wstring(depth);
        ASSERT_TRUE(::CreateDirectoryW(deepest.c_str(), nullptr)) << ::GetLastError();
    }
    const HANDLE file = ::CreateFileW((deepest + L"\\tief.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);

    WinFileSystem files;
    const std::vector<std::string> walked = Expanded(files, temp.Name());
    ASSERT_EQ(walked.size(), 9u);
    const std::string expected = Utf8FromWide(deepest.substr(4)) + "\\tief.txt";
    EXPECT_GT(expected.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(walked.front(), expected);
    EXPECT_TRUE(files.Attributes(expected).has_value());
}

TEST(LongPathForm, PrefixesFullPathsOnly) {
    EXPECT_EQ(LongPathForm("C:\\a\\b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(LongPathForm("\\\\server\\share\\a"), L"\\\\?\\UNC\\server\\share\\a");
    EXPECT_EQ(LongPathForm("\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(LongPathForm("relativ\\a"), L"relativ\\a");
}

}  // namespace
}  // namespace quarnel
