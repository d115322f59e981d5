#include "core/ReadAhead.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quarnel {
namespace {

using namespace std::chrono_literals;

// Folders only, each under a random earlier one, listed by a file system whose listings take
// their time: each folder its own, or, for the folder `hanging`, until the test releases it.
// Its copies for the lister threads share the tree and the counts.
class SlowFolders final : public FileSystem {
public:
    struct Tree {
        std::map<std::string, std::vector<std::string>> subfolders;  // by path, "/" at the end
        unsigned delaySeed = 0;                                      // 0: no delay
        std::string hanging;
        std::mutex mutex;
        std::condition_variable changed;
        bool hangEntered = false;
        bool released = false;
        int started = 0;
        int inFlight = 0;
        int mostInFlight = 0;
        std::optional<std::uint64_t> storageWaits;  // as StorageWaits() tells them
    };

    SlowFolders(std::shared_ptr<Tree> tree, bool listers)
        : tree_(std::move(tree)), listers_(listers) {}

    static std::shared_ptr<Tree> RandomTree(int folders, unsigned seed) {
        auto tree = std::make_shared<Tree>();
        std::vector<std::string> paths{"/R/"};
        tree->subfolders["/R/"];
        std::mt19937 random(seed);
        for (int i = 1; i < folders; ++i) {
            const std::string& parent = paths[random() % paths.size()];
            tree->subfolders[parent].push_back(std::string("f") + std::to_string(i));
            paths.push_back(parent + std::string("f") + std::to_string(i) + "/");
            tree->subfolders[paths.back()];
        }
        return tree;
    }

    int listedHere = 0;  // by this copy

    char PathSeparator() const override { return '/'; }
    std::optional<NameKind> Attributes(const std::string&) override { return NameKind::Folder; }
    ListedFolder ListDroppedFolder(const std::string& path, FolderVisitor& visitor) override {
        return List(path + "/", visitor);
    }
    ListedFolder ListSubfolder(const std::shared_ptr<FolderHandle>& parent, std::string_view name,
                               FolderVisitor& visitor) override {
        return List(static_cast<const Dir&>(*parent).path + std::string(name) + "/", visitor);
    }
    std::unique_ptr<FileSystem> ForSecondThread() override {
        if (!listers_) return nullptr;
        return std::make_unique<SlowFolders>(tree_, true);
    }
    std::optional<std::uint64_t> StorageWaits() override { return tree_->storageWaits; }

private:
    struct Dir final : FolderHandle {
        explicit Dir(std::string path) : path(std::move(path)) {}
        std::string path;
    };

    ListedFolder List(const std::string& path, FolderVisitor& visitor) {
        ++listedHere;
        Tree& tree = *tree_;
        {
            std::unique_lock lock(tree.mutex);
            ++tree.started;
            tree.mostInFlight = std::max(tree.mostInFlight, ++tree.inFlight);
            if (path == tree.hanging) {
                tree.hangEntered = true;
                tree.changed.notify_all();
                tree.changed.wait(lock, [&] { return tree.released; });
            }
        }
        if (tree.delaySeed != 0) {
            // at least a millisecond: a shorter sleep is none at all on some systems
            std::this_thread::sleep_for(std::chrono::microseconds(
                1000 + std::hash<std::string>{}(path)*tree.delaySeed % 500));
        }
        for (const std::string& name : tree.subfolders.at(path)) {
            visitor.Entry(name, EntryKind::Folder);
        }
        std::lock_guard lock(tree.mutex);
        --tree.inFlight;
        tree.changed.notify_all();
        return {true, std::make_shared<Dir>(path)};
    }

    std::shared_ptr<Tree> tree_;
    bool listers_;
};

// Every listing the walk takes, as its name and its parent's number.
std::vector<std::pair<std::string, std::int32_t>> WalkAll(
    ReadAhead& walk, const ReadAhead::Waiting& waiting = nullptr) {
    std::vector<std::pair<std::string, std::int32_t>> taken;
    while (auto listing = walk.Next(waiting)) taken.emplace_back(listing->name, listing->parent);
    return taken;
}

TEST(ReadAhead, ManyListersKeepTheOrderAndLeaveTheWalkNoListingOfItsOwn) {
    const auto tree = SlowFolders::RandomTree(400, 1);
    DropProgress progress;
    SlowFolders alone(tree, false);
    ReadAhead serial("/R", alone, progress, StartThread);
    const auto order = WalkAll(serial);
    ASSERT_EQ(order.size(), 400u);
    EXPECT_EQ(alone.listedHere, 400);

    // Each seed gives every folder another listing time, so the listers meet in other places.
    for (unsigned seed = 1; seed <= 4; ++seed) {
        tree->delaySeed = seed;
        tree->mostInFlight = 0;
        SlowFolders files(tree, true);
        ReadAhead walk("/R", files, progress, StartThread);
        EXPECT_EQ(WalkAll(walk), order);
        EXPECT_EQ(files.listedHere, 0);
        EXPECT_GT(tree->mostInFlight, 4);
    }

    // As slow, but for the processors' sake: the storage kept nobody waiting, and more listers
    // would only take turns on them.
    tree->storageWaits = 0;
    tree->mostInFlight = 0;
    SlowFolders busy(tree, true);
    ReadAhead walk("/R", busy, progress, StartThread);
    EXPECT_EQ(WalkAll(walk), order);
    EXPECT_LE(tree->mostInFlight, 2);
}

TEST(ReadAhead, AStopEndsTheWalkWhileAListingHangsAndOpensNoFurtherFolder) {
    const auto tree = SlowFolders::RandomTree(3000, 2);
    // The folder the walk needs right after the dropped one.
    tree->hanging = "/R/" + tree->subfolders["/R/"].back() + "/";
    tree->delaySeed = 1;
    // Releases the listing in any case, so that a walk that waits for it ends the test.
    std::thread watchdog([tree] {
        std::unique_lock lock(tree->mutex);
        tree->changed.wait_for(lock, 1500ms, [&] { return tree->released; });
        tree->released = true;
        tree->changed.notify_all();
    });
    DropProgress progress;
    SlowFolders files(tree, true);
    int startedAtStop = 0;
    {
        // while it hangs, the others list ahead only so far
        ReadAhead walk("/R", files, progress, StartThread, {16, 200, std::size_t{1} << 20});
        // the walk says which folder it waits for: the progress shows it as the one being read
        std::vector<std::pair<std::int32_t, std::string>> waitedFor;
        bool told = false;
        std::thread stopper([&] {
            std::unique_lock lock(tree->mutex);
            tree->changed.wait(lock, [&] { return tree->hangEntered && told; });
            startedAtStop = tree->started;
            progress.Stop();
        });
        EXPECT_THROW(WalkAll(walk,
                             [&](std::int32_t parent, std::string_view name) {
                                 std::lock_guard lock(tree->mutex);
                                 waitedFor.emplace_back(parent, name);
                                 told = "/R/" + std::string(name) + "/" == tree->hanging;
                                 tree->changed.notify_all();
                             }),
                     DropStopped);
        stopper.join();
        ASSERT_FALSE(waitedFor.empty());
        EXPECT_EQ(waitedFor.back(), std::make_pair(0, tree->subfolders["/R/"].back()));
    }
    std::unique_lock lock(tree->mutex);
    EXPECT_FALSE(tree->released);  // neither the walk nor its end waited for the listing
    // Those listing at the stop end their listings, and start no other.
    tree->changed.wait_for(lock, 50ms, [] { return false; });
    EXPECT_LE(startedAtStop, 1 + 200 + 1);  // the dropped folder, those ahead, the one it needs
    EXPECT_LE(tree->started - startedAtStop, 16);
    tree->released = true;
    tree->changed.notify_all();
    tree->changed.wait(lock, [&] { return tree->inFlight == 0; });
    lock.unlock();
    watchdog.join();
}

TEST(ReadAhead, APausedWalkHoldsOnlySoManyListingsAhead) {
    // A listing of folders with one-letter names holds some 100 bytes.
    for (const ReadAheadLimits limits :
         {ReadAheadLimits{4, 20, 1 << 20}, ReadAheadLimits{4, 1000, 3000}}) {
        const auto tree = SlowFolders::RandomTree(600, 3);
        tree->delaySeed = 1;  // listings that wait, so that listers list ahead
        DropProgress progress;
        SlowFolders files(tree, true);
        ReadAhead walk("/R", files, progress, StartThread, limits);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(walk.Next());
        std::this_thread::sleep_for(100ms);
        {
            std::lock_guard lock(tree->mutex);
            // listed and taken by the walk, a batch of 32 taken at once, held, under way
            EXPECT_LE(tree->started, 3 + 32 + 20 + 4 + 1);
        }
        EXPECT_EQ(WalkAll(walk).size(), 597u);
    }
}

}  // namespace
}  // namespace quarnel
