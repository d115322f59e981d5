#include "core/FolderWalk.hpp"

#include <gtest/gtest.h>

#include <system_error>

#include "core/DropHandler.hpp"
#include "core/OptionStorage.hpp"
#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using namespace testing;

// The paths found, taken as the expansion step takes them.
std::vector<std::string> Elements(FoundPaths& found) {
    std::vector<std::string> elements;
    found.TakeEachFound([&](std::string_view path) { elements.emplace_back(path); });
    return elements;
}

// A:  a.txt, B (b.txt, C (c.txt)), .hidden (h.txt), .dot.txt, D, link -> elsewhere
void BuildTree(FakeFileSystem& files) {
    files.AddFolder("C:\\A");
    files.AddFile("C:\\A\\a.txt");
    files.AddFolder("C:\\A\\B");
    files.AddFile("C:\\A\\B\\b.txt");
    files.AddFolder("C:\\A\\B\\C");
    files.AddFile("C:\\A\\B\\C\\c.txt");
    files.AddFolder("C:\\A\\.hidden");
    files.AddFile("C:\\A\\.hidden\\h.txt");
    files.AddFile("C:\\A\\.dot.txt");
    files.AddFolder("C:\\A\\D");
    files.AddFolderLink("C:\\A\\link");
    files.AddFile("C:\\A\\link\\never.txt");
}

class WalkTest : public ::testing::Test {
protected:
    void Walk(const std::string& path, std::int16_t fresh = -1) {
        ExpandDirectory(path, fresh, {files, progress}, unreadable);
    }

    FakeFileSystem files;
    DropProgress progress;
    std::vector<std::string> unreadable;
};

TEST_F(WalkTest, ListsAFolderCompletelyThenWalksItsSubfoldersLastFoundFirst) {
    BuildTree(files);
    Walk("C:\\A");
    EXPECT_EQ(Elements(FoundFiles),
              (std::vector<std::string>{"C:\\A\\a.txt", "C:\\A\\B\\b.txt", "C:\\A\\B\\C\\c.txt"}));
    EXPECT_EQ(Elements(FoundDirs),
              (std::vector<std::string>{"C:\\A\\B", "C:\\A\\D", "C:\\A\\link", "C:\\A\\B\\C"}));
    // Dot names are neither listed nor walked; the link is listed but never opened.
    EXPECT_EQ(files.listed, (std::vector<std::string>{"dropped C:\\A\\", "C:\\A\\D\\", "C:\\A\\B\\",
                                                      "C:\\A\\B\\C\\"}));
    EXPECT_EQ(progress.NamesFound(), 7u);
    EXPECT_EQ(progress.Folder(), "C:\\A");  // asked for once, before the walk began
    EXPECT_TRUE(unreadable.empty());
}

TEST_F(WalkTest, FreshWalksStartEmptyAndATrailingSeparatorIsNotDoubled) {
    files.AddFolder("C:\\");
    files.AddFile("C:\\root.txt");
    files.AddFolder("E:\\only-dots");
    Walk("C:\\");
    Walk("C:\\", 0);  // not fresh: the results grow
    EXPECT_EQ(Elements(FoundFiles), (std::vector<std::string>{"C:\\root.txt", "C:\\root.txt"}));
    EXPECT_TRUE(Elements(FoundFiles).empty());  // taken once
    Walk("C:\\");
    Walk("E:\\only-dots");  // a listing of "." and ".." alone
    EXPECT_TRUE(Elements(FoundFiles).empty());
    EXPECT_TRUE(Elements(FoundDirs).empty());
}

TEST_F(WalkTest, TakingManyMegabytesOfNamesKeepsEachUnderItsFolder) {
    FoundFolders.Clear();
    FoundFiles.Reset();
    const std::uint32_t top = FoundFolders.Add(FoundFolderTree::cNoParent, "C:\\top\\");
    const std::uint32_t sub = FoundFolders.Add(top, "sub\\");
    const std::string padding(40, 'n');
    for (int i = 0; i < 200'000; ++i) {
        FoundFiles.Add(i % 3 == 0 ? sub : top, padding + std::to_string(i));
    }
    const auto found = Elements(FoundFiles);
    ASSERT_EQ(found.size(), 200'000u);
    EXPECT_EQ(found[0], "C:\\top\\sub\\" + padding + "0");
    EXPECT_EQ(found[1], "C:\\top\\" + padding + "1");
    EXPECT_EQ(found[199'998], "C:\\top\\sub\\" + padding + "199998");
    EXPECT_EQ(found[199'999], "C:\\top\\" + padding + "199999");
}

TEST_F(WalkTest, ListerThreadsKeepTheOrderExactly) {
    // One bushy subtree, far larger than the rest and walked last, which the threads share out
    // folder by folder,
    std::vector<std::string> level{"C:\\R\\a-busch"};
    for (int depth = 0; depth < 4; ++depth) {
        std::vector<std::string> below;
        for (const std::string& folder : level) {
            files.AddFolder(folder);
            files.AddFile(folder + "\\f.txt");
            for (int i = 0; i < 4; ++i) below.push_back(folder + "\\" + std::to_string(i));
        }
        level = below;
    }
    // and many subtrees of different depths, so both threads take some.
    for (int top = 0; top < 30; ++top) {
        std::string folder = "C:\\R\\t" + std::to_string(top);
        files.AddFolder(folder);
        for (int depth = 0; depth < top % 5; ++depth) {
            files.AddFile(folder + "\\f" + std::to_string(depth));
            folder += "\\s" + std::to_string(depth);
            files.AddFolder(folder);
            files.AddFolder(folder + "x");
        }
    }
    files.AddFolder("C:\\R");
    Walk("C:\\R");
    const auto serialFiles = Elements(FoundFiles);
    const auto serialDirs = Elements(FoundDirs);
    const auto serialListed = files.listed;
    ASSERT_GT(serialFiles.size(), 50u);

    // Each run gives every folder another listing time, so the threads meet in other places.
    for (int run = 1; run <= 6; ++run) {
        files.allowSecondThread = true;
        files.listingDelaySeed = run;
        files.listed.clear();
        Walk("C:\\R");
        EXPECT_EQ(Elements(FoundFiles), serialFiles);
        EXPECT_EQ(Elements(FoundDirs), serialDirs);
        EXPECT_TRUE(files.listed.empty());  // all on the lister threads
    }

    // no second thread to be had: the same results, all listed on the calling thread
    files.listed.clear();
    bool asked = false;
    ExpandDirectory("C:\\R", -1,
                    {files, progress,
                     [&](std::function<void()>) -> std::thread {
                         asked = true;
                         throw std::system_error(EAGAIN, std::generic_category());
                     }},
                    unreadable);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Elements(FoundFiles), serialFiles);
    EXPECT_EQ(files.listed, serialListed);
}

TEST_F(WalkTest, UnreadableFoldersAreSkippedAndNamedPrintably) {
    BuildTree(files);
    files.MakeUnlistable("C:\\A\\B\\");
    files.AddFolder("C:\\A\\D\\bad\xFF");
    files.MakeUnlistable("C:\\A\\D\\bad\xFF\\");
    files.AddUnreadableEntry("C:\\A\\D\\unbekannt");
    Walk("C:\\A");
    EXPECT_EQ(unreadable,
              (std::vector<std::string>{"C:\\A\\D\\unbekannt", "C:\\A\\D\\bad?", "C:\\A\\B"}));
    EXPECT_EQ(Elements(FoundDirs),
              (std::vector<std::string>{"C:\\A\\B", "C:\\A\\D", "C:\\A\\link", "C:\\A\\D\\bad?"}));
    EXPECT_EQ(Elements(FoundFiles), (std::vector<std::string>{"C:\\A\\a.txt"}));

    // the dropped folder itself, and a dropped drive root, which keeps its separator
    unreadable.clear();
    files.MakeUnlistable("C:\\A\\");
    Walk("C:\\A");
    files.AddFolder("E:\\");
    files.MakeUnlistable("E:\\");
    Walk("E:\\");
    EXPECT_EQ(unreadable, (std::vector<std::string>{"C:\\A", "E:\\"}));
    EXPECT_TRUE(Elements(FoundFiles).empty());
    EXPECT_TRUE(Elements(FoundDirs).empty());
}

TEST_F(WalkTest, NamesThatAreNotTextShowEachBadByteAsAQuestionMark) {
    FakeFileSystem slash('/');
    slash.AddFolder("/m");
    slash.AddFile("/m/line\nbreak");
    slash.AddFolder("/m/caf\xE9");
    slash.AddFile("/m/caf\xE9/tab\there");
    ExpandDirectory("/m", -1, {slash, progress}, unreadable);
    EXPECT_EQ(Elements(FoundFiles),
              (std::vector<std::string>{"/m/line?break", "/m/caf?/tab?here"}));
    EXPECT_EQ(Elements(FoundDirs), (std::vector<std::string>{"/m/caf?"}));
    EXPECT_EQ(slash.listed, (std::vector<std::string>{"dropped /m/", "/m/caf\xE9/"}));
}

class ExpansionTest : public ::testing::Test, protected FakeDrop {
protected:
    void SetUp() override { BuildTree(files); }
    void Drop(std::vector<std::string> names, std::string_view options) {
        OptionFlags = OptionFlagsFromString(options);
        handler.HandleDrop({true, std::move(names)}, progress);
    }
};

TEST_F(ExpansionTest, FilesThenFoldersFollowTheDroppedFoldersOwnName) {
    files.AddFolder("C:\\X");
    files.AddFolder("C:\\X\\B");
    files.AddFile("C:\\X\\a.txt");
    files.AddFile("C:\\X\\B\\b.txt");
    Drop({"C:\\X"}, "10100011000110");
    EXPECT_EQ(clipboard.text, "C:\\X\r\nC:\\X\\a.txt\r\nC:\\X\\B\\b.txt\r\nC:\\X\\B\r\n");

    // Two folders together: each walk starts fresh, nothing repeats.
    Drop({"C:\\X\\B", "C:\\X"}, "10100011000110");
    EXPECT_EQ(clipboard.text,
              "C:\\X\\B\r\nC:\\X\\B\\b.txt\r\n"
              "C:\\X\r\nC:\\X\\a.txt\r\nC:\\X\\B\\b.txt\r\nC:\\X\\B\r\n");
}

TEST_F(ExpansionTest, TheFileAndFolderOptionsFilterTheExpandedEntries) {
    Drop({"C:\\A"}, "10100100000110");  // file names only
    EXPECT_EQ(clipboard.text, "C:\\A\\a.txt\r\nC:\\A\\B\\b.txt\r\nC:\\A\\B\\C\\c.txt\r\n");
    Drop({"C:\\A"}, "10101000000110");  // folder names only
    EXPECT_EQ(clipboard.text, "C:\\A\r\nC:\\A\\B\r\nC:\\A\\D\r\nC:\\A\\link\r\nC:\\A\\B\\C\r\n");
    Drop({"C:\\A"}, "01010101000110");  // the defaults: sorted names of files
    EXPECT_EQ(clipboard.text, "a.txt\r\nb.txt\r\nc.txt\r\n");
    Drop({"C:\\A"}, "10100011000100");  // expansion off
    EXPECT_EQ(clipboard.text, "C:\\A\r\n");
    EXPECT_EQ(files.listed.size(), 12u);
}

TEST_F(ExpansionTest, AnOptionChangedDuringTheWalkAppliesToTheEntriesAddedAfterIt) {
    files.whileAsked = [](const std::string& path) {
        if (path == "C:\\A\\B\\") OptionFlags = OptionFlagsFromString("01110001100110");
    };
    Drop({"C:\\A\\a.txt", "C:\\A\\B"}, "10100011000110");
    // The list chosen at the start stays; path and case follow the new flags.
    EXPECT_EQ(ActiveList, 0);
    EXPECT_EQ(clipboard.text, "C:\\A\\a.txt\r\nC:\\A\\B\r\nB.TXT\r\nC.TXT\r\nC\r\n");
}

TEST_F(ExpansionTest, UnreadableFoldersGetOneMessageAfterTheClipboardAndTheBeep) {
    files.MakeUnlistable("C:\\A\\B\\");
    struct OrderCheckingMsgBox final : MsgBox {
        const FakeClipboard* clipboard = nullptr;
        const FakeBeep* beep = nullptr;
        std::vector<std::string> prompts;
        void Show(std::string_view prompt, int icon, std::string_view title) override {
            EXPECT_TRUE(clipboard->text.has_value());
            EXPECT_EQ(beep->count, static_cast<int>(prompts.size()) + 1);
            EXPECT_EQ(icon, 64);
            EXPECT_EQ(title, "Quarnel! 2.5");
            prompts.emplace_back(prompt);
        }
    } messages;
    messages.clipboard = &clipboard;
    messages.beep = &beep;
    DropHandler reporting{{files, clipboard, messages, beep, rules, image1}};
    OptionFlags = OptionFlagsFromString("10100011000110");
    reporting.HandleDrop({true, {"C:\\A"}}, progress);
    EXPECT_EQ(clipboard.text, "C:\\A\r\nC:\\A\\a.txt\r\nC:\\A\\B\r\nC:\\A\\D\r\nC:\\A\\link\r\n");
    ASSERT_EQ(messages.prompts.size(), 1u);
    EXPECT_EQ(messages.prompts[0],
              "Das Verzeichnis 'C:\\A\\B'\rkonnte nicht gelesen werden. Sein Inhalt fehlt in der "
              "Liste.");

    for (int i = 0; i < 7; ++i) {
        const std::string folder = "C:\\A\\D\\n" + std::to_string(i);
        files.AddFolder(folder);
        files.MakeUnlistable(folder + "\\");
    }
    reporting.HandleDrop({true, {"C:\\A"}}, progress);
    ASSERT_EQ(messages.prompts.size(), 2u);
    EXPECT_EQ(messages.prompts[1],
              "8 Verzeichnisse konnten nicht gelesen werden. Ihr Inhalt fehlt in der Liste:\r"
              "'C:\\A\\D\\n6'\r'C:\\A\\D\\n5'\r'C:\\A\\D\\n4'\r'C:\\A\\D\\n3'\r'C:\\A\\D\\n2'\r"
              "... und 3 weitere.");
}

}  // namespace
}  // namespace quarnel
