#include "platform/posix/PosixFileSystem.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/TempFolder.hpp"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

TEST(PosixFileSystem, TellsFoldersFromFilesFollowingLinks) {
    testing::TempFolder temp;
    const fs::path folder = temp.path() / "Ordner";
    const fs::path file = temp.path() / "m\xE4rz.txt";  // not UTF-8: bytes pass through
    fs::create_directory(folder);
    std::ofstream(file) << "x";
    fs::create_directory_symlink(folder, temp.path() / "link-to-folder");
    fs::create_symlink(temp.path() / "nowhere", temp.path() / "dangling");

    PosixFileSystem files;
    EXPECT_EQ(files.pathSeparator(), '/');
    EXPECT_EQ(files.attributes(folder.string()), cDirectoryAttribute);
    EXPECT_EQ(files.attributes(file.string()), 0u);
    EXPECT_EQ(files.attributes((temp.path() / "link-to-folder").string()), cDirectoryAttribute);
    EXPECT_EQ(files.attributes((temp.path() / "dangling").string()), 0u);
    EXPECT_EQ(files.attributes((temp.path() / "gone").string()), std::nullopt);
    EXPECT_EQ(files.attributes("/"), cDirectoryAttribute);
}

}  // namespace
}  // namespace quarnel
