#include "ui/windows/WindowObject.hpp"

#include <gtest/gtest.h>
#include <windows.h>

#include <new>

namespace quarnel {
namespace {

// A window whose handling of one message throws, as a task out of memory would.
class ThrowingWindow final : public WindowObject {
public:
    ThrowingWindow() {
        if (auto failure = Create(SystemStartupCalls(), L"QuarnelThrowingWindow", ClassIcon::None,
                                  WS_POPUP, 0, nullptr)) {
            throw *failure;
        }
    }
    ~ThrowingWindow() = default;
    int handled = 0;

private:
    std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
        if (message == WM_APP) throw std::bad_alloc();
        if (message == WM_APP + 1) return ++handled;
        return DefaultMessage(message, wParam, lParam);
    }
};

TEST(WindowObject, NothingAMessageThrowsUnwindsThroughTheSystem) {
    ThrowingWindow window;
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP, 0, 0), 0);
    EXPECT_EQ(SendMessageW(window.Handle(), WM_APP + 1, 0, 0), 1) << "the window goes on";
}

}  // namespace
}  // namespace quarnel
