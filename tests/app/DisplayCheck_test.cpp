#include "app/DisplayCheck.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/TempFolder.hpp"

namespace quarnel {
namespace {

using testing::TempFolder;

void SetDisplays(const char* qpa, const char* x11, const char* wayland) {
    const auto set = [](const char* name, const char* value) {
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    };
    set("QT_QPA_PLATFORM", qpa);
    set("DISPLAY", x11);
    set("WAYLAND_DISPLAY", wayland);
}

std::string Platform() {
    const char* value = std::getenv("QT_QPA_PLATFORM");
    return value != nullptr ? value : "";
}

// An X display name that no server on this machine holds.
std::string DeadDisplay() {
    for (int number = 97;; ++number) {
        if (!std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
            return ":" + std::to_string(number);
    }
}

void ExpectTheSentence(const std::optional<std::string>& problem) {
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("keine Anzeige erreichen"), std::string::npos);
    EXPECT_EQ(problem->find('\n'), std::string::npos);
    EXPECT_EQ(problem->back(), '.');
}

TEST(DisplayCheck, RespectsAnExplicitChoiceAndWayland) {
    SetDisplays("offscreen", nullptr, nullptr);
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "offscreen");

    SetDisplays(nullptr, nullptr, "wayland-0");
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "");
}

TEST(DisplayCheck, WithoutAReachableDisplayItSaysSoInOneSentence) {
    SetDisplays(nullptr, "", nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());

    const std::string dead = DeadDisplay();
    SetDisplays(nullptr, dead.c_str(), nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());
    EXPECT_EQ(Platform(), "");
    SetDisplays("xcb", dead.c_str(), nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());

    // Wayland serves when the X display does not answer
    SetDisplays(nullptr, dead.c_str(), "wayland-0");
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "");
}

TEST(DisplayCheck, TheProgramPrintsOnlyTheSentenceAndEndsWithStatusOne) {
    TempFolder temp;
    const auto errors = temp.Path() / "stderr.txt";
    const std::string command =
        "env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=" + DeadDisplay() +
        " '" QUARNEL_PROGRAM "' >/dev/null 2>'" + errors.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);

    SetDisplays(nullptr, "", nullptr);
    std::stringstream printed;
    printed << std::ifstream(errors).rdbuf();
    EXPECT_EQ(printed.str(), *ChooseDisplayPlatform() + "\n");
}

}  // namespace
}  // namespace quarnel
