#include "ui/VersionLine.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(VersionLine, MajorDotMinorWithoutBlankOrRevision) {
    EXPECT_EQ(VersionLine({2, 5, 1}), "Quarnel!: Buchhalter für Dateilisten (Version2.5)");
    EXPECT_EQ(VersionLine({10, 0, 7}), "Quarnel!: Buchhalter für Dateilisten (Version10.0)");
}

// This is release 2.05.0001; on Windows the numbers come from the exe's own version record.
TEST(VersionLine, TheRunningBuildIsVersion2Point5Revision1) {
    const ProgramVersion running = RunningVersion();
    EXPECT_EQ(running.major, 2);
    EXPECT_EQ(running.minor, 5);
    EXPECT_EQ(running.revision, 1);
}

}  // namespace
}  // namespace quarnel
