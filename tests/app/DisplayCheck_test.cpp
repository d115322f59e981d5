#include "app/DisplayCheck.hpp"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

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

// A Wayland display in a runtime folder of its own: a socket that accepts connections, as a
// running compositor's does. XDG_RUNTIME_DIR points at the folder while this lives.
class LiveWaylandDisplay {
public:
    static constexpr const char* cName = "wayland-quarnel-test";

    LiveWaylandDisplay() : socket_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        ::setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = (runtime_.Path() / cName).string();
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        ::listen(socket_, 4);
    }
    ~LiveWaylandDisplay() { ::close(socket_); }

private:
    TempFolder runtime_;
    int socket_;
};

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

    const LiveWaylandDisplay wayland;
    SetDisplays(nullptr, nullptr, LiveWaylandDisplay::cName);
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "wayland");
    // the first platform of Qt's list that answers serves
    SetDisplays("xcb;wayland", DeadDisplay().c_str(), LiveWaylandDisplay::cName);
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
}

TEST(DisplayCheck, WithoutAReachableDisplayItSaysSoInOneSentence) {
    TempFolder runtime;  // no compositor's socket in it
    ::setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
    SetDisplays(nullptr, "", nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());

    const std::string dead = DeadDisplay();
    SetDisplays(nullptr, dead.c_str(), nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());
    EXPECT_EQ(Platform(), "");
    SetDisplays("xcb", dead.c_str(), nullptr);
    ExpectTheSentence(ChooseDisplayPlatform());

    // a WAYLAND_DISPLAY left over from another session (tmux, ssh), chosen or not
    SetDisplays(nullptr, nullptr, "wayland-0");
    ExpectTheSentence(ChooseDisplayPlatform());
    SetDisplays("wayland", nullptr, "wayland-0");
    ExpectTheSentence(ChooseDisplayPlatform());
    SetDisplays("wayland;xcb", dead.c_str(), "wayland-0");
    ExpectTheSentence(ChooseDisplayPlatform());

    // Wayland serves when the X display does not answer
    const LiveWaylandDisplay wayland;
    SetDisplays(nullptr, dead.c_str(), LiveWaylandDisplay::cName);
    EXPECT_EQ(ChooseDisplayPlatform(), std::nullopt);
    EXPECT_EQ(Platform(), "wayland");
}

TEST(DisplayCheck, TheProgramPrintsOnlyTheSentenceAndEndsWithStatusOne) {
    TempFolder temp;
    const auto errors = temp.Path() / "stderr.txt";
    ::setenv("XDG_RUNTIME_DIR", temp.Path().c_str(), 1);
    SetDisplays(nullptr, "", nullptr);
    const std::string sentence = *ChooseDisplayPlatform() + "\n";
    // an X display, a Wayland display (empty runtime folder) and Wayland chosen, none answering
    for (const std::string& displays : std::vector<std::string>{
             "-u WAYLAND_DISPLAY DISPLAY=" + DeadDisplay(), "-u DISPLAY WAYLAND_DISPLAY=wayland-0",
             "-u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=wayland"}) {
        SCOPED_TRACE(displays);
        const std::string command = "env -u QT_QPA_PLATFORM " + displays +
                                    " '" QUARNEL_PROGRAM "' >/dev/null 2>'" + errors.string() + "'";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);

        std::stringstream printed;
        printed << std::ifstream(errors).rdbuf();
        EXPECT_EQ(printed.str(), sentence);
    }
}

}  // namespace
}  // namespace quarnel
