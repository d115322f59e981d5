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

}  // namespace
}  // namespace quarnel
