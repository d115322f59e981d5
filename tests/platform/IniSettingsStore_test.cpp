#include "platform/posix/IniSettingsStore.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/posix/FileReplacement.hpp"
#include "tests/TempFolder.hpp"

namespace quarnel {
namespace {

namespace fs = std::filesystem;

const fs::path cRelativeFile = fs::path("Kelvaro's Tools") / "Quarnel! 2.5.ini";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

TEST(IniSettingsStore, WritesTheFileAHumanCanEditAndReadsItBack) {
    testing::TempFolder home;
    IniSettingsStore store(home.Path());
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), std::nullopt);
    const SettingsPlace place = store.Place("Kelvaro's Tools", "Quarnel! 2.5");
    EXPECT_EQ(place.name, (home.Path() / cRelativeFile).string());
    EXPECT_TRUE(place.readable);  // a file not there yet holds nothing that could be lost

    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "10100011000110"));
    EXPECT_EQ(ReadFile(home.Path() / cRelativeFile), "[General]\nOptions=10100011000110\n");
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), "10100011000110");
}

TEST(IniSettingsStore, HandEditsReadAsTypedAndOtherLinesSurviveAWrite) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    WriteFile(file, "# mine\n[General]\nOptions = 01,1 \nTheme=dark\n");
    IniSettingsStore store(home.Path());
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), "01,1");

    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "01010101000110"));
    EXPECT_EQ(ReadFile(file), "# mine\n[General]\nOptions=01010101000110\nTheme=dark\n");
}

TEST(IniSettingsStore, WhatIsNoRegularFileCountsAsMissingAndIsNeverReplaced) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    fs::create_directories(file);  // a folder where the file belongs
    IniSettingsStore store(home.Path());
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), std::nullopt);
    EXPECT_FALSE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    EXPECT_TRUE(fs::is_directory(file));

    // a named pipe nobody writes to would block a reader for ever
    fs::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), std::nullopt);
    EXPECT_FALSE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_FALSE(store.Place("Kelvaro's Tools", "Quarnel! 2.5").readable);
}

TEST(IniSettingsStore, AWriteKeepsEveryOtherLineAndTheFilesLineEnds) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    std::string text = "[Andere]\r\n";
    for (int i = 0; i < 100000; ++i) text += "Zeile" + std::to_string(i) + "=\xFF\xFE\r\n";
    WriteFile(file, text + "[General]\r\nTheme=dark\r\n");
    IniSettingsStore store(home.Path());
    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "01"));
    EXPECT_EQ(ReadFile(file), text + "[General]\r\nOptions=01\r\nTheme=dark\r\n");
    EXPECT_EQ(store.Read("Kelvaro's Tools", "Quarnel! 2.5", "Options"), "01");
}

TEST(IniSettingsStore, AFailedWriteSaysSoAndLeavesTheOldFile) {
    testing::TempFolder home;
    WriteFile(home.Path() / "Kelvaro's Tools", "a file where the folder belongs");
    IniSettingsStore store(home.Path());
    EXPECT_FALSE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    EXPECT_EQ(ReadFile(home.Path() / "Kelvaro's Tools"), "a file where the folder belongs");
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    return names;
}

// As a full disk would: a write that makes a file larger than the limit fails with EFBIG.
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit lower = saved_;
        lower.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lower);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~ScopedFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
};

TEST(IniSettingsStore, AWriteThatFailsHalfwayLeavesTheOldFileAndNothingElse) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    std::string text = "[General]\nOptions=0\n";
    for (int i = 0; i < 20000; ++i) text += "Zeile" + std::to_string(i) + "=x\n";
    WriteFile(file, text);
    IniSettingsStore store(home.Path());
    {
        const ScopedFileSizeLimit limit(100 * 1024);
        EXPECT_FALSE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    }
    EXPECT_EQ(ReadFile(file), text);
    EXPECT_EQ(NamesIn(file.parent_path()), std::vector<std::string>{file.filename()});
}

TEST(IniSettingsStore, ANewFileFollowsTheUmaskAndAReplacedFileKeepsItsMode) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    const auto modeOf = [](const fs::path& path) {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return status.st_mode & 07777;
    };
    IniSettingsStore store(home.Path());
    const mode_t savedMask = ::umask(027);
    const bool created = store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1");
    ::umask(savedMask);
    ASSERT_TRUE(created);
    EXPECT_EQ(modeOf(file.parent_path()), 0750u);
    EXPECT_EQ(modeOf(file), 0640u);

    ASSERT_EQ(::chmod(file.c_str(), 0604), 0);
    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "0"));
    EXPECT_EQ(modeOf(file), 0604u);
}

TEST(IniSettingsStore, ALinkInPlaceOfTheFileStaysAndTheFileItNamesIsReplaced) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    const fs::path kept = home.Path() / "dotfiles" / "quarnel.ini";
    WriteFile(kept, "[General]\nTheme=dark\n");
    fs::create_directories(file.parent_path());
    fs::create_symlink(fs::path("..") / "dotfiles" / "quarnel.ini", file);
    IniSettingsStore store(home.Path());
    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(ReadFile(kept), "[General]\nOptions=1\nTheme=dark\n");
}

void SetAge(const fs::path& path, time_t seconds) {
    const timespec then{::time(nullptr) - seconds, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(IniSettingsStore, ASaveRemovesOnlyItsOwnNewFilesLeftForAMinute) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    WriteFile(file, "[General]\nOptions=0\n");
    const fs::path folder = file.parent_path();
    const std::vector<std::string> kept = {"Quarnel! 2.5.ini.Fr1sch",  // another save's, maybe
                                           "Quarnel! 2.5.ini.bak", "Quarnel! 2.5.ini.Sieben7",
                                           "Andere.ini.Alt123"};
    for (const auto& name : kept) WriteFile(folder / name, "x");
    WriteFile(folder / "Quarnel! 2.5.ini.Alt123", "x");
    for (const auto& name : {"Quarnel! 2.5.ini.Alt123", "Quarnel! 2.5.ini.bak",
                             "Quarnel! 2.5.ini.Sieben7", "Andere.ini.Alt123"}) {
        SetAge(folder / name, 61);
    }
    IniSettingsStore store(home.Path());
    ASSERT_TRUE(store.Write("Kelvaro's Tools", "Quarnel! 2.5", "Options", "1"));
    auto names = NamesIn(folder);
    std::sort(names.begin(), names.end());
    auto expected = kept;
    expected.push_back(file.filename());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

// Whether the file system of folder can make files without a name.
bool HasUnnamedFiles(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

TEST(IniSettingsStore, ASaveKilledWhileWritingLeavesNothingBehind) {
    testing::TempFolder home;
    const fs::path file = home.Path() / cRelativeFile;
    WriteFile(file, "[General]\nOptions=0\n");
    if (!HasUnnamedFiles(file.parent_path())) GTEST_SKIP() << "no O_TMPFILE here";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t saver = ::fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
        FileReplacement replacement(file);
        replacement.Write(std::string(1024 * 1024, 'x'));  // past the buffer, so on the disk
        const char byte = replacement.Opened() ? 1 : 0;
        (void)!::write(ready[1], &byte, 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(byte, 1);
    EXPECT_EQ(NamesIn(file.parent_path()), std::vector<std::string>{file.filename()});
    EXPECT_EQ(ReadFile(file), "[General]\nOptions=0\n");
}

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedVariable {
public:
    explicit ScopedVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value;
    }
    ~ScopedVariable() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(IniSettingsStore, DefaultHomeFollowsXdgConfigHome) {
    const ScopedVariable home("HOME");
    const ScopedVariable configHome("XDG_CONFIG_HOME");
    ::setenv("XDG_CONFIG_HOME", "/tmp/quarnel-xdg-check", 1);
    EXPECT_EQ(IniSettingsStore::DefaultConfigHome(), fs::path("/tmp/quarnel-xdg-check"));
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/tmp/quarnel-home-check", 1);
    EXPECT_EQ(IniSettingsStore::DefaultConfigHome(), fs::path("/tmp/quarnel-home-check/.config"));

    // a relative one would move the settings with the current folder
    ::setenv("XDG_CONFIG_HOME", "quarnel-relative", 1);
    EXPECT_EQ(IniSettingsStore::DefaultConfigHome(), fs::path("/tmp/quarnel-home-check/.config"));

    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    const fs::path fromUserDatabase = fs::path(user->pw_dir) / ".config";
    ::setenv("HOME", "", 1);
    EXPECT_EQ(IniSettingsStore::DefaultConfigHome(), fromUserDatabase);
    ::unsetenv("HOME");
    EXPECT_EQ(IniSettingsStore::DefaultConfigHome(), fromUserDatabase);
}

}  // namespace
}  // namespace quarnel
