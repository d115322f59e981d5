#include "platform/posix/support/UriList.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

using Names = std::vector<std::string>;

TEST(UriList, DecodesLocalFileUrisByteForByte) {
    const DropData data = DropDataFromUriList(
        "file:///home/u/b.txt\r\n"
        "file:///home/u/%C3%84pfel%20und%20Birnen.txt\r\n"
        "file://localhost/tmp/x%25y\r\n"
        "FILE://LocalHost/tmp/caps\r\n"
        "file:/tmp/short-form\r\n"
        "file:///tmp/m%E4rz\r\n");
    EXPECT_TRUE(data.holdsFileList);
    EXPECT_EQ(data.names, (Names{"/home/u/b.txt", "/home/u/\xC3\x84pfel und Birnen.txt", "/tmp/x%y",
                                 "/tmp/caps", "/tmp/short-form", "/tmp/m\xE4rz"}));
}

TEST(UriList, SkipsCommentsBlankLinesAndAcceptsBareLineFeeds) {
    const DropData data =
        DropDataFromUriList("# dragged from a file manager\n\nfile:///a\nfile:///b");
    EXPECT_EQ(data.names, (Names{"/a", "/b"}));
}

TEST(UriList, FolderUrisLoseTheirTrailingSlashExceptTheRoot) {
    const DropData data = DropDataFromUriList("file:///home/u/Ordner/\r\nfile:///\r\n");
    EXPECT_EQ(data.names, (Names{"/home/u/Ordner", "/"}));
}

TEST(UriList, KeepsQuestionMarksAndUndecodableEscapesAsTheyStand) {
    const DropData data = DropDataFromUriList(
        "file:///tmp/wer%3F\r\nfile:///tmp/wie?so#da\r\nfile:///tmp/100%\r\nfile:///tmp/%zz\r\n");
    EXPECT_EQ(data.names, (Names{"/tmp/wer?", "/tmp/wie?so#da", "/tmp/100%", "/tmp/%zz"}));
}

TEST(UriList, NetworkLocationsStayTheirUrisForTheDropToAskAfter) {
    const DropData data = DropDataFromUriList(
        "sftp://anna@fs01/srv/Akte%20%C3%9C/\r\nfile:///tmp/a\r\nsmb://fs01/projekte\r\n");
    EXPECT_TRUE(data.holdsFileList);
    EXPECT_EQ(data.names,
              (Names{"sftp://anna@fs01/srv/Akte%20%C3%9C/", "/tmp/a", "smb://fs01/projekte"}));
}

TEST(UriList, AnythingButLocalFilesAndNetworkLocationsIsNoFileList) {
    for (const char* list :
         {"", "\r\n", "# only a comment\r\n", "https://example.org/\r\n", "HTTP://example.org/\r\n",
          "sftp://fs01/x\r\nhttps://example.org/x\r\n", "mailto:anna@example.org\r\n",
          "about:blank\r\n", "file:///ok\r\nhttps://example.org/x\r\n",
          "file://server/share/file.txt\r\n", "file://localhostx/a\r\n", "file:relative/path\r\n",
          "/plain/path\r\n", "file://\r\n"}) {
        const DropData data = DropDataFromUriList(list);
        EXPECT_FALSE(data.holdsFileList) << list;
        EXPECT_TRUE(data.names.empty()) << list;
    }
}

TEST(UriList, ThousandsOfNamesArriveComplete) {
    std::string list;
    for (int i = 0; i < 20000; ++i) list += "file:///tmp/many/" + std::to_string(i) + "\r\n";
    const DropData data = DropDataFromUriList(list);
    ASSERT_EQ(data.names.size(), 20000u);
    EXPECT_EQ(data.names.back(), "/tmp/many/19999");
}

}  // namespace
}  // namespace quarnel
