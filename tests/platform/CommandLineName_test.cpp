#include "platform/posix/CommandLineName.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(CommandLineName, MakesFullNamesAsADropDeliversThem) {
    EXPECT_EQ(FullNameFrom("a.txt", "/home/jörg"), "/home/jörg/a.txt");
    EXPECT_EQ(FullNameFrom("./Ordner//x/", "/home"), "/home/Ordner/x");
    EXPECT_EQ(FullNameFrom("Verweis/..", "/home"), "/home");  // one name back, as cd does
    EXPECT_EQ(FullNameFrom("../../../..", "/home/a"), "/");
    EXPECT_EQ(FullNameFrom(".", "/"), "/");
    EXPECT_EQ(FullNameFrom("/", "/home"), "/");
    EXPECT_EQ(FullNameFrom("/tmp/m\xE4rz/", "/home"), "/tmp/m\xE4rz");  // bytes pass unchanged
    EXPECT_EQ(FullNameFrom("-x", "/home"), "/home/-x");
}

TEST(CommandLineName, UrisAsFileManagersPassThemAreTakenAsADropTakesThem) {
    // that no such file exists keeps the relative names as typed
    const std::string nowhere = "/nonexistent-folder-of-quarnels-test";
    EXPECT_EQ(DroppedNameOfArgument("file:///tmp/Brief%20an%20%C3%84nna.txt", nowhere),
              "/tmp/Brief an \xC3\x84nna.txt");
    EXPECT_EQ(DroppedNameOfArgument("file://localhost/tmp/Ordner/", nowhere), "/tmp/Ordner");
    EXPECT_EQ(DroppedNameOfArgument("sftp://anna@fs01/srv/Akte%20Eins/", nowhere),
              "sftp://anna@fs01/srv/Akte%20Eins/");
    // a file: URI of another machine is a network location, not a file of this one
    EXPECT_EQ(DroppedNameOfArgument("file://fs01/srv/x", nowhere), "file://fs01/srv/x");
    EXPECT_EQ(DroppedNameOfArgument("Notiz:2026.txt", nowhere), nowhere + "/Notiz:2026.txt");
    EXPECT_EQ(DroppedNameOfArgument("file:a.txt", nowhere), nowhere + "/file:a.txt");
}

}  // namespace
}  // namespace quarnel
