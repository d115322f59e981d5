#include "app/DisplayCheck.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quarnel {
namespace {

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

TEST(DisplayCheck, PrefersX11AndRespectsAnExplicitChoice) {
    SetDisplays(nullptr, ":0", "wayland-0");
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "xcb");

    SetDisplays("offscreen", nullptr, nullptr);
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "offscreen");

    SetDisplays(nullptr, nullptr, "wayland-0");
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "");
}

TEST(DisplayCheck, WithoutAnyDisplayItSaysSoInOneSentence) {
    SetDisplays(nullptr, "", nullptr);
    const auto problem = ChooseDisplayPlatform();
    ASSERT_TRUE(problem.has_value());
    EXPECT_NE(problem->find("keine Anzeige"), std::string::npos);
    EXPECT_EQ(problem->find('\n'), std::string::npos);
    EXPECT_EQ(problem->back(), '.');
}

}  // namespace
}  // namespace quarnel
