#include "platform/posix/PosixFileSystem.hpp"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "core/FolderWalk.hpp"
#include "platform/posix/EntryKindOf.hpp"
#include "platform/posix/FileDescriptor.hpp"
#include "platform/posix/UpperHalfListing.hpp"
#include "tests/TempFolder.hpp"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

TEST(PosixFileSystem, TellsFoldersFromFilesFollowingLinks) {
    testing::TempFolder temp;
    const fs::path folder = temp.Path() / "Ordner";
    const fs::path file = temp.Path() / "m\xE4rz.txt";  // not UTF-8: bytes pass through
    fs::create_directory(folder);
    std::ofstream(file) << "x";
    fs::create_directory_symlink(folder, temp.Path() / "link-to-folder");
    fs::create_symlink(temp.Path() / "nowhere", temp.Path() / "dangling");

    PosixFileSystem files;
    EXPECT_EQ(files.PathSeparator(), '/');
    EXPECT_EQ(files.Attributes(folder.string()), NameKind::Folder);
    EXPECT_EQ(files.Attributes(file.string()), NameKind::File);
    EXPECT_EQ(files.Attributes((temp.Path() / "link-to-folder").string()), NameKind::Folder);
    EXPECT_EQ(files.Attributes((temp.Path() / "dangling").string()), NameKind::File);
    EXPECT_EQ(files.Attributes((temp.Path() / "gone").string()), std::nullopt);
    EXPECT_EQ(files.Attributes("/"), NameKind::Folder);
}

TEST(PosixFileSystem, AnEntryOfUnknownTypeThatCannotBeStatedIsUnreadable) {
    testing::TempFolder temp;
    fs::create_directory(temp.Path() / "Ordner");
    std::ofstream(temp.Path() / "datei") << "x";
    const FileDescriptor folder(::open(temp.Path().c_str(), O_RDONLY | O_DIRECTORY));
    // as a file system that reports no types answers
    EXPECT_EQ(EntryKindOf(folder.Get(), "Ordner", DT_UNKNOWN), EntryKind::Folder);
    EXPECT_EQ(EntryKindOf(folder.Get(), "datei", DT_UNKNOWN), EntryKind::File);
    const StatAt failing = [](int, const char*, struct stat*, int) {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(EntryKindOf(folder.Get(), "Ordner", DT_UNKNOWN, failing), EntryKind::Unreadable);
    EXPECT_EQ(EntryKindOf(folder.Get(), "Ordner", DT_DIR, failing), EntryKind::Folder);
}

struct KindsByName final : FolderVisitor {
    void Entry(std::string_view name, EntryKind kind) override { kinds[std::string(name)] = kind; }
    std::map<std::string, EntryKind> kinds;
};

TEST(PosixFileSystem, ListsEveryEntryWithItsKindAndFollowsOnlyADroppedLink) {
    testing::TempFolder temp;
    const fs::path top = temp.Path() / "top";
    fs::create_directories(top / "Ordner");
    std::ofstream(top / ".versteckt") << "x";
    std::ofstream(top / "m\xE4rz.txt") << "x";
    fs::create_directory_symlink(top / "Ordner", top / "link-to-folder");
    fs::create_symlink(top / "nowhere", top / "dangling");
    ::mkfifo((top / "pipe").c_str(), 0600);
    fs::create_directory_symlink(top, temp.Path() / "dropped-link");

    PosixFileSystem files;
    KindsByName listed;
    const ListedFolder topListed = files.ListDroppedFolder(top.string(), listed);
    ASSERT_TRUE(topListed.complete);
    EXPECT_EQ(listed.kinds,
              (std::map<std::string, EntryKind>{{".versteckt", EntryKind::File},
                                                {"Ordner", EntryKind::Folder},
                                                {"dangling", EntryKind::File},
                                                {"link-to-folder", EntryKind::FolderLink},
                                                {"m\xE4rz.txt", EntryKind::File},
                                                {"pipe", EntryKind::File}}));

    KindsByName throughLink;
    EXPECT_TRUE(
        files.ListDroppedFolder((temp.Path() / "dropped-link").string(), throughLink).complete);
    EXPECT_EQ(throughLink.kinds.size(), listed.kinds.size());
    KindsByName notFollowed;
    EXPECT_FALSE(files.ListSubfolder(topListed.folder, "link-to-folder", notFollowed).complete);
    EXPECT_FALSE(files.ListDroppedFolder((temp.Path() / "gone").string(), notFollowed).complete);
    EXPECT_TRUE(notFollowed.kinds.empty());
}

struct InOrder final : FolderVisitor {
    void Entry(std::string_view name, EntryKind kind) override {
        names.emplace_back(name);
        if (kind == EntryKind::FolderLink) ++links;
    }
    std::vector<std::string> names;
    int links = 0;
};

TEST(PosixFileSystem, ALargeFolderListedInTwoHalvesKeepsTheOrderOfOneListing) {
    testing::TempFolder temp;
    const fs::path big = temp.Path() / "gross";
    fs::create_directory(big);
    for (int i = 0; i < 12'000; ++i) {
        std::ofstream(big / ("Datei mit langem Namen " + std::to_string(i) + ".txt"));
    }
    for (int i = 0; i < 40; ++i) {
        fs::create_directory_symlink(temp.Path(), big / ("Verweis " + std::to_string(i)));
    }
    const FileDescriptor folder(::open(big.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!UpperHalfListing(folder.Get(), 0).Started()) {
        GTEST_SKIP() << big << " lies on no ext4 file system that keeps it as a hash tree";
    }

    std::vector<std::string> oneListing;
    DIR* stream = ::opendir(big.c_str());
    ASSERT_NE(stream, nullptr);
    while (const dirent* entry = ::readdir(stream)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") oneListing.push_back(name);
    }
    ::closedir(stream);

    PosixFileSystem files;
    InOrder listed;
    ASSERT_TRUE(files.ListDroppedFolder(big.string(), listed).complete);
    EXPECT_EQ(listed.names.size(), 12'040u);
    EXPECT_EQ(listed.names, oneListing);
    EXPECT_EQ(listed.links, 40);
}

// The same listings, all on the calling thread.
class OneThreadFileSystem final : public FileSystem {
public:
    char PathSeparator() const override { return '/'; }
    std::optional<NameKind> Attributes(const std::string& path) override {
        return files_.Attributes(path);
    }
    ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) override {
        return files_.ListDroppedFolder(path, visitor);
    }
    ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent, std::string_view name,
                               FolderVisitor& visitor) override {
        return files_.ListSubfolder(parent, name, visitor);
    }
    std::unique_ptr<FileSystem> ForSecondThread() override { return nullptr; }

private:
    PosixFileSystem files_;
};

std::vector<std::string> All(FoundPaths& found) {
    std::vector<std::string> all;
    found.TakeEachFound([&](std::string_view path) { all.emplace_back(path); });
    return all;
}

TEST(PosixFileSystem, WalksALinkCycleOnceAndBothThreadsGiveTheSameOrder) {
    testing::TempFolder temp;
    const fs::path root = temp.Path() / "A";
    for (int i = 0; i < 40; ++i) {
        fs::path folder = root / ("sub" + std::to_string(i));
        for (int depth = 0; depth <= i % 4; ++depth, folder /= "tiefer") {
            fs::create_directories(folder);
            std::ofstream(folder / ("datei" + std::to_string(depth))) << "x";
        }
    }
    fs::create_directory_symlink(root, root / "sub3" / "zurück");

    DropProgress progress;
    std::vector<std::string> unreadable;
    OneThreadFileSystem oneThread;
    ExpandDirectory(root.string(), -1, {oneThread, progress}, unreadable);
    const auto files = All(FoundFiles);
    const auto dirs = All(FoundDirs);
    EXPECT_EQ(files.size(), 100u);
    EXPECT_EQ(dirs.size(), 101u);  // 100 folders and the link, listed once, never walked
    EXPECT_EQ(progress.NamesFound(), 201u);

    PosixFileSystem twoThreads;
    ExpandDirectory(root.string(), -1, {twoThreads, progress}, unreadable);
    EXPECT_EQ(All(FoundFiles), files);
    EXPECT_EQ(All(FoundDirs), dirs);
    EXPECT_TRUE(unreadable.empty());

    // Dropped itself, the link is walked: its target's entries appear under its own name.
    ExpandDirectory((root / "sub3" / "zurück").string(), -1, {twoThreads, progress}, unreadable);
    EXPECT_EQ(All(FoundFiles).size(), 100u);
}

// A chain "d/d/d/..." with an empty sibling "e" at every level, made and removed through
// descriptors, since its full path is longer than the system takes in one call.
class DeepTree {
public:
    DeepTree(const fs::path& root, int depth) : root_(root), depth_(depth) {
        fs::create_directory(root_);
        int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < depth_; ++level) {
            ::mkdirat(fd, "d", 0755);
            ::mkdirat(fd, "e", 0755);
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        ::close(::openat(fd, "unten.txt", O_CREAT | O_WRONLY, 0644));
        ::close(fd);
    }
    ~DeepTree() {
        int fd = ::open(root_.c_str(), O_RDONLY | O_DIRECTORY);
        for (int level = 0; level < depth_; ++level) {
            const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = next;
        }
        ::unlinkat(fd, "unten.txt", 0);
        for (int level = 0; level < depth_; ++level) {
            const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = parent;
            ::unlinkat(fd, "d", AT_REMOVEDIR);
            ::unlinkat(fd, "e", AT_REMOVEDIR);
        }
        ::close(fd);
    }

private:
    fs::path root_;
    int depth_;
};

// Lowers the number of descriptors the process may have open, for a while.
class FewDescriptors {
public:
    explicit FewDescriptors(rlim_t most) {
        ::getrlimit(RLIMIT_NOFILE, &before_);
        rlimit few = before_;
        few.rlim_cur = most;
        ::setrlimit(RLIMIT_NOFILE, &few);
    }
    ~FewDescriptors() { ::setrlimit(RLIMIT_NOFILE, &before_); }
    FewDescriptors(const FewDescriptors&) = delete;
    FewDescriptors& operator=(const FewDescriptors&) = delete;

private:
    rlimit before_{};
};

TEST(PosixFileSystem, WalksATreeDeeperThanAnyPathTheSystemTakes) {
    testing::TempFolder temp(testing::TempFolder::FastParent());
    constexpr int cDepth = 3000;  // 6,000 bytes of path at the bottom
    const DeepTree tree(temp.Path() / "tief", cDepth);

    DropProgress progress;
    std::vector<std::string> unreadable;
    PosixFileSystem files;
    {
        // Every level waits with a subfolder still to list: the walk holds on to each, yet
        // keeps only a few of them open.
        const FewDescriptors few(200);
        ExpandDirectory((temp.Path() / "tief").string(), -1, {files, progress}, unreadable);
    }
    EXPECT_TRUE(unreadable.empty());
    std::vector<std::string> found;
    FoundFiles.TakeEachFound([&](std::string_view path) { found.emplace_back(path); });
    std::string bottom = (temp.Path() / "tief").string();
    for (int level = 0; level < cDepth; ++level) bottom += "/d";
    EXPECT_GT(bottom.size(), static_cast<std::size_t>(PATH_MAX));
    EXPECT_EQ(found, std::vector<std::string>{bottom + "/unten.txt"});
    // dropped by those names, the bottom file and folder are found as the walk finds them
    EXPECT_EQ(files.Attributes(bottom + "/unten.txt"), NameKind::File);
    EXPECT_EQ(files.Attributes(bottom), NameKind::Folder);
    EXPECT_EQ(files.Attributes(bottom + "/weg.txt"), std::nullopt);
    int folders = 0;
    FoundDirs.TakeEachFound([&](std::string_view) { ++folders; });
    EXPECT_EQ(folders, 2 * cDepth);
}

// Made and removed through descriptors, so that it works where a path is too long for the
// system: R/top/oben.txt and R/top/f00 ... f39 with a file in each.
void MakeFolderWithFile(int at, const std::string& name, const std::string& file) {
    ::mkdirat(at, name.c_str(), 0755);
    const FileDescriptor folder(::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY));
    ::close(::openat(folder.Get(), file.c_str(), O_CREAT | O_WRONLY, 0644));
}

void MakeSwapTree(int at, int count) {
    ::mkdirat(at, "R", 0755);
    const FileDescriptor r(::openat(at, "R", O_RDONLY | O_DIRECTORY));
    MakeFolderWithFile(r.Get(), "top", "oben.txt");
    const FileDescriptor top(::openat(r.Get(), "top", O_RDONLY | O_DIRECTORY));
    for (int i = 0; i < count; ++i) {
        MakeFolderWithFile(top.Get(), "f" + std::to_string(100 + i), "datei");
    }
}

// S/f100 ... with SECRET files: what the walk must never reach.
fs::path MakeSecrets(const fs::path& at, int count) {
    for (int i = 0; i < count; ++i) {
        const fs::path folder = at / "S" / ("f" + std::to_string(100 + i));
        fs::create_directories(folder);
        std::ofstream(folder / ("SECRET_" + std::to_string(i)));
    }
    return at / "S";
}

void RemoveAt(int at, const char* name) {
    if (::unlinkat(at, name, 0) == 0) return;
    const int folder = ::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (folder < 0) return;
    DIR* entries = ::fdopendir(folder);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(entries)) {
        if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..") {
            names.emplace_back(entry->d_name);
        }
    }
    for (const std::string& inside : names) RemoveAt(folder, inside.c_str());
    ::closedir(entries);
    ::unlinkat(at, name, AT_REMOVEDIR);
}

bool AnySecret(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (path.find("SECRET") != std::string::npos) return true;
    }
    return false;
}

TEST(PosixFileSystem, AFolderSwappedForALinkBeforeItIsOpenedIsUnreadableOnEitherThread) {
    testing::TempFolder temp(testing::TempFolder::FastParent());
    constexpr int cFolders = 40;
    const fs::path secrets = MakeSecrets(temp.Path(), cFolders);
    // Once near the system's root, once beneath a chain of folders longer than any path the
    // system takes in one piece.
    const FileDescriptor tempFolder(::open(temp.Path().c_str(), O_RDONLY | O_DIRECTORY));
    ::mkdirat(tempFolder.Get(), "tief", 0755);
    std::string deep = (temp.Path() / "tief").string();
    FileDescriptor bottom(::open(deep.c_str(), O_RDONLY | O_DIRECTORY));
    const std::string longName(250, 'd');
    for (int level = 0; level < 20; ++level, deep += "/" + longName) {
        ::mkdirat(bottom.Get(), longName.c_str(), 0755);
        bottom = FileDescriptor(::openat(bottom.Get(), longName.c_str(), O_RDONLY | O_DIRECTORY));
    }
    ASSERT_GT(deep.size(), static_cast<std::size_t>(PATH_MAX));

    for (const auto& [at, path] :
         {std::pair(tempFolder.Get(), temp.Path().string()), std::pair(bottom.Get(), deep)}) {
        MakeSwapTree(at, cFolders);
        // Each fNNN, about to be opened by name, becomes a link to its secret twin, and so does
        // the folder it was found in: a walk that opens it by its path comes out in S.
        std::mutex mutex;
        std::map<std::thread::id, int> swapsOn;
        const auto caller = std::this_thread::get_id();
        PosixFileSystem files([&](int parent, const char* name) {
            if (name[0] != 'f') return;
            {
                const std::lock_guard lock(mutex);
                ++swapsOn[std::this_thread::get_id()];
            }
            const std::string moved = std::string(name) + ".weg";
            ::renameat(parent, name, parent, moved.c_str());
            ::symlinkat((secrets / name).c_str(), parent, name);
            const FileDescriptor above(::openat(parent, "..", O_RDONLY | O_DIRECTORY));
            if (::renameat2(above.Get(), "top", above.Get(), "top.weg", RENAME_NOREPLACE) == 0) {
                ::symlinkat(secrets.c_str(), above.Get(), "top");
            }
            // Each lister lingers, so that others take folders of its subtree.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        });

        DropProgress progress;
        std::vector<std::string> unreadable;
        ExpandDirectory(path + "/R", -1, {files, progress}, unreadable);
        // Named below the place of R, which is long in the second round.
        const auto below = [&](std::vector<std::string> paths) {
            std::set<std::string> names;
            for (std::string& name : paths) names.insert(name.substr(path.size()));
            return names;
        };
        const auto found = All(FoundFiles);
        EXPECT_FALSE(AnySecret(found));
        EXPECT_EQ(below(found), std::set<std::string>{"/R/top/oben.txt"});
        std::set<std::string> swapped;
        for (int i = 0; i < cFolders; ++i) swapped.insert("/R/top/f" + std::to_string(100 + i));
        EXPECT_EQ(below(unreadable), swapped);
        // Each way a folder is opened: by a lister first, and by one after it moved on to
        // another part of the tree; never by the calling thread.
        EXPECT_EQ(swapsOn.count(caller), 0u);
        ASSERT_GE(swapsOn.size(), 2u);
        int mostSwaps = 0;
        for (const auto& [thread, swaps] : swapsOn) mostSwaps = std::max(mostSwaps, swaps);
        EXPECT_GE(mostSwaps, 2);
        RemoveAt(at, "R");
    }
}

TEST(PosixFileSystem, AFolderSwappedForALinkAgainAndAgainNeverLeadsOutOfTheDroppedFolder) {
    testing::TempFolder temp(testing::TempFolder::FastParent());
    constexpr int cFolders = 60;
    const fs::path secrets = MakeSecrets(temp.Path(), cFolders);
    const FileDescriptor tempFolder(::open(temp.Path().c_str(), O_RDONLY | O_DIRECTORY));
    MakeSwapTree(tempFolder.Get(), cFolders);
    const fs::path top = temp.Path() / "R" / "top";
    const fs::path moved = temp.Path() / "R" / "top.weg";

    std::atomic<bool> stop = false;
    std::thread swapper([&] {
        while (!stop) {
            ::rename(top.c_str(), moved.c_str());
            ::symlink(secrets.c_str(), top.c_str());
            ::unlink(top.c_str());
            ::rename(moved.c_str(), top.c_str());
        }
    });
    DropProgress progress;
    std::vector<std::string> unreadable;
    PosixFileSystem files;
    const auto start = std::chrono::steady_clock::now();
    int runs = 0;
    bool leaked = false;
    while (!leaked && runs < 300 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        ExpandDirectory((temp.Path() / "R").string(), -1, {files, progress}, unreadable);
        leaked = AnySecret(All(FoundFiles));
        ++runs;
    }
    stop = true;
    swapper.join();
    EXPECT_FALSE(leaked) << "in run " << runs;
    EXPECT_GT(runs, 10);
}

}  // namespace
}  // namespace quarnel
