#include "ui/VersionLine.hpp"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(VersionLine, MajorDotMinorWithoutBlankOrRevision) {
    EXPECT_EQ(VersionLine({2, 5, 1}), "Quarnel!: Buchhalter für Dateilisten (Version2.5)");
    EXPECT_EQ(VersionLine({10, 0, 7}), "Quarnel!: Buchhalter für Dateilisten (Version10.0)");
}

TEST(VersionLine, TheRunningBuildCarriesTheProjectVersion) {
    const ProgramVersion running = RunningVersion();
    EXPECT_EQ(running.major, QUARNEL_PROJECT_VERSION_MAJOR);
    EXPECT_EQ(running.minor, QUARNEL_PROJECT_VERSION_MINOR);
    EXPECT_EQ(running.revision, QUARNEL_PROJECT_VERSION_PATCH);
}

}  // namespace
}  // namespace quarnel
