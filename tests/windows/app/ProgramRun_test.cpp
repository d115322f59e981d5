#include "app/windows/ProgramRun.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <ole2.h>

#include "tests/Fakes.hpp"

namespace quarnel {
namespace {

using testing::FakeMsgBox;

// The system's own calls, except the one named, which fails as on a system out of memory.
class FailingCalls final : public StartupCalls {
public:
    explicit FailingCalls(StartupCall failing) : failing_(failing) {}

    long OleInitialize() override {
        return failing_ == StartupCall::OleInitialize ? E_OUTOFMEMORY
                                                      : StartupCalls::OleInitialize();
    }
    long RegisterDragDrop(NativeWindow window, IDropTarget* target) override {
        return failing_ == StartupCall::RegisterDragDrop
                   ? E_OUTOFMEMORY
                   : StartupCalls::RegisterDragDrop(window, target);
    }
    unsigned short RegisterClassExW(const WNDCLASSEXW& windowClass) override {
        if (failing_ != StartupCall::RegisterClassExW) {
            return StartupCalls::RegisterClassExW(windowClass);
        }
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    NativeWindow CreateWindowExW(unsigned long exStyle, const wchar_t* className,
                                 const wchar_t* caption, unsigned long style, NativeWindow parent,
                                 int id, void* createParam) override {
        if (failing_ != StartupCall::CreateWindowExW) {
            return StartupCalls::CreateWindowExW(exStyle, className, caption, style, parent, id,
                                                 createParam);
        }
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }

private:
    StartupCall failing_;
};

TEST(ProgramRun, AFailedStartSaysWhatFailedAndEndsWithAnErrorStatus) {
    const std::pair<StartupCall, std::string> cases[] = {
        {StartupCall::OleInitialize, "(OleInitialize, Fehler 0x8007000E)"},
        {StartupCall::RegisterClassExW, "(RegisterClassExW, Fehler 8)"},
        {StartupCall::CreateWindowExW, "(CreateWindowExW, Fehler 8)"},
        {StartupCall::RegisterDragDrop, "(RegisterDragDrop, Fehler 0x8007000E)"},
    };
    for (const auto& [call, named] : cases) {
        FailingCalls calls(call);
        FakeMsgBox msgBox;

        EXPECT_NE(RunProgram(calls, msgBox, {}), 0) << named;

        ASSERT_EQ(msgBox.shown.size(), 1u) << named;
        EXPECT_EQ(msgBox.shown[0].title, "Quarnel! 2.5");
        EXPECT_EQ(msgBox.shown[0].buttonsAndIcon, MB_ICONERROR);
        EXPECT_EQ(msgBox.shown[0].prompt.rfind("Quarnel! kann nicht starten: ", 0), 0u) << named;
        EXPECT_NE(msgBox.shown[0].prompt.find(named), std::string::npos) << msgBox.shown[0].prompt;
        EXPECT_EQ(FindWindowW(L"QuarnelMainForm", nullptr), nullptr) << "no window stays behind";
    }
}

TEST(ProgramRun, AStartThatWorksRunsUntilTheEndWithoutAMessage) {
    FakeMsgBox msgBox;
    PostQuitMessage(7);

    EXPECT_EQ(RunProgram(SystemStartupCalls(), msgBox, {}), 7);

    EXPECT_TRUE(msgBox.shown.empty());
}

}  // namespace
}  // namespace quarnel
